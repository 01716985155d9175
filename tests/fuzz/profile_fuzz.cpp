// Feeds arbitrary bytes to the settings ("pm32.ini") reader: every section
// and key it finds is looked up, then written and read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile_text.h"
#include "platform/text_codec.h"

using platform::ProfileLine;
using platform::ProfileText;

namespace {

bool sameLines(const ProfileText& a, const ProfileText& b) {
    if (a.bom != b.bom || a.lines.size() != b.lines.size()) return false;
    for (size_t i = 0; i < a.lines.size(); ++i)
        if (a.lines[i].text != b.lines[i].text || a.lines[i].end != b.lines[i].end) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileText ini = ProfileText::Parse(bytes);

    // Nothing is lost or changed in reading: UTF-8 comes back byte for byte,
    // and the text written reads as the same lines.
    const std::string text = ini.Serialize();
    if (platform::IsValidUtf8(bytes) && text != bytes) __builtin_trap();
    if (!sameLines(ProfileText::Parse(text), ini)) __builtin_trap();

    // Every section and key the reader sees can be read.
    volatile size_t sum = 0;
    for (const ProfileLine& line : ini.lines) {
        if (line.kind() == ProfileLine::Kind::Section) {
            std::string section(line.sectionName());
            sum = sum + ini.SectionLines(section).size();
            for (const std::string& key : ini.SectionKeys(section)) {
                std::optional<std::string> value = ini.Value(section, key);
                if (!value) __builtin_trap();
                if (std::optional<int> n = platform::ProfileNumber(*value)) sum = sum + unsigned(*n);
            }
        }
    }

    // Writing into what was read: a value written reads back, also from the
    // text written, and a key deleted is gone.
    std::string section = "Settings";
    std::string key = "UndoBuf";
    for (const ProfileLine& line : ini.lines)
        if (line.kind() == ProfileLine::Kind::Section && !line.sectionName().empty()) {
            section = std::string(line.sectionName());
            break;
        }
    // Keys are passed as C strings: one holding a NUL byte cannot be named.
    if (std::vector<std::string> keys = ini.SectionKeys(section);
        !keys.empty() && !keys.back().empty() && keys.back().find('\0') == std::string::npos)
        key = keys.back();
    ProfileText edited = ini;
    if (edited.Write(section, key.c_str(), "12")) {
        if (edited.Value(section, key) != "12") __builtin_trap();
        if (ProfileText::Parse(edited.Serialize()).Value(section, key) != "12") __builtin_trap();
        if (!edited.Write(section, key.c_str(), nullptr) || edited.Value(section, key)) __builtin_trap();
        if (!edited.Write(section, "Fuzz", "a b") || edited.Value(section, "fuzz") != "a b") __builtin_trap();
        if (!edited.Write(section, nullptr, nullptr)) __builtin_trap();
        sum = sum + edited.Serialize().size();
    }
    return 0;
}
