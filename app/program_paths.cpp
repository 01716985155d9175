#include "app/program_paths.h"

#include <QFile>
#include <QFileInfo>

QString WithTrailingSlash(const QString& directory) {
    if (directory.isEmpty()) return directory;
    QString result = directory;
    while (result.size() > 1 && result.endsWith(u'/')) result.chop(1);
    if (!result.endsWith(u'/')) result += u'/';
    return result;
}

QString SettingsFilePath(const QString& programDirectory, const QString& fallbackDirectory) {
    QString inProgramDirectory = WithTrailingSlash(programDirectory) + kSettingsFileName;
    if (!programDirectory.isEmpty() && QFileInfo(inProgramDirectory).isFile()) {
        QFile probe(inProgramDirectory);
        if (probe.open(QIODevice::ReadOnly)) return inProgramDirectory;
    }
    return WithTrailingSlash(fallbackDirectory) + kSettingsFileName;
}
