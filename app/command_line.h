// The program's command line.
//
// The shell has already split and unquoted the arguments, so each argument
// is one file to open. The switch "-e" (also "-E", "/e", "/E") as the first
// argument opens nothing. Without arguments the documents of the previous
// run are opened again (when StartFileCheckBox is on).
#pragma once

#include <QString>
#include <QStringList>

struct StartupCommandLine {
    enum Kind {
        Empty,   // no arguments: reopen the previous run's documents
        NoOpen,  // the "-e" switch: open nothing
        Files,   // open each of `files`
    };
    Kind kind = Empty;
    // Absolute paths, in command-line order (Files only).
    QStringList files;
};

bool IsNoOpenSwitch(const QString& argument);

// `arguments` without the program name; empty arguments are dropped.
// Relative paths are made absolute against `workingDirectory`.
StartupCommandLine ParseStartupArguments(const QStringList& arguments,
                                         const QString& workingDirectory);
