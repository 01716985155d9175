#include "plugins/tesserel/mosaic_engine.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <QCursor>
#include <QGuiApplication>

#include "framework/wait_cursor.h"
#include "imaging/dib_geometry.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_layer_rgb.h"

MosaicEngine::MosaicEngine(MemHandle image, const PluginToolRecord* record) : m_info(image) {
    const int width = m_info.GetRowInfo(false), height = m_info.GetHeight();
    if (width <= 0 || height <= 0 || m_info.GetColorInfo(false) == 0) return;
    std::memcpy(m_table, m_info.m_pColorTable, size_t(m_info.GetColorInfo(false)) * sizeof(PaletteEntry));
    m_pSearch = std::make_unique<PaletteSearch>(m_table, m_info.GetColorInfo(false));

    const size_t maskBytes = size_t(width + 7) / 8 * size_t(height);
    if (record && record->selectionMask && MemSize(record->selectionMask) >= maskBytes) {
        if (auto* bits = static_cast<const uint8_t*>(MemLock(record->selectionMask))) {
            m_hMask = record->selectionMask;
            m_pMaskBits = bits;
            m_bMaskInUse = MaskHasBitInside(bits, width, height);
        }
    }
    MemHandle layer = ToolCurrentLayer(record);
    if (auto* block = static_cast<uint8_t*>(MemLock(layer))) {
        dib::LayerGeometry g;
        if (dib::ReadLayerGeometry(block, MemSize(layer), &g) && g.width == width && g.height == height) {
            m_hLayer = layer;
            m_pLayerBits = block + LAYER_HEADER_SIZE;
            m_nRowBytes = g.rowBytes;
            m_nPixelBytes = g.rowBytes * size_t(height);
        } else {
            MemUnlock(layer);
        }
    }
    if (m_pLayerBits) {
        m_pCopy.reset(new (std::nothrow) uint8_t[m_nPixelBytes]);
        if (m_pCopy) std::memcpy(m_pCopy.get(), m_pLayerBits, m_nPixelBytes);
    }
}

MosaicEngine::~MosaicEngine() {
    m_pCopy.reset();
    if (m_hLayer) MemUnlock(m_hLayer);
    if (m_hMask) MemUnlock(m_hMask);
}

void MosaicEngine::SwapBuffers(uint8_t* a, uint8_t* b, size_t length) {
    if (a && b) std::swap_ranges(a, a + length, b);
}

void MosaicEngine::ShowResult() {
    if (!m_pLayerBits || !m_pCopy || !m_bUntouchedShown) return;
    SwapBuffers(m_pLayerBits, m_pCopy.get(), m_nPixelBytes);
    m_bUntouchedShown = false;
}

void MosaicEngine::ShowOriginal() {
    if (!m_pLayerBits || !m_pCopy || m_bUntouchedShown) return;
    SwapBuffers(m_pLayerBits, m_pCopy.get(), m_nPixelBytes);
    m_bUntouchedShown = true;
}

uint8_t MosaicEngine::NearestIndex(uint8_t red, uint8_t green, uint8_t blue) {
    return m_pSearch ? m_pSearch->Find(blue, green, red) : 0;
}

void MosaicEngine::Apply(int n) {
    if (!Ready()) return;
    ShowOriginal();
    if (n <= 1) {
        std::memcpy(m_pCopy.get(), m_pLayerBits, m_nPixelBytes);
        return;
    }
    framework::WaitCursor wait;
    const int width = m_info.GetRowInfo(false), height = m_info.GetHeight();
    const size_t maskRow = size_t(width + 7) / 8;
    const uint8_t* mask = m_bMaskInUse ? m_pMaskBits : nullptr;
    auto counted = [&](int x, int topRow) {
        return !mask || ((mask[size_t(topRow) * maskRow + size_t(x) / 8] >> (7 - x % 8)) & 1);
    };
    for (int top = 0; top < height; top += n) {
        const int bottom = std::min(top + n, height);
        for (int left = 0; left < width; left += n) {
            const int right = std::min(left + n, width);
            uint32_t blue = 0, green = 0, red = 0, count = 0;
            for (int y = top; y < bottom; ++y) {
                const uint8_t* row = m_pLayerBits + size_t(height - 1 - y) * m_nRowBytes;
                for (int x = left; x < right; ++x) {
                    if (!counted(x, y)) continue;
                    const PaletteEntry& e = m_table[row[x]];
                    blue += e.blue;
                    green += e.green;
                    red += e.red;
                    ++count;
                }
            }
            if (count == 0) continue;  // nothing to write (the average would divide by 1)
            const uint8_t index = NearestIndex(uint8_t(red / count), uint8_t(green / count), uint8_t(blue / count));
            for (int y = top; y < bottom; ++y) {
                uint8_t* row = m_pCopy.get() + size_t(height - 1 - y) * m_nRowBytes;
                for (int x = left; x < right; ++x)
                    if (counted(x, y)) row[x] = index;
            }
        }
    }
}
