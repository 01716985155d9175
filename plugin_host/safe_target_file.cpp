#include "plugin_host/safe_target_file.h"

#include <cstdio>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace plugin_host {

SafeTargetFile::SafeTargetFile(const QString& target) {
    QFileInfo info(target);
    // A link is followed: the file it names is the one replaced.
    target_ = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    QFileInfo real(target_);
    QString suffix = real.suffix();
    QString pattern = real.absolutePath() + QStringLiteral("/.") + real.completeBaseName() +
                      QStringLiteral("-XXXXXX") + (suffix.isEmpty() ? QString() : '.' + suffix);
    QTemporaryFile file(pattern);
    file.setAutoRemove(false);
    if (file.open()) temporary_ = file.fileName();
}

SafeTargetFile::~SafeTargetFile() {
    if (!committed_ && !temporary_.isEmpty()) QFile::remove(temporary_);
}

bool SafeTargetFile::Commit() {
    if (temporary_.isEmpty()) return false;
    QByteArray from = QFile::encodeName(temporary_);
    QByteArray to = QFile::encodeName(target_);
    struct stat existing{};
    if (::stat(to.constData(), &existing) == 0) {
        ::chmod(from.constData(), existing.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(from.constData(), 0666 & ~mask);
    }
    if (std::rename(from.constData(), to.constData()) != 0) return false;
    committed_ = true;
    return true;
}

}  // namespace plugin_host
