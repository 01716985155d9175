// The source sheet: the document's first layer as a sheet of sprite cells,
// with the 128 frames marked on it and the palette it is shown through.
//
// The sheet keeps no pointer into a host block: the image's size, stride and
// colour table are copied while it is locked, and layer 0 is read through the
// record's layer table at each use (the host moves that table off a closed
// document).
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/logical_palette.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/cinereel/sheet_frame.h"

inline constexpr int kSheetHeaderBytes = 40 + 1024;

class CaSheet {
public:
    CaSheet(const PluginToolInfo& info, const PluginToolRecord* record);

    // The same with a new image and record (after the document changed).
    bool Reload(const PluginToolInfo& info, const PluginToolRecord* record);
    // Only the palette, from the host image as it is now.
    bool RebuildPalette();

    // Layer 0 at an image point (y from the top); 0 outside the image or
    // when the layer cannot be read.
    int Pixel(int x, int y) const;
    // Calls f(bits) with layer 0's rows (bottom-up, m_nStride apart) while it
    // is locked; false when there is no layer of the image's size.
    template <class F>
    bool WithLayer0(F f) const;

    MemHandle m_hImage = nullptr;               // the host's composite (header and colours only)
    const PluginToolRecord* m_pRecord = nullptr;  // its layer table, read at each use
    int m_nLayerCount = 0;
    LogicalPalette m_Palette;                   // entry 0 white
    SheetFrame m_Frames[kSheetFrames];
    std::vector<uint8_t> m_HeaderCopy;          // header and 256 colours, 1064 bytes
    int m_nBasePos = 0;                          // placement 0..8, read by the preview
    int m_nStride = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;

private:
    // Reads the image: no copy when it cannot be locked, no palette when it
    // has no colours.
    enum class Load { Ok, NoCopy, NoPalette };
    Load load(const PluginToolInfo& info, const PluginToolRecord* record);
    MemHandle layer0() const;
};

// The palette of a packed DIB's colour table with entry `index` shown as
// `color` (40-byte headers only); false without a colour table.
bool BuildSheetPalette(const uint8_t* dib, size_t size, int index, QRgb color, LogicalPalette& out);

template <class F>
bool CaSheet::WithLayer0(F f) const {
    MemHandle layer = layer0();
    if (!layer || m_nWidth <= 0 || m_nHeight <= 0) return false;
    MemLockGuard lock(layer);
    if (!lock || lock.size() < size_t(LAYER_HEADER_SIZE) + size_t(m_nStride) * size_t(m_nHeight))
        return false;
    f(static_cast<const uint8_t*>(lock.get()) + LAYER_HEADER_SIZE);
    return true;
}
