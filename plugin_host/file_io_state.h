// Program-wide state of document opens and saves.
#pragma once

#include <QString>

namespace plugin_host {

// Set while an open should not ask before reducing colours (a format
// plug-in sent WM_PLUGIN_MODIFIED_NOASK during its read); every document
// open clears it first. The opened document is then marked modified.
bool NoReduceQuestion();
void SetNoReduceQuestion(bool on);

// Set by a save whose options dialog stopped it; cleared by every DoSave.
bool SaveStopped();
void SetSaveStopped(bool on);

// The path text of the document being saved, kept by DoSave.
const QString& SavedPathText();
void SetSavedPathText(const QString& text);

}  // namespace plugin_host
