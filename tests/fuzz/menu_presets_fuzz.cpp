// Feeds arbitrary bytes to the "menu.txt" reader and checks the presets.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dialogs/menu_presets_text.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<SizePreset> presets = ParseMenuPresets(bytes);
    if (presets.size() > size_t(kMaxMenuPresets)) __builtin_trap();
    for (const SizePreset& p : presets) {
        if (p.name.empty() || p.name.size() > size_t(kMaxPresetNameBytes) || p.name.front() == '-' ||
            !platform::IsValidUtf8(p.name))
            __builtin_trap();
        for (char c : p.name)
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') __builtin_trap();
    }
    return 0;
}
