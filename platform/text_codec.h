// Decoding the text of files the program reads (settings, colour dictionary,
// menu lists, image maps): UTF-8 when the bytes are valid UTF-8, otherwise
// GBK, the code page older files were written in.
#pragma once

#include <string>
#include <string_view>

class QByteArray;
class QString;

namespace platform {

// True when the bytes are well-formed UTF-8 (ASCII and empty text included).
bool IsValidUtf8(std::string_view bytes);

// The text as UTF-8: valid UTF-8 is returned unchanged (a leading byte-order
// mark removed); anything else is decoded as GBK, bytes that are not GBK
// becoming U+FFFD.
std::string DecodeFileText(std::string_view bytes);
std::string DecodeFileText(const QByteArray& bytes);
// The same, as a QString.
QString DecodeFileTextToQString(std::string_view bytes);

}  // namespace platform
