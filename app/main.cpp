// The editor's program. With KAVOLT_MESSAGE_LOG set it runs unattended
// (see app/unattended_mode.h).
#include <QApplication>

#include "app/pelmark_app.h"
#include "app/unattended_mode.h"

int main(int argc, char** argv) {
    InstallMessageLogFromEnvironment();
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavolt"));
    CPelmarkApp app;
    int status = app.Run();
    // A later instance has handed its files to the running one: that is a
    // normal end.
    return app.IsSecondInstance() ? 0 : status;
}
