#include "plugin_host/format_plugins.h"

#include <QFileInfo>

#include "framework/program_globals.h"
#include "document/pelmark_doc.h"
#include "framework/application.h"
#include "framework/mdi_frame.h"
#include "platform/file_search.h"
#include "platform/module.h"
#include "plugin_host/host_messages.h"
#include "plugin_api/plugin_api.h"

namespace plugin_host {
namespace {

std::vector<PluginEntry> g_list;
QString g_selectedPath;
int g_savingNeedsLayers = -1;  // -1: no document being saved

bool ActiveDocumentNeedsLayers() {
    if (g_savingNeedsLayers >= 0) return g_savingNeedsLayers != 0;
    framework::Application* app = framework::Application::Instance();
    framework::MdiFrame* frame = app ? app->GetMainFrame() : nullptr;
    auto* doc = frame ? dynamic_cast<CPelmarkDoc*>(frame->GetActiveDocument()) : nullptr;
    return doc && (doc->m_nLayerCount > 1 || doc->m_bHasUnderlay);
}

// Whether a plug-in with these flags (null: no GetFilterCheck) joins the list.
bool JoinsList(const FilterCheckFlags* flags, PluginListMode mode, bool documentNeedsLayers) {
    if (mode == PluginListMode::Reading) return !flags || (flags->readWrite & FILTER_CHECK_READ);
    if (!flags) return !documentNeedsLayers;
    if (!(flags->readWrite & FILTER_CHECK_WRITE)) return false;
    return !(documentNeedsLayers && !(flags->layers & FILTER_CHECK_LAYERS));
}

}  // namespace

const std::vector<PluginEntry>& FormatPluginList() { return g_list; }

ScopedSavingDocument::ScopedSavingDocument(bool needsLayers) : previous_(g_savingNeedsLayers) {
    g_savingNeedsLayers = needsLayers ? 1 : 0;
}

ScopedSavingDocument::~ScopedSavingDocument() { g_savingNeedsLayers = previous_; }

int EnumFormatPlugins(PluginListMode mode) {
    return EnumFormatPlugins(mode, mode == PluginListMode::Writing && ActiveDocumentNeedsLayers());
}

int EnumFormatPlugins(PluginListMode mode, bool documentNeedsLayers) {
    return EnumFormatPluginsIn(GetProgramDirectory(), mode, documentNeedsLayers);
}

int EnumFormatPluginsIn(const QString& directory, PluginListMode mode, bool documentNeedsLayers) {
    g_list.clear();
    QString dir = directory;
    if (!dir.isEmpty() && !dir.endsWith('/')) dir += '/';
    for (const std::string& name : platform::FindFiles(dir.toStdString(), "*.FLT")) {
        if (int(g_list.size()) >= kMaxFormatPlugins) break;
        RegisterFormatPlugin(dir + QString::fromStdString(name), mode, documentNeedsLayers);
    }
    return int(g_list.size());
}

bool RegisterFormatPlugin(const QString& path, PluginListMode mode, bool documentNeedsLayers) {
    if (int(g_list.size()) >= kMaxFormatPlugins) return false;
    platform::Module module(path.toStdString());
    auto getInfo = module.symbol<PluginGetInfoFn>("GetInfo");
    const char* info = getInfo ? getInfo() : nullptr;
    if (!info) {
        ShowFrameworkMessage(path + QStringLiteral("\n 是旧格式"));
        return false;
    }
    auto getFlags = module.symbol<PluginGetFilterCheckFn>("GetFilterCheck");
    const FilterCheckFlags* flags = getFlags ? getFlags() : nullptr;
    FilterCheckFlags copy{};
    if (getFlags) {
        if (flags) copy = *flags;  // a null answer counts as "nothing"
        flags = &copy;
    }
    if (!JoinsList(flags, mode, documentNeedsLayers)) return false;
    g_list.push_back({std::string(info) + "/<" + path.toStdString() + ">/"});
    return true;
}

int FindPluginForExtension(int index, const std::string& extension) {
    if (index < 0 || index >= int(g_list.size())) return 0;
    const std::string& text = g_list[size_t(index)].text;
    size_t open = text.find('(');
    size_t close = text.find(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return 0;
    std::string_view inside(text.data() + open, close - open + 1);
    for (size_t dot = inside.find('.'); dot != std::string_view::npos; dot = inside.find('.', dot + 1)) {
        size_t end = inside.find_first_of(" &);", dot + 1);
        if (end == std::string_view::npos) end = inside.size();
        if (inside.substr(dot + 1, end - dot - 1) != extension) continue;
        // The path is the entry's last part: "/<" path ">/".
        size_t lt = text.rfind("/<");
        if (lt == std::string::npos || text.size() < lt + 4) return 0;
        g_selectedPath = QString::fromStdString(text.substr(lt + 2, text.size() - lt - 4));
        return 1;
    }
    return 0;
}

const QString& SelectedPluginPath() { return g_selectedPath; }

int FindFirstPluginForExtension(const QString& extension) {
    std::string upper = extension.toUpper().toStdString();
    for (int i = 0; i < int(g_list.size()); ++i)
        if (FindPluginForExtension(i, upper)) return i;
    return -1;
}

bool LoadFormatPluginFor(const QString& path, const QString& shownPath, PluginListMode mode,
                         bool documentNeedsLayers, platform::Module& library,
                         std::string& libraryPath) {
    EnumFormatPlugins(mode, documentNeedsLayers);
    if (FindFirstPluginForExtension(QFileInfo(path).suffix()) < 0) {
        ShowFrameworkMessage(shownPath + QStringLiteral("\n 是不支持的文件格式。"));
        return false;
    }
    libraryPath = SelectedPluginPath().toStdString();
    library = platform::Module(libraryPath);
    return bool(library);
}

FilterPair EntryFilter(const PluginEntry& entry) {
    QString text = QString::fromStdString(entry.text);
    return {text.section('/', 0, 0).toLower(), text.section('/', 1, 1).toLower()};
}

}  // namespace plugin_host
