#include "plugins/cinereel/ca_sheet.h"

#include <algorithm>
#include <cstring>

#include "platform/memory.h"
#include "platform/message_box.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFF;

}  // namespace

bool BuildSheetPalette(const uint8_t* dib, size_t size, int index, QRgb color, LogicalPalette& out) {
    if (!dib || size < DIB_CORE_HEADER_SIZE) return false;
    uint32_t headerSize = 0;
    std::memcpy(&headerSize, dib, 4);
    int bits = 0, colors = 0;
    size_t entry = 4;
    if (headerSize == DIB_INFO_HEADER_SIZE && size >= DIB_INFO_HEADER_SIZE) {
        DibInfoHeader h;
        std::memcpy(&h, dib, sizeof h);
        bits = h.bitCount;
        colors = int(h.clrUsed);
    } else if (headerSize == DIB_CORE_HEADER_SIZE) {
        DibCoreHeader h;
        std::memcpy(&h, dib, sizeof h);
        bits = h.bitCount;
        entry = 3;
    } else {
        return false;
    }
    if (colors <= 0 || colors > 256) colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    if (colors == 0 || size < headerSize + entry * size_t(colors)) return false;
    out = LogicalPalette{};
    out.count = colors;
    const uint8_t* table = dib + headerSize;
    for (int i = 0; i < colors; ++i) {
        const uint8_t* e = table + entry * size_t(i);
        out.colors[size_t(i)] = qRgb(e[2], e[1], e[0]);
    }
    if (headerSize == DIB_INFO_HEADER_SIZE && index >= 0 && index < colors)
        out.colors[size_t(index)] = color;
    return true;
}

CaSheet::CaSheet(const PluginToolInfo& info, const PluginToolRecord* record) {
    std::memset(m_Frames, 0, sizeof m_Frames);
    if (load(info, record) != Load::Ok)
        ShowMessageBox(nullptr, "初始化动画错误", "animation tool", MB_BTN_OK);
}

bool CaSheet::Reload(const PluginToolInfo& info, const PluginToolRecord* record) {
    switch (load(info, record)) {
    case Load::Ok: return true;
    case Load::NoCopy: ShowMessageBox(nullptr, "Reload error", "animation tool", MB_BTN_OK); return false;
    case Load::NoPalette: ShowMessageBox(nullptr, "palette ", "animation tool", MB_BTN_OK); return false;
    }
    return false;
}

bool CaSheet::RebuildPalette() {
    MemLockGuard image(m_hImage);
    if (!image || !BuildSheetPalette(image.get(), image.size(), 0, kWhite, m_Palette)) {
        ShowMessageBox(nullptr, "palette ", "error", MB_BTN_OK);
        return false;
    }
    return true;
}

CaSheet::Load CaSheet::load(const PluginToolInfo& info, const PluginToolRecord* record) {
    m_HeaderCopy.clear();
    m_Palette = LogicalPalette{};
    m_nWidth = m_nHeight = m_nStride = 0;
    m_hImage = info.image;
    m_pRecord = record;
    m_nLayerCount = CountLayers(record);
    MemLockGuard image(info.image);
    if (!image || image.size() < kSheetHeaderBytes) return Load::NoCopy;
    m_HeaderCopy.assign(image.get(), image.get() + kSheetHeaderBytes);
    DibInfoHeader h;
    std::memcpy(&h, image.get(), sizeof h);
    m_nWidth = std::max(h.width, 0);
    m_nHeight = std::max(h.height, 0);
    m_nStride = (m_nWidth * 8 + 31) / 32 * 4;
    return BuildSheetPalette(image.get(), image.size(), 0, kWhite, m_Palette) ? Load::Ok : Load::NoPalette;
}

MemHandle CaSheet::layer0() const {
    return m_pRecord && m_pRecord->layers && m_nLayerCount > 0 ? m_pRecord->layers[0] : nullptr;
}

int CaSheet::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
    int value = 0;
    WithLayer0([&](const uint8_t* bits) {
        value = bits[size_t(m_nHeight - 1 - y) * size_t(m_nStride) + size_t(x)];
    });
    return value;
}
