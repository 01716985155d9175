#include "app/help_page.h"

#include <QDesktopServices>
#include <QFileInfo>

#include "app/program_paths.h"
#include "platform/message_box.h"

namespace {

UrlOpener& opener() {
    static UrlOpener current;
    return current;
}

}  // namespace

QUrl HelpPageUrl(const QString& programDirectory) {
    return QUrl::fromLocalFile(WithTrailingSlash(programDirectory) + kHelpPageName);
}

bool OpenHelpPage(const QString& programDirectory, WinHandle owner) {
    QUrl url = HelpPageUrl(programDirectory);
    bool opened = false;
    if (QFileInfo(url.toLocalFile()).isFile())
        opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened) ShowMessageBox(owner, "错误", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
    return opened;
}

UrlOpener SetUrlOpener(UrlOpener next) {
    UrlOpener previous = std::move(opener());
    opener() = std::move(next);
    return previous;
}
