#include "document/selection_mask_doc.h"

#include <algorithm>
#include <cstring>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/image_limits.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"
#include "platform/message_box.h"

namespace document {

namespace {

// Bytes of a whole maximum-size mask, never more than the block holds.
size_t WholeMaskBytes(MemHandle mask) {
    MaxImageSize max = GetMaxImageSize();
    return std::min(MemSize(mask), size_t(max.width / 8) * size_t(max.height));
}

void FillWhole(MemHandle mask, uint8_t value) {
    MemLockGuard lock(mask);
    if (lock) std::memset(lock.get(), value, WholeMaskBytes(mask));
}

// Writes `value` into every pixel of an image-size layer whose selection bit
// is set.
void WriteMaskedPixels(const CPelmarkDoc& doc, MemHandle layer, uint8_t value) {
    LockedMask mask(doc, doc.m_hMask);
    MemLockGuard lock(layer);
    if (!mask || !lock) return;
    int w = doc.m_nWidth, h = doc.m_nHeight;
    if (!dib::LayerFits(lock.size(), w, h)) return;
    size_t stride = dib::LayerRowBytes(w);
    uint8_t* pixels = lock.get() + LAYER_HEADER_SIZE;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = pixels + size_t(h - 1 - y) * stride;
        const uint8_t* bits = mask.bits().Row(y);
        for (int x = 0; x < w; ++x)
            if ((bits[x >> 3] >> (7 - (x & 7))) & 1) row[x] = value;
    }
}

void RefreshAfterMaskEdit(CPelmarkDoc& doc) {
    Host().ImageChanged(&doc);
    Host().LayersChanged(&doc);
}

}  // namespace

LockedMask::LockedMask(MemHandle mask, int width, int height) : lock_(mask) {
    if (!lock_) return;
    bits_ = {lock_.get(), lock_.size(), width, height};
}

LockedMask::LockedMask(const CPelmarkDoc& doc, MemHandle mask)
    : LockedMask(mask, doc.m_nWidth, doc.m_nHeight) {}

MemHandle SecondMask(const CPelmarkDoc& doc) { return doc.m_hMask3; }

void ClearMask(CPelmarkDoc& doc) { FillWhole(doc.m_hMask, 0); }
void FillMask(CPelmarkDoc& doc) { FillWhole(doc.m_hMask, 0xFF); }
void ClearSecondMask(CPelmarkDoc& doc) { FillWhole(SecondMask(doc), 0); }

void CopyMask(MemHandle destination, MemHandle source) {
    if (!destination || !source || destination == source) return;
    MemLockGuard to(destination), from(source);
    if (!to || !from) return;
    std::memcpy(to.get(), from.get(), std::min(WholeMaskBytes(destination), WholeMaskBytes(source)));
}

void CombineMasks(MemHandle destination, MemHandle source) {
    if (!destination || !source || destination == source) return;
    MemLockGuard to(destination), from(source);
    if (!to || !from) return;
    size_t n = std::min(WholeMaskBytes(destination), WholeMaskBytes(source));
    for (size_t i = 0; i < n; ++i) to.get()[i] |= from.get()[i];
}

void ExchangeSecondMask(CPelmarkDoc& doc, int direction) {
    MemHandle second = SecondMask(doc);
    if (!doc.m_hMask || !second) return;
    switch (direction) {
    case 0:
        CopyMask(second, doc.m_hMask);
        break;
    case 1: {
        MemLockGuard a(doc.m_hMask), b(second);
        if (!a || !b) return;
        size_t n = std::min(WholeMaskBytes(doc.m_hMask), WholeMaskBytes(second));
        std::swap_ranges(a.get(), a.get() + n, b.get());
        break;
    }
    case 2:
        CopyMask(doc.m_hMask, second);
        break;
    default:
        break;
    }
}

void ClipSelectionToImage(CPelmarkDoc& doc) {
    if (!doc.m_hMask || !SecondMask(doc)) return;
    ExchangeSecondMask(doc, 0);
    BeginMaskEdit(doc, 1);
    {
        LockedMask from(doc, SecondMask(doc)), to(doc, doc.m_hMask);
        if (from && to) ShiftMaskBits(from.bits(), to.bits(), 0, 0);
    }
    ClearSecondMask(doc);
}

void ShiftMaskIntoSecond(CPelmarkDoc& doc, int dx, int dy) {
    if (!doc.m_hMask || !SecondMask(doc)) return;
    ClearSecondMask(doc);
    LockedMask from(doc, doc.m_hMask), to(doc, SecondMask(doc));
    if (from && to) ShiftMaskBits(from.bits(), to.bits(), dx, dy);
}

void SetMaskBit(const CPelmarkDoc& doc, MemHandle mask, int x, int y, int mode) {
    LockedMask m(doc, mask);
    if (m) SetMaskBit(m.bits(), x, y, mode);
}

int TestMaskBit(const CPelmarkDoc& doc, MemHandle mask, int x, int y) {
    LockedMask m(doc, mask);
    return m ? TestMaskBit(m.bits(), x, y) : 0;
}

void MaskFillRect(CPelmarkDoc& doc, int left, int top, int right, int bottom) {
    LockedMask m(doc, doc.m_hMask);
    if (m) MaskFillRect(m.bits(), left, top, right, bottom);
}

DibRect MaskBoundingRect(const CPelmarkDoc& doc, DibRect* out) {
    LockedMask m(doc, doc.m_hMask);
    DibRect r = m ? MaskBoundingRect(m.bits()) : DibRect{doc.m_nWidth, doc.m_nHeight, 0, 0};
    if (out) *out = r;
    return r;
}

