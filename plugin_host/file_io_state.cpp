#include "plugin_host/file_io_state.h"

namespace plugin_host {
namespace {
bool g_saveStopped = false;
QString g_savedPathText;
}  // namespace

bool SaveStopped() { return g_saveStopped; }
void SetSaveStopped(bool on) { g_saveStopped = on; }
const QString& SavedPathText() { return g_savedPathText; }
void SetSavedPathText(const QString& text) { g_savedPathText = text; }

}  // namespace plugin_host
