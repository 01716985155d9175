#include "frame/color_dic.h"

#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/message_box.h"
#include "platform/safe_save.h"

namespace {

void showMessage(const char* text) { ShowMessageBox(nullptr, text, "Kavolt", MB_BTN_OK | MB_ICON_WARNING); }

}  // namespace

ColorDicFile::~ColorDicFile() {
    if (block_) MemFree(block_);
}

void ColorDicFile::SetDirectories(const QString& programDirectory, const QString& userDirectory) {
    programDir_ = programDirectory;
    userDir_ = userDirectory;
}

int ColorDicFile::LoadColorDic() {
    QString userPath = userDir_ + QLatin1String(kColorDicFileName);
    QString programPath = programDir_ + QLatin1String(kColorDicFileName);
    QFile file;
    bool opened = false;
    for (const QString& path : {userPath, programPath}) {
        if (path == QLatin1String(kColorDicFileName) || !QFileInfo(path).isFile()) continue;
        file.setFileName(path);
        if (file.open(QIODevice::ReadOnly)) {
            opened = true;
            break;
        }
    }
    if (!opened) {
        showMessage("COLOR.DIC 找不到");
        return 0;
    }
    QByteArray bytes = file.readAll();
    file.close();
    // An empty file ends at once: the block holds the end byte alone.
    if (bytes.isEmpty()) bytes.append(char(kColorDicEnd));
    if (!setBytes(bytes)) return 0;
    loadedPath_ = file.fileName();
    modified_ = false;
    return 1;
}

bool ColorDicFile::setBytes(const QByteArray& bytes) {
    MemHandle block = MemAlloc(size_t(bytes.size()));
    if (!block) return false;
    {
        MemLockGuard lock(block);
        if (!lock) {
            MemFree(block);
            return false;
        }
        std::memcpy(lock.get(), bytes.constData(), size_t(bytes.size()));
    }
    ReplaceBlock(block);
    return true;
}

bool ColorDicFile::writeTo(const QString& path) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray content = ColorDicContent(Bytes());
    return platform::SaveFileSafely(QFile::encodeName(path).toStdString(),
                                    std::string_view(content.constData(), size_t(content.size())));
}

int ColorDicFile::SaveColorDic() {
    if (!block_) return 0;
    QString userPath = userDir_ + QLatin1String(kColorDicFileName);
    QString programPath = programDir_ + QLatin1String(kColorDicFileName);
    // The copy that was read is the one the next start reads: write it there
    // first, then the other place.
    QStringList targets;
    if (!userDir_.isEmpty() && loadedPath_ == userPath) targets = {userPath};
    else targets = {programPath, userPath};
    for (const QString& path : targets) {
        if (path == QLatin1String(kColorDicFileName)) continue;
        if (writeTo(path)) {
            modified_ = false;
            return 1;
        }
    }
    showMessage("COLOR.DIC 无法打开");
    return 0;
}

void ColorDicFile::ReplaceBlock(MemHandle block) {
    if (block_ == block) return;
    if (block_) MemFree(block_);
    block_ = block;
}

QByteArray ColorDicFile::Bytes() const {
    if (!block_) return {};
    MemLockGuard lock(block_);
    if (!lock) return {};
    return QByteArray(reinterpret_cast<const char*>(lock.get()), qsizetype(lock.size()));
}

std::vector<ColorDicEntry> ColorDicFile::Entries() const { return ParseColorDic(Bytes()); }

bool ColorDicFile::AddEntry(const ColorDicEntry& entry) {
    if (entry.name.isEmpty() || entry.name.contains(u',') || entry.name.contains(u'\n') ||
        entry.name.contains(u'\r'))
        return false;
    QByteArray bytes = Bytes();
    QByteArray next = bytes.left(ColorDicDataSize(bytes)) + FormatColorDicLine(entry) + char(kColorDicEnd);
    if (!setBytes(next)) return false;
    modified_ = true;
    return true;
}

bool ColorDicFile::DeleteEntry(int index) {
    QByteArray bytes = Bytes();
    std::vector<ColorDicLine> lines = ParseColorDicLines(bytes);
    if (index < 0 || size_t(index) >= lines.size()) return false;
    const ColorDicLine& line = lines[size_t(index)];
    QByteArray next = bytes.left(line.start) + bytes.mid(line.start + line.length);
    if (!setBytes(next)) return false;
    modified_ = true;
    return true;
}
