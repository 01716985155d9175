#include "document/image_resize.h"

#include <algorithm>
#include <cstring>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"

namespace document {

namespace {

void FreeBlocks(MemHandle image, const LayerBlocks& layers) {
    if (image) MemFree(image);
    for (MemHandle layer : layers)
        if (layer) MemFree(layer);
}

// An 8-bit image of width x height with the old image's 256 entries and its
// pixels at (0, 0); null when a block cannot be had.
MemHandle ResizedImage(MemHandle old, int oldWidth, int oldHeight, int width, int height) {
    MemHandle image = CreateDib8(width, height, 0);
    MemHandle table = image ? CopyDibColorTable(old) : nullptr;
    if (!table) {
        if (image) MemFree(image);
        return nullptr;
    }
    StoreDibColorTable(image, table);
    MemFree(table);
    BlitDibRect(image, old, 0, 0, std::min(oldWidth, width), std::min(oldHeight, height), 0, 0);
    return image;
}

// A layer block of width x height with the old layer's header and its
// pixels at (0, 0) (rows bottom-up); null when it cannot be had.
MemHandle ResizedLayer(MemHandle old, int oldWidth, int oldHeight, int width, int height) {
    const size_t oldRow = dib::LayerRowBytes(oldWidth), newRow = dib::LayerRowBytes(width);
    MemLockGuard from(old);
    if (!from || from.size() < LAYER_HEADER_SIZE + oldRow * size_t(oldHeight)) return nullptr;
    MemHandle layer = MemAlloc(LAYER_HEADER_SIZE + newRow * size_t(height));
    MemLockGuard to(layer);
    if (!to) {
        if (layer) MemFree(layer);
        return nullptr;
    }
    std::memcpy(to.get(), from.get(), LAYER_HEADER_SIZE);
    auto* header = to.as<LayerHeader>();
    header->left = 0;
    header->top = 0;
    header->right = width;
    header->bottom = height;
    const int rows = std::min(oldHeight, height);
    const size_t columns = size_t(std::min(oldWidth, width));
    for (int y = 0; y < rows; ++y)
        std::memcpy(to.get() + LAYER_HEADER_SIZE + size_t(height - 1 - y) * newRow,
                    from.get() + LAYER_HEADER_SIZE + size_t(oldHeight - 1 - y) * oldRow, columns);
    return layer;
}

}  // namespace

bool ReplaceImageAsStep(CPelmarkDoc& doc, MemHandle image, const LayerBlocks& layers, int layerCount,
                        int editLayer, const QString& text) {
    if (!image) {
        FreeBlocks(image, layers);
        return false;
    }
    // The step starts a history of its own; the marks come back when it
    // cannot be opened.
    const int32_t undoIndex = doc.m_nUndoIndex, redoLimit = doc.m_nRedoLimit;
    doc.m_nUndoIndex = doc.m_nRedoLimit = -1;
    if (!doc.PushUndo(kImageSizeAction, text, true)) {
        doc.m_nUndoIndex = undoIndex;
        doc.m_nRedoLimit = redoLimit;
        FreeBlocks(image, layers);
        return false;
    }
    FreeFloating(doc);
    doc.m_rcSelection = {};
    doc.m_rcFloatTarget = {};
    doc.m_bPasted = 0;
    doc.m_bMaskChanged = 0;
    if (doc.m_hLayerBackup) MemFree(doc.m_hLayerBackup);
    doc.m_hLayerBackup = nullptr;

    // The image kept from an earlier size change goes; the current one is
    // kept in its place.
    FreeBlocks(doc.m_hPrevImage, doc.m_hPrevLayers);
    doc.m_hPrevImage = doc.m_hImage;
    doc.m_hPrevLayers = doc.m_hLayers;
    doc.m_nPrevWidth = doc.m_nWidth;
    doc.m_nPrevHeight = doc.m_nHeight;
    doc.m_nPrevLayerCount = doc.m_nLayerCount;
    doc.m_nPrevEditLayer = doc.m_nEditLayer;

    doc.m_hImage = image;
    doc.m_hLayers = layers;
    doc.m_nLayerCount = layerCount;
    doc.m_nEditLayer = std::clamp(editLayer, 0, std::max(0, layerCount - 1));
    doc.InitDib();
    doc.SetModifiedFlag(true);
    doc.NoteContentChange();
    return true;
}

bool ResizeImage(CPelmarkDoc& doc, int width, int height) {
    const int oldWidth = doc.m_nWidth, oldHeight = doc.m_nHeight;
    if (width <= 0 || height <= 0 || !doc.m_hImage || (width == oldWidth && height == oldHeight)) return false;
    MemHandle image = ResizedImage(doc.m_hImage, oldWidth, oldHeight, width, height);
    LayerBlocks layers{};
    bool ok = image != nullptr;
    for (size_t i = 0; i < layers.size() && ok; ++i)
        if (doc.m_hLayers[i]) ok = (layers[i] = ResizedLayer(doc.m_hLayers[i], oldWidth, oldHeight, width, height));
    if (!ok) {
        FreeBlocks(image, layers);
        Host().ReportWorkMemoryShort();
        return false;
    }
    return ReplaceImageAsStep(doc, image, layers, doc.m_nLayerCount, doc.m_nEditLayer,
                              QStringLiteral("改变图象尺寸"));
}

}  // namespace document
