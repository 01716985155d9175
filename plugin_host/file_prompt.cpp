#include "plugin_host/file_prompt.h"

#include <QFileInfo>

#include "framework/program_globals.h"
#include "framework/support_file_dialog.h"
#include "framework/command_ids.h"
#include "framework/application.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "plugin_host/format_plugins.h"

namespace plugin_host {

QString LastDirOf(const QString& path) {
    QString dir = QFileInfo(path).absolutePath();
    while (dir.size() > 1 && dir.endsWith('/')) dir.chop(1);
    return dir;
}

bool DoPromptFileName(QString& name, int titleId, unsigned flags, bool open,
                      framework::DocTemplate*, bool single, bool keepLastOpenedPath) {
    QFileInfo given(name);
    QString extension = given.suffix();
    QString base = given.completeBaseName();
    if (extension.isEmpty()) base = given.fileName();
    QString initialDir = name.contains('/') ? given.absolutePath() : QString();

    unsigned dialogFlags = dialogs::OFN_HIDEREADONLY | dialogs::OFN_OVERWRITEPROMPT | flags;
    if (open && !single) dialogFlags |= dialogs::OFN_ALLOWMULTISELECT;
    EnumFormatPlugins(open ? PluginListMode::Reading : PluginListMode::Writing);

    std::vector<dialogs::FileFilter> filters;
    int filterIndex = 1;
    if (open) {
        QString all;
        for (const PluginEntry& entry : FormatPluginList()) {
            for (const QString& p : EntryFilter(entry).patterns.split(';', Qt::SkipEmptyParts))
                all += p + ';';
        }
        filters.push_back({QStringLiteral("支持文件"), all});
    }
    for (const PluginEntry& entry : FormatPluginList()) {
        FilterPair pair = EntryFilter(entry);
        filters.push_back({pair.name, pair.patterns});
        if (!open && filterIndex == 1 && !extension.isEmpty()) {
            QString wanted = QStringLiteral("*.") + extension;
            for (const QString& p : pair.patterns.split(';', Qt::SkipEmptyParts))
                if (p.compare(wanted, Qt::CaseInsensitive) == 0) filterIndex = int(filters.size());
        }
    }
    if (open) filters.push_back({framework::FrameworkString(framework::IDS_ALL_FILTER), QStringLiteral("*.*")});

    framework::Application* app = framework::Application::Instance();
    framework::MdiFrame* frame = app ? app->GetMainFrame() : nullptr;
    dialogs::CSupportFileDialog dialog(open, extension, base, dialogFlags, std::move(filters), frame);
    dialog.m_strTitle = framework::FrameworkString(titleId);
    dialog.m_strInitialDir = initialDir;
    dialog.m_nFilterIndex = filterIndex;
    if (dialog.DoModal() != framework::IDOK) return false;

    name = dialog.GetPathName();
    if (open && (dialogFlags & dialogs::OFN_ALLOWMULTISELECT)) SetOpenedPaths(dialog.GetPathNames());
    if (!keepLastOpenedPath) SetLastOpenedPath(name);
    if (app) app->WriteProfileString(QStringLiteral("Settings"), QStringLiteral("LastDir"), LastDirOf(name));
    return true;
}

}  // namespace plugin_host
