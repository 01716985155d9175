#include "document/layer_operations.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/image_resize.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "imaging/layer_stack.h"

namespace document {

namespace {


// Pixel bytes of a layer of the document's size; 0 without a size.
size_t PixelBytes(const CPelmarkDoc& doc) {
    if (doc.m_nWidth <= 0 || doc.m_nHeight <= 0) return 0;
    return dib::LayerRowBytes(doc.m_nWidth) * size_t(doc.m_nHeight);
}

// A locked layer with its header and pixels; false for an empty slot or a
// block too small for the document's size.
class LockedLayer {
public:
    LockedLayer(MemHandle layer, size_t pixelBytes)
        : lock_(layer), ok_(lock_ && pixelBytes > 0 && lock_.size() >= LAYER_HEADER_SIZE + pixelBytes) {}
    explicit operator bool() const { return ok_; }
    LayerHeader& header() const { return *lock_.as<LayerHeader>(); }
    uint8_t* pixels() const { return lock_.get() + LAYER_HEADER_SIZE; }

private:
    MemLockGuard lock_;
    bool ok_;
};

MemHandle LayerAt(const CPelmarkDoc& doc, int index) {
    return index >= 0 && index < kLayerSlots ? doc.m_hLayers[size_t(index)] : nullptr;
}

bool ReplacePixels(MemHandle layer, const std::vector<uint8_t>& pixels) {
    LockedLayer target(layer, pixels.size());
    if (!target || pixels.empty()) return false;
    std::memcpy(target.pixels(), pixels.data(), pixels.size());
    return true;
}

}  // namespace

std::vector<uint8_t> ComposeVisibleLayers(const CPelmarkDoc& doc) {
    const size_t n = PixelBytes(doc);
    std::vector<uint8_t> out(n, 0);
    if (!n) return out;
    // The same composition the screen shows, into a buffer of our own.
    std::vector<std::unique_ptr<LockedLayer>> locks;
    tools::LayerStack stack;
    stack.composite = out.data();
    stack.width = doc.m_nWidth;
    stack.height = doc.m_nHeight;
    stack.stride = dib::LayerRowBytes(doc.m_nWidth);
    stack.hasLayers = true;
    // The layers the composite is made of: the table up to the layer count
    // and its first missing block.
    const int count = std::min<int>(doc.m_nLayerCount, kLayerSlots);
    for (int i = 0; i < count; ++i) {
        auto layer = std::make_unique<LockedLayer>(doc.m_hLayers[size_t(i)], n);
        if (!*layer) break;
        stack.layers.push_back({&layer->header(), layer->pixels()});
        locks.push_back(std::move(layer));
    }
    tools::RecomposeLayers(stack);
    return out;
}

bool MergeIntoCurrent(CPelmarkDoc& doc, int layer) {
    const size_t n = PixelBytes(doc);
    MemHandle currentHandle = CurrentLayerOf(doc);
    MemHandle otherHandle = LayerAt(doc, layer);
    if (!currentHandle || !otherHandle || currentHandle == otherHandle) return false;
    LockedLayer current(currentHandle, n);
    LockedLayer other(otherHandle, n);
    if (!current || !other) return false;
    if (current.header().drawMode == LAYER_DRAW_INDEX0_CLEAR) {
        uint8_t* to = current.pixels();
        const uint8_t* from = other.pixels();
        for (size_t i = 0; i < n; ++i)
            if (!to[i]) to[i] = from[i];
    }
    return true;
}

bool FlattenIntoCurrent(CPelmarkDoc& doc) {
    return ReplacePixels(CurrentLayerOf(doc), ComposeVisibleLayers(doc));
}

bool FlattenIntoFirstVisible(CPelmarkDoc& doc) {
    const size_t n = PixelBytes(doc);
    for (MemHandle handle : doc.m_hLayers) {
        bool visible = false;
        {
            LockedLayer layer(handle, n);
            visible = layer && layer.header().visible;
        }
        if (visible) return ReplacePixels(handle, ComposeVisibleLayers(doc));
    }
    return false;
}

void SetAllDrawModes(CPelmarkDoc& doc, int mode) {
    for (MemHandle handle : doc.m_hLayers) {
        MemLockGuard lock(handle);
        if (lock && lock.size() >= LAYER_HEADER_SIZE) lock.as<LayerHeader>()->drawMode = uint8_t(mode);
    }
}

void SetLayerVisible(CPelmarkDoc& doc, int layer, bool visible) {
    MemLockGuard lock(LayerAt(doc, layer));
    if (lock && lock.size() >= LAYER_HEADER_SIZE) lock.as<LayerHeader>()->visible = visible ? 1 : 0;
}

bool DeleteCurrentLayer(CPelmarkDoc& doc) {
    const int index = doc.m_nEditLayer;
    if (!CurrentLayerOf(doc)) return false;
    if (!doc.PushUndo(kLayerAction, QStringLiteral("消除层"), true)) return false;
    MemFree(doc.m_hLayers[size_t(index)]);
    // The table keeps no holes.
    std::move(doc.m_hLayers.begin() + index + 1, doc.m_hLayers.end(), doc.m_hLayers.begin() + index);
    doc.m_hLayers.back() = nullptr;
    doc.m_nLayerCount = std::max(doc.m_nLayerCount - 1, 0);
    if (doc.m_nLayerCount == 0) doc.m_nEditLayer = 0;
    else if (doc.m_nEditLayer >= doc.m_nLayerCount) doc.m_nEditLayer = doc.m_nLayerCount - 1;
    doc.SetModifiedFlag(true);
    return true;
}

bool NewLayer(CPelmarkDoc& doc, int slot, const LayerOptions& options) {
    if (slot < 0 || slot >= kLayerSlots || doc.m_hLayers[size_t(slot)]) return false;
    if (!doc.PushUndo(kLayerAction, QStringLiteral("新建层"), true)) return false;
    if (!CreateLayer(doc, slot, 1, options)) {
        doc.DropUndoStep();
        return false;
    }
    return true;
}

bool CopyCurrentLayer(CPelmarkDoc& doc, const QString& name) {
    MemHandle source = CurrentLayerOf(doc);
    const int slot = doc.m_nLayerCount;
    if (!source || slot < 0 || slot >= kLayerSlots || doc.m_hLayers[size_t(slot)]) return false;
    if (!doc.PushUndo(kLayerAction, QStringLiteral("复制层"), true)) return false;
    MemHandle copy = DuplicateGlobal(source);
    if (!copy) {
        doc.DropUndoStep();
        Host().ReportWorkMemoryShort();
        return false;
    }
    {
        MemLockGuard lock(copy);
        if (lock.size() >= LAYER_HEADER_SIZE) {
            auto* header = lock.as<LayerHeader>();
            header->visible = 1;
            SetLayerName(*header, name);
        }
    }
    doc.m_hLayers[size_t(slot)] = copy;
    ++doc.m_nLayerCount;
    doc.SetModifiedFlag(true);
    return true;
}

bool LayOutLayerSheet(CPelmarkDoc& doc, int width, int height, int columns, int rows, bool dropUncovered) {
    const int oldWidth = doc.m_nWidth, oldHeight = doc.m_nHeight;
    if (width <= 0 || height <= 0 || columns <= 0 || rows <= 0 || !doc.m_hImage ||
        oldWidth <= 0 || oldHeight <= 0)
        return false;
    std::vector<MemHandle> layers;
    for (MemHandle layer : doc.m_hLayers)
        if (layer) layers.push_back(layer);
    // A layer without a cell would be lost for good: only when the user
    // agreed to it.
    const int64_t cells = int64_t(columns) * rows;
    if (cells < int64_t(layers.size())) {
        if (!dropUncovered) return false;
        layers.resize(size_t(cells));
    }

    MemHandle image = CreateDib8(width, height, 0);
    MemHandle table = image ? CopyDibColorTable(doc.m_hImage) : nullptr;
    const size_t oldRow = dib::LayerRowBytes(oldWidth), newRow = dib::LayerRowBytes(width);
    MemHandle sheet = table && !layers.empty() ? MemAlloc(LAYER_HEADER_SIZE + newRow * size_t(height))
                                               : nullptr;
    if (!image || !table || (!layers.empty() && !sheet)) {
        for (MemHandle h : {image, table, sheet})
            if (h) MemFree(h);
        Host().ReportWorkMemoryShort();
        return false;
    }
    StoreDibColorTable(image, table);
    MemFree(table);
    BlitDibRect(image, doc.m_hImage, 0, 0, oldWidth, oldHeight, 0, 0);

    if (sheet) {
        MemLockGuard to(sheet);
        const size_t oldPixels = oldRow * size_t(oldHeight);
        for (size_t k = 0; k < layers.size(); ++k) {
            LockedLayer from(layers[k], oldPixels);
            if (!from) continue;
            if (k == 0) {
                std::memcpy(to.get(), &from.header(), LAYER_HEADER_SIZE);
                auto* header = to.as<LayerHeader>();
                header->left = 0;
                header->top = 0;
                header->right = width;
                header->bottom = height;
            }
            const int cellX = int(k % size_t(columns)) * oldWidth;
            const int cellY = int(k / size_t(columns)) * oldHeight;
            const int copyWidth = std::min(oldWidth, width - cellX);
            for (int y = 0; y < oldHeight && cellY + y < height && copyWidth > 0; ++y) {
                const uint8_t* src = from.pixels() + size_t(oldHeight - 1 - y) * oldRow;
                uint8_t* dst = to.get() + LAYER_HEADER_SIZE + size_t(height - 1 - cellY - y) * newRow;
                std::memcpy(dst + cellX, src, size_t(copyWidth));
            }
        }
    }
    LayerBlocks blocks{};
    blocks[0] = sheet;
    return ReplaceImageAsStep(doc, image, blocks, sheet ? 1 : 0, 0, QStringLiteral("展开图层"));
}

std::array<uint8_t, 256>& UsedColorTable() {
    static std::array<uint8_t, 256> table{};
    return table;
}

}  // namespace document
