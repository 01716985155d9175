#include "plugins/tonalis/dib_palette.h"

#include <algorithm>
#include <utility>

#include "imaging/dib_geometry.h"
#include "platform/message_box.h"

namespace {

// The image's four-byte colour table and its entry count (at most 256);
// null when the block is not a DIB with an information header.
PaletteEntry* LockedTable(const dib::LockedDib& dib, int* count) {
    if (!dib || dib.geo().core) return nullptr;
    *count = std::min(dib.geo().entries, 256);
    return reinterpret_cast<PaletteEntry*>(dib.data() + dib.geo().headerSize);
}

void Tell(WinHandle owner, const char* text) { ShowMessageBox(owner, text, "", MB_BTN_OK); }

}  // namespace

bool GetDibPalette(WinHandle owner, MemHandle image, DibPaletteCopy* copy) {
    dib::LockedDib dib(image);
    int count = 0;
    const PaletteEntry* table = LockedTable(dib, &count);
    if (!table || !copy) {
        Tell(owner, "えらーGetPalette");
        return false;
    }
    copy->count = count;
    std::copy(table, table + count, copy->entries);
    return true;
}

bool SetDibPalette(WinHandle owner, MemHandle image, const DibPaletteCopy& copy) {
    dib::LockedDib dib(image);
    int count = 0;
    PaletteEntry* table = LockedTable(dib, &count);
    if (!table) {
        Tell(owner, "えらーSetPalette");
        return false;
    }
    if (count < copy.count || copy.count < 0) {
        Tell(owner, "DIB_NumColor is not enough");
        return false;
    }
    std::copy(copy.entries, copy.entries + copy.count, table);
    return true;
}

bool ExchangeDibPalette(WinHandle owner, MemHandle image, DibPaletteCopy* copy) {
    dib::LockedDib dib(image);
    int count = 0;
    PaletteEntry* table = LockedTable(dib, &count);
    if (!table || !copy) {
        Tell(owner, "えらーSetPalette");
        return false;
    }
    if (count != copy->count) {
        Tell(owner, "えらーExchangePalette");
        return false;
    }
    std::swap_ranges(table, table + count, copy->entries);
    return true;
}
