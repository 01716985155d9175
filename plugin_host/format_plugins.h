// The list of file-format plug-ins: every library of the program directory
// whose name matches "*.FLT", rebuilt before each use (prompts, opens,
// saves), so libraries added or removed take effect at the next use.
#pragma once

#include <string>
#include <vector>

#include <QString>

namespace platform {
class Module;
}

namespace plugin_host {

// Reading: the open prompt and document opens. Writing: the save prompt and
// document saves.
enum class PluginListMode { Reading, Writing };

// At most this many plug-ins are listed; the directory search is in name
// order (ignoring case), so these are the first by name.
inline constexpr int kMaxFormatPlugins = 50;

// One listed plug-in: its GetInfo text, "/<", the library's full path, ">/".
// For a GIF reader: "Gif 文件(*.GIF)/*.gif/</path/Loopcast.FLT>/". UTF-8.
struct PluginEntry {
    std::string text;
};

const std::vector<PluginEntry>& FormatPluginList();

// Empties the list and registers every "*.FLT" of the program directory in
// name order. The writing mode asks the document being saved (see
// ScopedSavingDocument), else the active document, whether it has more than
// one layer or an underlay. Returns the count listed.
int EnumFormatPlugins(PluginListMode mode);

// While it lives, the writing list is built for a document with (or
// without) more than one layer or an underlay, whichever is active.
class ScopedSavingDocument {
public:
    explicit ScopedSavingDocument(bool needsLayers);
    ~ScopedSavingDocument();
    ScopedSavingDocument(const ScopedSavingDocument&) = delete;
    ScopedSavingDocument& operator=(const ScopedSavingDocument&) = delete;

private:
    int previous_;
};
// The same with the active document's answer given.
int EnumFormatPlugins(PluginListMode mode, bool documentNeedsLayers);
int EnumFormatPluginsIn(const QString& directory, PluginListMode mode, bool documentNeedsLayers);

// Loads the library and appends its entry when it joins the list of this
// mode (see the .cpp); a library that cannot be loaded or has no GetInfo is
// reported as "<path>\n 是旧格式" and skipped. The library is freed in every
// case. True when an entry was added.
bool RegisterFormatPlugin(const QString& path, PluginListMode mode, bool documentNeedsLayers);

// Looks at entry `index`'s text between its first '(' and first ')': every
// '.' there starts an extension that ends at ' ', '&', ')' or ';', compared
// with `extension` byte for byte (case matters; callers pass it in capitals).
// On a match the entry's path becomes the selected plug-in path; returns 1,
// else 0 (also for an index outside the list).
int FindPluginForExtension(int index, const std::string& extension);
// The library path of the last successful FindPluginForExtension.
const QString& SelectedPluginPath();

// The first entry matching `extension` (upper-cased here), selecting its
// path; -1 when none does.
int FindFirstPluginForExtension(const QString& extension);

// Builds the list, finds the first plug-in for the extension of `path` and
// loads it, giving its path in `libraryPath`. No plug-in: the framework box
// "<shownPath>\n 是不支持的文件格式。". False also when the library cannot be
// loaded (no message then).
bool LoadFormatPluginFor(const QString& path, const QString& shownPath, PluginListMode mode,
                         bool documentNeedsLayers, platform::Module& library,
                         std::string& libraryPath);

// The two parts of an entry a file dialog shows: the text up to the first
// '/' and the pattern list between the first and second '/', both in lower
// case.
struct FilterPair {
    QString name;
    QString patterns;
};
FilterPair EntryFilter(const PluginEntry& entry);

}  // namespace plugin_host
