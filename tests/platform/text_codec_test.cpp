#include "platform/text_codec.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

TEST(TextCodec, Utf8IsKeptAndEverythingElseIsReadAsGbk) {
    struct Case { std::string bytes; std::string text; bool utf8; };
    const Case cases[] = {
        {"", "", true},
        {"UndoBuf=10\r\n", "UndoBuf=10\r\n", true},
        {"色表", "色表", true},
        {"\xEF\xBB\xBF" "a", "a", true},                   // byte-order mark dropped
        {"\xC9\xAB\xB1\xED", "色表", false},                 // GBK
        {"\xD6\xD0\xCE\xC4 ok", "中文 ok", false},
        {"\xC0\x80", "纮", false},                        // overlong UTF-8
        {"\xED\xA0\x80", "頎€", false},                   // a surrogate in UTF-8
        {"\xE4\xB8", "涓", false},                         // a UTF-8 character cut short
        {"\xBA", "\uFFFD", false},                         // GBK cut short at the end
        {"\xC9\xAB\xB1", "色\uFFFD", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(platform::IsValidUtf8(c.bytes), c.utf8);
        std::string text = platform::DecodeFileText(c.bytes);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(platform::DecodeFileText(QByteArray::fromStdString(c.bytes)), text);
        EXPECT_EQ(platform::DecodeFileTextToQString(c.bytes), QString::fromStdString(text));
    }
}
