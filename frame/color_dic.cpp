#include "frame/color_dic.h"

#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace {

void showMessage(const char* text) { ShowMessageBox(nullptr, text, "Kavolt", MB_BTN_OK | MB_ICON_WARNING); }

qsizetype endOfData(const QByteArray& bytes) {
    qsizetype end = bytes.indexOf(char(kColorDicEnd));
    return end < 0 ? bytes.size() : end;
}

bool parseValue(const QByteArray& field, int* value) {
    if (field.isEmpty() || field.size() > 3) return false;
    for (char c : field)
        if (c < '0' || c > '9') return false;
    *value = field.toInt();
    return *value <= 255;
}

// Start offsets of each line (up to the end of data), paired with its length
// including the line break.
std::vector<std::pair<qsizetype, qsizetype>> lineSpans(const QByteArray& bytes) {
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    qsizetype end = endOfData(bytes);
    qsizetype pos = 0;
    while (pos < end) {
        qsizetype nl = bytes.indexOf('\n', pos);
        qsizetype next = (nl < 0 || nl >= end) ? end : nl + 1;
        spans.emplace_back(pos, next - pos);
        pos = next;
    }
    return spans;
}

std::optional<ColorDicEntry> parseLine(QByteArray line) {
    while (!line.isEmpty() && (line.endsWith('\n') || line.endsWith('\r'))) line.chop(1);
    QList<QByteArray> fields = line.split(',');
    if (fields.size() != 5 || fields[0].isEmpty()) return std::nullopt;
    ColorDicEntry entry;
    if (!parseValue(fields[1], &entry.red) || !parseValue(fields[2], &entry.green) ||
        !parseValue(fields[3], &entry.blue) || !parseValue(fields[4], &entry.alpha))
        return std::nullopt;
    entry.name = platform::DecodeFileTextToQString(std::string_view(fields[0].constData(), size_t(fields[0].size())));
    return entry;
}

}  // namespace

QByteArray FormatColorDicLine(const ColorDicEntry& entry) {
    return entry.name.toUtf8() + QByteArrayLiteral(",") + QByteArray::number(entry.red) + ',' +
           QByteArray::number(entry.green) + ',' + QByteArray::number(entry.blue) + ',' +
           QByteArray::number(entry.alpha) + "\r\n";
}

std::vector<ColorDicEntry> ParseColorDic(const QByteArray& bytes) {
    std::vector<ColorDicEntry> entries;
    for (auto [start, length] : lineSpans(bytes))
        if (auto entry = parseLine(bytes.mid(start, length))) entries.push_back(*entry);
    return entries;
}

QByteArray ColorDicContent(const QByteArray& bytes) {
    qsizetype end = endOfData(bytes);
    return bytes.left(end) + char(kColorDicEnd);
}

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray content = ColorDicContent(Bytes());
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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
    QByteArray next = bytes.left(endOfData(bytes)) + FormatColorDicLine(entry) + char(kColorDicEnd);
    if (!setBytes(next)) return false;
    modified_ = true;
    return true;
}

bool ColorDicFile::DeleteEntry(int index) {
    QByteArray bytes = Bytes();
    int seen = 0;
    for (auto [start, length] : lineSpans(bytes)) {
        if (!parseLine(bytes.mid(start, length))) continue;
        if (seen++ != index) continue;
        QByteArray next = bytes.left(start) + bytes.mid(start + length);
        if (!setBytes(next)) return false;
        modified_ = true;
        return true;
    }
    return false;
}
