#include "tools/pixel_access.h"

#include <algorithm>

#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"

namespace tools {

bool DocLayerLock::Lock(const CPelmarkDoc& doc) {
    Unlock();
    if (!doc.m_hImage) return false;
    auto* block = static_cast<uint8_t*>(MemLock(doc.m_hImage));
    if (!block) return false;
    dib::DibGeometry geo;
    if (!dib::ReadDibGeometry(block, MemSize(doc.m_hImage), &geo) || geo.bitCount != 8 ||
        !geo.HoldsRows(dib::LayerRowBytes(geo.width))) {
        MemUnlock(doc.m_hImage);
        return false;
    }
    image_ = doc.m_hImage;
    dib::ReadColorTable(block, geo, colors_.data());
    stack_ = LayerStack{};
    stack_.composite = block + geo.bitsOffset;
    stack_.width = geo.width;
    stack_.height = geo.height;
    stack_.stride = dib::LayerRowBytes(geo.width);
    stack_.hasLayers = doc.m_nLayerCount > 0;
    stack_.current = doc.m_nEditLayer;
    stack_.layerStep = doc.m_bLayerStep != 0;
    int count = std::min<int>(doc.m_nLayerCount, int(doc.m_hLayers.size()));
    for (int i = 0; i < count; ++i) {
        MemHandle layer = doc.m_hLayers[size_t(i)];
        auto* bytes = layer ? static_cast<uint8_t*>(MemLock(layer)) : nullptr;
        if (!bytes) break;
        if (!dib::LayerFits(MemSize(layer), geo.width, geo.height)) {
            MemUnlock(layer);
            break;
        }
        layers_.push_back(layer);
        stack_.layers.push_back({reinterpret_cast<LayerHeader*>(bytes), bytes + LAYER_HEADER_SIZE});
    }
    return true;
}

void DocLayerLock::Unlock() {
    for (MemHandle layer : layers_) MemUnlock(layer);
    layers_.clear();
    if (image_) MemUnlock(image_);
    image_ = nullptr;
    stack_ = LayerStack{};
}

bool PixelAccess::Begin(CPelmarkDoc* doc, int tonePattern, RepaintSink* sink, bool guideEditing) {
    End();
    if (!doc || !lock_.Lock(*doc)) return false;
    target_.stack = lock_.stack();
    target_.colors = lock_.colors().data();
    target_.paletteEntries = doc->m_nColorMode ? 16 : 256;
    target_.penId = doc->m_nPenId;
    target_.SetTone(tonePattern, doc->m_bTone != 0, doc->m_nColor, doc->m_nColor2);
    target_.guideEditing = guideEditing;
    target_.sink = sink;
    return true;
}

void PixelAccess::End() {
    lock_.Unlock();
    target_ = DrawTarget{};
}

bool RecomposeDocument(const CPelmarkDoc& doc, const DibRect* rect) {
    DocLayerLock lock;
    if (!lock.Lock(doc)) return false;
    RecomposeLayers(lock.stack(), rect);
    return true;
}

}  // namespace tools
