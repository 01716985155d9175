#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

#include "platform/profile_text.h"
#include "platform/safe_save.h"

namespace platform {

namespace {

// The text of the file; a missing file is empty text. nullopt when the file
// exists but cannot be read.
std::optional<ProfileText> load(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.exists()) return ProfileText();
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return ProfileText::Parse(std::string_view(bytes.constData(), size_t(bytes.size())));
}

std::optional<std::string> readValue(const std::string& file, const std::string& section,
                                     const std::string& key) {
    std::optional<ProfileText> ini = load(file);
    if (!ini) return std::nullopt;
    return ini->Value(section, key);
}

bool save(const std::string& path, const std::string& text) {
    QString name = QString::fromStdString(path);
    if (!QDir().mkpath(QFileInfo(name).absolutePath())) return false;
    return SaveFileSafely(QFile::encodeName(name).toStdString(), text);
}

}  // namespace

std::string ProfileReadString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def) {
    return readValue(file, section, key).value_or(def);
}

int ProfileReadInt(const std::string& file, const std::string& section, const std::string& key,
                   int def) {
    std::optional<std::string> value = readValue(file, section, key);
    if (!value) return def;
    return ProfileNumber(*value).value_or(def);
}

bool ProfileWriteString(const std::string& file, const std::string& section, const char* key,
                        const char* value) {
    std::optional<ProfileText> ini = load(file);
    if (!ini) return false;
    const std::string before = ini->Serialize();
    if (!ini->Write(section, key, value)) return false;
    std::string after = ini->Serialize();
    // Nothing changed (a delete of what is not there): the file stays as it
    // is, and none is made. A write to a missing file always adds lines.
    if (after == before) return true;
    return save(file, after);
}

bool ProfileWriteInt(const std::string& file, const std::string& section, const std::string& key,
                     int value) {
    return ProfileWriteString(file, section, key.c_str(), std::to_string(value).c_str());
}

std::vector<std::string> ProfileSectionKeys(const std::string& file, const std::string& section) {
    std::optional<ProfileText> ini = load(file);
    return ini ? ini->SectionKeys(section) : std::vector<std::string>();
}

std::vector<std::string> ProfileSectionLines(const std::string& file, const std::string& section) {
    std::optional<ProfileText> ini = load(file);
    return ini ? ini->SectionLines(section) : std::vector<std::string>();
}

}  // namespace platform
