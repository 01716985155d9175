#include "frame/next_open_list.h"

#include "framework/application.h"

namespace {

const QString kSection = QStringLiteral("Next Open File List");

QString keyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

QString GetNextOpenFile(int index) {
    framework::Application* app = framework::Application::Instance();
    if (!app || index < 0) return {};
    return app->GetProfileString(kSection, keyOf(index)).left(kNextOpenPathMax);
}

void SetNextOpenFile(const QString& path, int index) {
    if (framework::Application* app = framework::Application::Instance())
        if (index >= 0) app->WriteProfileString(kSection, keyOf(index), path);
}

void ClearNextOpenFiles() {
    framework::Application* app = framework::Application::Instance();
    if (!app) return;
    for (int i = 0;; ++i) {
        if (app->GetProfileString(kSection, keyOf(i)).isEmpty()) break;
        app->DeleteProfileKey(kSection, keyOf(i));
    }
}

void WriteNextOpenFiles(const QStringList& paths) {
    ClearNextOpenFiles();
    for (int i = 0; i < paths.size(); ++i) SetNextOpenFile(paths[i], i);
}
