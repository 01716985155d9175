#include "document/layer_factory.h"

#include <algorithm>
#include <cstring>

#include "document/document_host.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"

namespace document {

QString DefaultLayerName(int slot) {
    return QStringLiteral("层 %1").arg(slot, 3, 10, QLatin1Char('0'));
}

void SetLayerName(LayerHeader& header, const QString& name) {
    std::memset(header.name, 0, sizeof header.name);
    QByteArray bytes = name.toUtf8();
    size_t length = std::min(size_t(bytes.size()), sizeof header.name - 1);
    // Never end in half a character: step back over continuation bytes.
    if (length < size_t(bytes.size()))
        while (length > 0 && (uint8_t(bytes[qsizetype(length)]) & 0xC0) == 0x80) --length;
    std::memcpy(header.name, bytes.constData(), length);
}

bool CreateLayer(CPelmarkDoc& doc, int slot, int visible, const LayerOptions& options) {
    if (slot < 0 || slot >= kLayerSlots || doc.m_hLayers[size_t(slot)]) return false;
    if (doc.m_nWidth <= 0 || doc.m_nHeight <= 0) return false;
    uint64_t size = LAYER_HEADER_SIZE + uint64_t(dib::LayerRowBytes(doc.m_nWidth)) * uint64_t(doc.m_nHeight);
    MemHandle layer = size <= SIZE_MAX ? MemAlloc(size_t(size)) : nullptr;
    if (!layer) {
        Host().ReportWorkMemoryShort();
        return false;
    }
    bool takeComposite = options.fromDialog && slot == 0;
    {
        MemLockGuard lock(layer);
        auto* header = lock.as<LayerHeader>();
        header->number = uint8_t(slot);
        header->visible = uint8_t(takeComposite ? 1 : visible);
        header->drawMode = uint8_t(options.drawMode);
        SetLayerName(*header, options.name.isEmpty() ? DefaultLayerName(slot) : options.name);
        header->left = 0;
        header->top = 0;
        header->right = doc.m_nWidth;
        header->bottom = doc.m_nHeight;
    }
    if (takeComposite) CopyImageToLayer(doc.m_hImage, layer);
    doc.m_hLayers[size_t(slot)] = layer;
    ++doc.m_nLayerCount;
    return true;
}

bool CopyImageToLayer(MemHandle image, MemHandle layer) {
    if (!image || !layer || image == layer) return false;
    dib::LockedDib source(image);
    if (!source || source.geo().bitCount != 8) return false;
    const dib::DibGeometry& g = source.geo();
    size_t sourceRow = g.PaddedRow();
    if (!g.HoldsRows(sourceRow)) return false;
    MemLockGuard target(layer);
    dib::LayerGeometry lg;
    if (!target || !dib::ReadLayerGeometry(target.get(), target.size(), &lg)) return false;
    int width = std::min(g.width, lg.width);
    int height = std::min(g.height, lg.height);
    uint8_t* pixels = target.get() + LAYER_HEADER_SIZE;
    // Memory rows run bottom-up: top-left alignment pairs the top rows.
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = source.Row(g.height - 1 - y, sourceRow);
        uint8_t* to = pixels + size_t(lg.height - 1 - y) * lg.rowBytes;
        std::memcpy(to, from, size_t(width));
    }
    return true;
}

}  // namespace document
