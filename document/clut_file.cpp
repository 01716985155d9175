#include "document/clut_file.h"

#include <algorithm>
#include <cstring>

#include <QFile>
#include <QSaveFile>

namespace document {

QByteArray ClutFileBytes(const WorkingPalette& palette) {
    return QByteArray(reinterpret_cast<const char*>(palette.data()), kClutFileBytes);
}

int TakeClutFileBytes(const QByteArray& bytes, WorkingPalette& palette) {
    const int taken = int(std::min<qsizetype>(bytes.size(), kClutFileBytes));
    if (taken > 0) std::memcpy(palette.data(), bytes.constData(), size_t(taken));
    return taken;
}

bool ReadClutFile(const QString& path, WorkingPalette& palette) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    TakeClutFileBytes(file.read(kClutFileBytes), palette);
    return true;
}

bool WriteClutFile(const QString& path, const WorkingPalette& palette) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows here: a
    // buffered one is flushed by commit, which takes a short flush as done.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray bytes = ClutFileBytes(palette);
    if (file.write(bytes) != bytes.size() || file.size() != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace document
