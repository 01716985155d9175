// The open and save prompts of documents (and of the other commands that
// read or write an image through the file-format plug-ins).
#pragma once

#include <QString>

namespace framework {
class DocTemplate;
}

namespace plugin_host {

// Asks for a file name. `name` comes in as the proposed name (its base name
// becomes the dialog's file name and its extension the default extension)
// and goes out as the chosen path. Open (`open`): the reading list, "支持文件"
// with every pattern first, one filter per plug-in, then all files; several
// files may be chosen unless `single` is set; they go to the opened-paths
// table and `name` is the first. Save: the writing list, one filter per
// plug-in, the first whose patterns hold the name's extension selected.
// After OK the name becomes the last opened path (unless
// `keepLastOpenedPath`) and its directory is written to LastDir.
// `titleId` is a framework string id (61440 open, 61441 save); `flags` are
// added to OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT. False when cancelled.
bool DoPromptFileName(QString& name, int titleId, unsigned flags, bool open,
                      framework::DocTemplate* docTemplate, bool single,
                      bool keepLastOpenedPath = false);

// The LastDir value for a chosen path: its directory without the final '/'
// ("/" stays "/").
QString LastDirOf(const QString& path);

}  // namespace plugin_host
