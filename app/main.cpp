// The editor's program. With KAVOLT_MESSAGE_LOG set it runs unattended
// (see app/unattended_mode.h).
#include <csignal>

#include <QApplication>

#include "app/pelmark_app.h"
#include "app/unattended_mode.h"

int main(int argc, char** argv) {
    // A write past the file size limit fails with an error the writers
    // report, instead of ending the program with every unsaved document.
    std::signal(SIGXFSZ, SIG_IGN);
    InstallMessageLogFromEnvironment();
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavolt"));
    CPelmarkApp app;
    int status = app.Run();
    // A later instance has handed its files to the running one: that is a
    // normal end; one whose files the running one did not take is not.
    if (app.IsSecondInstance()) return app.HandOverFailed() ? 1 : 0;
    return status;
}
