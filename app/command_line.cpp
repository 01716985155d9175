#include "app/command_line.h"

#include <QDir>

bool IsNoOpenSwitch(const QString& argument) {
    return argument.size() == 2 && (argument[0] == u'-' || argument[0] == u'/') &&
           (argument[1] == u'e' || argument[1] == u'E');
}

StartupCommandLine ParseStartupArguments(const QStringList& arguments,
                                         const QString& workingDirectory) {
    StartupCommandLine result;
    QStringList tokens;
    for (const QString& argument : arguments)
        if (!argument.isEmpty()) tokens.push_back(argument);
    if (tokens.isEmpty()) return result;
    if (IsNoOpenSwitch(tokens.front())) {
        result.kind = StartupCommandLine::NoOpen;
        return result;
    }
    result.kind = StartupCommandLine::Files;
    QDir base(workingDirectory);
    for (const QString& token : tokens) result.files.push_back(QDir::cleanPath(base.absoluteFilePath(token)));
    return result;
}
