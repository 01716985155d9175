#include "platform/text_codec.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace platform {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view withoutBom(std::string_view bytes) {
    return bytes.substr(0, kBom.size()) == kBom ? bytes.substr(kBom.size()) : bytes;
}

QString decodeGbk(std::string_view bytes) {
    QStringDecoder gbk("GBK");
    if (!gbk.isValid())  // not expected: the Qt build carries GBK
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    QString text = gbk.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    // The decoder holds back a character cut short at the end, waiting for
    // its next bytes, and would drop it: a line break (never part of a GBK
    // character) ends it as U+FFFD and is taken off again.
    text += gbk.decode(QByteArrayView("\n", 1));
    text.chop(1);
    return text;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !utf8.hasError();
}

std::string DecodeFileText(std::string_view bytes) {
    bytes = withoutBom(bytes);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return decodeGbk(bytes).toStdString();
}

std::string DecodeFileText(const QByteArray& bytes) {
    return DecodeFileText(std::string_view(bytes.constData(), size_t(bytes.size())));
}

QString DecodeFileTextToQString(std::string_view bytes) {
    bytes = withoutBom(bytes);
    if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return decodeGbk(bytes);
}

}  // namespace platform
