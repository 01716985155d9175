#include "app/unattended_mode.h"

#include <cstdio>

#include <QFile>

#include "platform/message_box_recorder.h"

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string MessageLogRecord(const platform::MessageBoxRequest& request) {
    return escaped(request.caption) + '\t' + escaped(request.text);
}

platform::MessageBoxService InstallMessageLog(const QString& path) {
    QByteArray file = QFile::encodeName(path);
    return platform::SetMessageBoxService([file](const platform::MessageBoxRequest& request) {
        std::string line = MessageLogRecord(request) + '\n';
        if (std::FILE* out = std::fopen(file.constData(), "ab")) {
            std::fwrite(line.data(), 1, line.size(), out);
            std::fclose(out);
        }
        return platform::MessageBoxRecorder::DefaultAnswer(request.type);
    });
}

bool InstallMessageLogFromEnvironment() {
    QString path = qEnvironmentVariable(kMessageLogVariable);
    if (path.isEmpty()) return false;
    InstallMessageLog(path);
    return true;
}
