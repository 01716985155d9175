#include "plugin_host/filter_plugins.h"

#include "framework/application.h"
#include "framework/program_globals.h"
#include "platform/file_search.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/host_messages.h"
#include "plugin_host/tool_host_services.h"

namespace plugin_host {
namespace {

std::vector<std::string> g_table;
std::vector<QString> g_names;
std::vector<QString> g_paths;
bool g_menuBuilt = false;

}  // namespace

const std::vector<std::string>& FilterTable() { return g_table; }
const std::vector<QString>& FilterNames() { return g_names; }
const std::vector<QString>& FilterPaths() { return g_paths; }

int FindFilterPlugins(const QString& directory) {
    g_table.clear();
    g_names.clear();
    g_paths.clear();
    QString dir = directory;
    if (!dir.isEmpty() && !dir.endsWith('/')) dir += '/';
    for (const std::string& name : platform::FindFiles(dir.toStdString(), "*.GLT")) {
        if (int(g_table.size()) >= kMaxFilterPlugins) break;
        QString path = dir + QString::fromStdString(name);
        platform::Module module(path.toStdString());
        auto getInfo = module.symbol<PluginGetInfoFn>("GetInfo");
        const char* info = getInfo ? getInfo() : nullptr;
        if (!info) {
            ShowFrameworkMessage(path + QStringLiteral("\n 是旧格式"));
            continue;
        }
        std::string text(info);
        g_table.push_back(text + "/<" + path.toStdString() + ">/");
        g_names.push_back(QString::fromStdString(text.substr(0, text.find('/'))));
        g_paths.push_back(path);
    }
    return int(g_table.size());
}

int FindFilterPlugins() { return FindFilterPlugins(GetProgramDirectory()); }

void BuildFilterMenu() {
    if (g_menuBuilt) return;
    g_menuBuilt = true;
    auto* menu = dynamic_cast<FilterMenu*>(framework::Application::Instance());
    if (menu) menu->RemoveFilterMenuItems();
    FindFilterPlugins();
    if (menu)
        for (size_t i = 0; i < g_names.size() && int(i) < kMaxFilterMenuItems; ++i)
            menu->AddFilterMenuItem(g_names[i]);
    if (const auto& add = Services().addGridPresetItems) add();
}

bool FilterMenuBuilt() { return g_menuBuilt; }

void ResetFilterMenuForTests() {
    g_menuBuilt = false;
    g_table.clear();
    g_names.clear();
    g_paths.clear();
}

}  // namespace plugin_host
