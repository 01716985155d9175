#include "view/view_globals.h"

#include <QCoreApplication>

#include "view/guide_settings.h"

namespace view {

namespace {
int g_pendingFit = 0;
int g_untitled = 1;
bool g_firstPaintDone = false;
std::function<void()> g_firstPaintHook;
QString g_focusedPath;
int g_selectionMode = kSelectRect;
const CPelmarkDoc* g_followed = nullptr;
}  // namespace

int& PendingFitFlag() { return g_pendingFit; }

int TakeUntitledNumber() { return g_untitled++; }

void SetFirstPaintHook(std::function<void()> hook) {
    g_firstPaintHook = std::move(hook);
    if (g_firstPaintHook) g_firstPaintDone = false;
}

void RunFirstPaintHook() {
    if (g_firstPaintDone) return;
    g_firstPaintDone = true;
    if (!g_firstPaintHook) return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (g_firstPaintHook) g_firstPaintHook();
        },
        Qt::QueuedConnection);
}

QString& FocusedDocumentPath() { return g_focusedPath; }

int& SelectionModeIndex() { return g_selectionMode; }

const CPelmarkDoc*& FollowedDocument() { return g_followed; }

}  // namespace view

GuideSettings& GetGuideSettings() {
    static GuideSettings settings;
    return settings;
}
