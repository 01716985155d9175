#include "plugins/floodkit/fill_context.h"

#include <algorithm>

#include "imaging/dib_geometry.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_layer_rgb.h"

namespace {

constexpr uint16_t kToneMasks[16] = {0xFFFF, 0xEFFF, 0xEFBF, 0xAFBF, 0xAFAF, 0xADAF, 0xADA7, 0xA5A7,
                                     0xA5A5, 0x85A5, 0x8525, 0x0525, 0x0505, 0x0405, 0x0401, 0x0001};

// The widest edge the tool palette offers.
constexpr int kMaxEdgeWidth = 50;

// Locks a block; null (nothing held) when it cannot be locked or is
// smaller than `needed`.
uint8_t* LockAtLeast(MemHandle block, size_t needed, MemHandle* held) {
    if (!block || MemSize(block) < needed) return nullptr;
    auto* bytes = static_cast<uint8_t*>(MemLock(block));
    if (bytes) *held = block;
    return bytes;
}

void UnlockHeld(MemHandle* held) {
    if (*held) MemUnlock(*held);
    *held = nullptr;
}

}  // namespace

uint16_t ToneMaskOf(int density) { return kToneMasks[std::clamp(density, 0, 15)]; }

FillContext::FillContext(const PluginToolRecord* record, const PluginToolInfo* info)
    : m_pRecord(record), m_pInfo(info) {
    if (!record) return;
    m_nFillColor = record->currentColor ? std::clamp(*record->currentColor, 0, 255) : 0;
    m_wToneMask = ToneMaskOf(record->toneIndex);
    m_nEdgeWidth = std::clamp(record->toolOption, 0, kMaxEdgeWidth);
    if (record->clickX && record->clickY) {
        m_nSeedX = *record->clickX;
        m_nSeedY = *record->clickY;
    } else {
        m_nSeedX = m_nSeedY = -1;
    }
}

FillContext::~FillContext() { ReleaseAll(); }

void FillContext::ReleaseAll() {
    m_pWeights.reset();
    m_pWork.reset();
    m_pMask.reset();
    m_pPattern.reset();
    m_pLayer.reset();
    m_pImage.reset();
    UnlockHeld(&m_hLockedPattern);
    UnlockHeld(&m_hLockedLayer);
    UnlockHeld(&m_hLockedMask);
    UnlockHeld(&m_hLockedImage);
}

bool FillContext::Prepare() {
    ReleaseAll();
    if (!m_pRecord || !m_pInfo || !m_pInfo->image) return false;
    // The composite: a whole 8-bit DIB with an information header and all
    // 256 table entries (its description and colours are read that way).
    {
        dib::LockedDib check(m_pInfo->image);
        const dib::DibGeometry& g = check.geo();
        if (!check || g.core || g.headerSize != DIB_INFO_HEADER_SIZE || g.bitCount != 8 || g.entries != 256 ||
            g.width <= 0 || g.height <= 0)
            return false;
    }
    if (!MemLock(m_pInfo->image)) return false;
    m_hLockedImage = m_pInfo->image;
    m_pImage = std::make_unique<PaletteDibInfo>(m_pInfo->image);
    m_nWidth = m_pImage->GetRowInfo(false);
    m_nHeight = m_pImage->GetHeight();
    const PaletteEntry* palette = m_pImage->m_pColorTable;
    if (m_nWidth <= 0 || m_nHeight <= 0 || !palette) return ReleaseAll(), false;

    // The rectangle and the seed.
    const ToolRowSpan span = ToolRowSpanOf(m_pRecord, m_nWidth, m_nHeight);
    if (span.empty()) return ReleaseAll(), false;
    m_rcFill = {span.left, m_nHeight - span.endRow, span.right, m_nHeight - span.firstRow};
    if (m_nSeedX < m_rcFill.left || m_nSeedX >= m_rcFill.right || m_nSeedY < m_rcFill.top ||
        m_nSeedY >= m_rcFill.bottom)
        return ReleaseAll(), false;

    // The current layer, 8 bits of the image's size.
    const int edit = m_pRecord->editLayer;
    MemHandle layer = (m_pRecord->layers && edit >= 0 && edit < 100) ? m_pRecord->layers[edit] : nullptr;
    {
        MemLockGuard check(layer);
        dib::LayerGeometry g;
        if (!check || !dib::ReadLayerGeometry(check.get(), check.size(), &g) || g.width != m_nWidth ||
            g.height != m_nHeight)
            return ReleaseAll(), false;
    }
    const size_t layerStride = BitPlane::StrideOf(m_nWidth, 8);
    uint8_t* layerBytes =
        LockAtLeast(layer, LAYER_HEADER_SIZE + layerStride * size_t(m_nHeight), &m_hLockedLayer);
    if (!layerBytes) return ReleaseAll(), false;
    m_pLayer = std::make_unique<BitPlane>(m_nWidth, m_nHeight, 8, layerBytes + LAYER_HEADER_SIZE, palette);

    // The selection: the host's mask when it holds a set bit, else an own
    // cleared plane and the whole image.
    const size_t maskBytes = BitPlane::StrideOf(m_nWidth, 1) * size_t(m_nHeight);
    if (uint8_t* bits = LockAtLeast(m_pRecord->selectionMask, maskBytes, &m_hLockedMask)) {
        m_pMask = std::make_unique<BitPlane>(m_nWidth, m_nHeight, 1, bits, nullptr);
        m_bMaskInUse = MaskHasBitInside(bits, m_nWidth, m_nHeight);
    } else {
        m_pMask = std::make_unique<BitPlane>(m_nWidth, m_nHeight, 1, nullptr, nullptr);
        m_bMaskInUse = false;
    }
    m_pWork = std::make_unique<BitPlane>(m_nWidth, m_nHeight, 1, nullptr, nullptr);
    if (!m_pMask->Valid() || !m_pWork->Valid()) return ReleaseAll(), false;

    // The pattern, only when its block holds all its rows.
    const int pw = m_pRecord->patternWidth, ph = m_pRecord->patternHeight;
    if (m_pRecord->pattern && pw > 0 && ph > 0) {
        const size_t needed = LAYER_HEADER_SIZE + BitPlane::StrideOf(pw, 8) * size_t(ph);
        if (uint8_t* bits = LockAtLeast(m_pRecord->pattern, needed, &m_hLockedPattern))
            m_pPattern = std::make_unique<BitPlane>(pw, ph, 8, bits + LAYER_HEADER_SIZE, palette);
    }
    return true;
}

bool FillContext::Selected(int x, int y) const {
    if (!m_bMaskInUse) return true;
    return (m_pMask->Row(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

int FillContext::NearestIndex(int red, int green, int blue) const {
    if (!m_pImage || !m_pImage->m_pColorTable) return 0;
    return NearestPaletteIndex(m_pImage->m_pColorTable, std::min(m_pImage->GetColorInfo(false), 256),
                               uint8_t(blue), uint8_t(green), uint8_t(red));
}
