#include "document/clut_file.h"

#include <algorithm>
#include <cstring>

#include <QFile>

#include "platform/safe_save.h"

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
    const QByteArray bytes = ClutFileBytes(palette);
    return platform::SaveFileSafely(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace document
