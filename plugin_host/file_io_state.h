// Program-wide state of document opens and saves.
#pragma once

#include <QString>

namespace plugin_host {

// Set by a save whose options dialog stopped it; cleared by every DoSave.
bool SaveStopped();
void SetSaveStopped(bool on);

// The path text of the document being saved, kept by DoSave.
const QString& SavedPathText();
void SetSavedPathText(const QString& text);

}  // namespace plugin_host