MemHandle CopyMaskRect(const CPelmarkDoc& doc, int left, int top, int right, int bottom) {
    MaskRectLayout layout = MaskRectLayoutOf(left, top, right, bottom);
    if (layout.rows == 0 || !doc.m_hMask) return nullptr;
    LockedMask m(doc, doc.m_hMask);
    if (!m) return nullptr;
    MemHandle block = MemAlloc(layout.BlockSize());
    if (!block) return nullptr;
    MemLockGuard out(block);
    CopyMaskRectBytes(m.bits(), left, top, right, bottom, out.get(), out.size());
    return block;
}

void PasteMaskBits(CPelmarkDoc& doc, MemHandle block, int left, int top, int right, int bottom,
                   int dx, int dy, int shift) {
    MemLockGuard source(block);
    LockedMask m(doc, doc.m_hMask);
    if (!source || !m) return;
    PasteMaskBits(m.bits(), source.get(), source.size(), left, top, right, bottom, dx, dy, shift);
}

void ClearMaskedPixels(CPelmarkDoc& doc, int mode) {
    MemHandle current = CurrentLayerOf(doc);
    if (mode == 0) {
        if (!current) return;
        WriteMaskedPixels(doc, current, 0);
    } else {
        if (!current || !doc.m_hLayerBackup) return;
        WriteMaskedPixels(doc, doc.m_hLayerBackup, 0);
    }
    RefreshAfterMaskEdit(doc);
}

void FillMaskedPixels(CPelmarkDoc& doc, MemHandle layer, int color) {
    if (!layer) return;
    WriteMaskedPixels(doc, layer, uint8_t(color));
}

bool FloodFillMask(CPelmarkDoc& doc, int x, int y) {
    LockedMask m(doc, doc.m_hMask);
    return m && FloodFillMask(m.bits(), x, y);
}

void MaskFillSpans(CPelmarkDoc& doc) {
    LockedMask m(doc, doc.m_hMask);
    MemLockGuard map(doc.m_hPixelFlags);
    if (m && map) MaskFillSpans(m.bits(), map.get(), map.size());
}

namespace {

// Plots clamped points into the selection mask or the byte map.
class MaskPlotter {
public:
    MaskPlotter(CPelmarkDoc& doc, int target)
        : target_(target), w_(doc.m_nWidth), h_(doc.m_nHeight),
          mask_(doc, target == kTargetSelection ? doc.m_hMask : nullptr),
          map_(target == kTargetByteMap ? doc.m_hPixelFlags : nullptr) {}
    void operator()(int x, int y) {
        if (w_ <= 0 || h_ <= 0) return;
        x = std::clamp(x, 0, w_ - 1);
        y = std::clamp(y, 0, h_ - 1);
        if (target_ == kTargetByteMap) {
            size_t at = size_t(x) + size_t(y) * size_t(w_);
            if (map_ && at < map_.size()) map_.get()[at] |= 1;
        } else if (mask_) {
            mask_.bits().Put(x, y);
        }
    }

private:
    int target_, w_, h_;
    LockedMask mask_;
    MemLockGuard map_;
};

}  // namespace

void PlotMaskPoint(CPelmarkDoc& doc, int x, int y, int target) { MaskPlotter(doc, target)(x, y); }

void PlotMaskLine(CPelmarkDoc& doc, int x0, int y0, int x1, int y1, int target) {
    MaskPlotter plot(doc, target);
    ForEachLinePoint(x0, y0, x1, y1, plot);
}

void RasterizeEllipse(CPelmarkDoc& doc, int cx, int cy, int rx, int ry, int width, int height,
                      int target) {
    MaskPlotter plot(doc, target);
    for (const RowSpan& span : EllipseRows(cx, cy, rx, ry, width, height))
        for (int x = span.x0; x <= span.x1; ++x) plot(x, span.y);
}

void BeginMaskEdit(CPelmarkDoc& doc, int flags) {
    if (flags & 1) FillWhole(doc.m_hMask, 0);
    if (flags & 2) {
        MemLockGuard map(doc.m_hPixelFlags);
        MaxImageSize max = GetMaxImageSize();
        if (map)
            std::memset(map.get(), 0, std::min(map.size(), size_t(max.width) * size_t(max.height)));
    }
}

void ResetLasso(CPelmarkDoc& doc) {
    MaxImageSize max = GetMaxImageSize();
    doc.m_Selection.lasso.Reset(max.width, max.height);
}

bool AddLassoPoint(CPelmarkDoc& doc, int x, int y) {
    if (doc.m_Selection.lasso.Add(x, y, doc.m_nWidth, doc.m_nHeight)) return true;
    ShowMessageBox(nullptr, "无法继续选择。", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
    return false;
}

const std::vector<LassoPoint>& GetLassoPoints(const CPelmarkDoc& doc) {
    static std::vector<LassoPoint> points;
    const LassoList& lasso = doc.m_Selection.lasso;
    points.assign(lasso.Points(), lasso.Points() + lasso.Count());
    return points;
}

void OffsetLasso(CPelmarkDoc& doc, int dx, int dy) { doc.m_Selection.lasso.Offset(dx, dy); }

void NormalizeLasso(CPelmarkDoc& doc) {
    MaxImageSize max = GetMaxImageSize();
    doc.m_Selection.lasso.Normalize(max.width, max.height);
}

std::vector<OutlineSegment> SelectionOutlineSegments(const CPelmarkDoc& doc, int zoom, int ox,
                                                     int oy, int whichMask) {
    LockedMask m(doc, whichMask == 1 ? SecondMask(doc) : doc.m_hMask);
    if (!m) return {};
    return SelectionOutline(m.bits(), zoom, ox, oy);
}

}  // namespace document
