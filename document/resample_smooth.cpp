#include "document/resample_smooth.h"

#include <algorithm>
#include <climits>
#include <new>

#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/floating_selection_transform.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "imaging/area_resample.h"
#include "imaging/dib_geometry.h"
#include "imaging/edge_smooth.h"
#include "imaging/palette_match.h"

namespace document {

namespace {

// The composite's colour table and how many of its entries results may take.
struct DocPalette {
    PaletteEntry entries[256];
    int count = 0;
    void Put(uint8_t index, uint8_t* bgr) const {
        const PaletteEntry& e = entries[index];
        bgr[0] = e.blue;
        bgr[1] = e.green;
        bgr[2] = e.red;
    }
};

bool ReadDocPalette(const CPelmarkDoc& doc, DocPalette* out) {
    dib::LockedDib image(doc.m_hImage);
    if (!image) return false;
    dib::ReadColorTable(image.data(), image.geo(), out->entries);
    out->count = doc.m_nColorMode ? 16 : 256;
    return true;
}

// A 24-bit work image of width x height (rows packed, top row first), held
// as a memory block for the length of a scope.
class WorkImage {
public:
    WorkImage(int width, int height)
        : handle_(MemAlloc(size_t(width) * size_t(height) * 3)),
          data_(static_cast<uint8_t*>(MemLock(handle_))) {}
    ~WorkImage() {
        if (data_) MemUnlock(handle_);
        if (handle_) MemFree(handle_);
    }
    WorkImage(const WorkImage&) = delete;
    WorkImage& operator=(const WorkImage&) = delete;
    uint8_t* data() const { return data_; }

private:
    MemHandle handle_;
    uint8_t* data_;
};

// Writes the nearest colour of each work pixel into the selected pixels of
// `window` (image pixels; the work image covers it exactly).
void WriteSelected(const CPelmarkDoc& doc, const DocPalette& palette, const uint8_t* work,
                   const DibRect& window, const LayerPixels& layer) {
    LockedMask selection(doc, doc.m_hMask);
    if (!selection) return;
    dib::NearestColorCache nearest(palette.entries, palette.count);
    size_t stride = size_t(window.right - window.left) * 3;
    for (int y = window.top; y < window.bottom; ++y) {
        const uint8_t* p = work + size_t(y - window.top) * stride;
        for (int x = window.left; x < window.right; ++x, p += 3) {
            if (!selection.bits().Get(x, y)) continue;
            int index = nearest.Find(p[0], p[1], p[2]);
            if (index >= 0) layer.At(x, y) = uint8_t(index);
        }
    }
}

}  // namespace

int ResampleIntoLayer(CPelmarkDoc& doc, const DibRect& input, const DibRect& output,
                      MemHandle layer) {
    MemLockGuard target(layer);
    LayerPixels out;
    DocPalette palette;
    if (!ImageLayerPixels(doc, target, &out) || !ReadDocPalette(doc, &palette)) return 0;
    DibRect in = OrderedRect(input), to = OrderedRect(output);
    int64_t iw = int64_t(in.right) - in.left, ih = int64_t(in.bottom) - in.top;
    int64_t ow = int64_t(to.right) - to.left, oh = int64_t(to.bottom) - to.top;
    DibRect window{std::max(to.left, 0), std::max(to.top, 0), std::min(to.right, doc.m_nWidth),
                   std::min(to.bottom, doc.m_nHeight)};
    if (iw <= 0 || ih <= 0 || ow <= 0 || oh <= 0 || RectEmpty(window)) return 1;
    auto noMemory = [] {
        Host().ReportOutOfMemory();
        return 0;
    };
    if (iw > INT_MAX || ih > INT_MAX || ow > INT_MAX || oh > INT_MAX) return noMemory();

    // Where the input is read: the floating image, else the layer itself.
    MemLockGuard floating(doc.m_hFloatImage);
    LayerPixels source = out;
    if (doc.m_hFloatImage && !LayerPixelsOf(floating, &source)) return 0;
    int64_t ox = int64_t(in.left) + doc.m_Selection.pasteOffsetX;
    int64_t oy = int64_t(in.top) + doc.m_Selection.pasteOffsetY;

    WorkImage work(window.right - window.left, window.bottom - window.top);
    if (!work.data()) return noMemory();
    size_t stride = size_t(window.right - window.left) * 3;
    try {
        dib::AreaResample(
            int(iw), int(ih), int(ow), int(oh),
            {window.left - to.left, window.top - to.top, window.right - to.left,
             window.bottom - to.top},
            [&](int y, uint8_t* bgr) {
                int64_t sy = oy + y;
                // Input x in [x0, x1) lies inside the picture's row, the
                // rest reads as entry 0.
                int64_t x0 = 0, x1 = 0;
                if (sy >= 0 && sy < source.rows) {
                    x0 = std::clamp<int64_t>(-ox, 0, iw);
                    x1 = std::clamp<int64_t>(int64_t(source.width) - ox, x0, iw);
                }
                for (int64_t x = 0; x < x0; ++x, bgr += 3) palette.Put(0, bgr);
                if (x1 > x0) {
                    const uint8_t* row = &source.At(int(ox + x0), int(sy));
                    for (int64_t x = x0; x < x1; ++x, bgr += 3) palette.Put(*row++, bgr);
                }
                for (int64_t x = x1; x < iw; ++x, bgr += 3) palette.Put(0, bgr);
            },
            [&](int y, const uint8_t* bgr) {
                std::copy_n(bgr, stride, work.data() + size_t(y + to.top - window.top) * stride);
            });
    } catch (const std::bad_alloc&) {
        return noMemory();
    }
    WriteSelected(doc, palette, work.data(), window, out);
    return 1;
}

int SmoothEdgesInSelection(CPelmarkDoc& doc) {
    MemLockGuard target(CurrentLayerOf(doc));
    LayerPixels layer;
    DocPalette palette;
    if (!ImageLayerPixels(doc, target, &layer) || !ReadDocPalette(doc, &palette)) return 0;
    DibRect selected = MaskBoundingRect(doc);
    if (RectEmpty(selected)) return 1;
    // Only the selected pixels are written: the copy needs their bounding
    // box and one pixel around it.
    DibRect copy{std::max(selected.left - 1, 0), std::max(selected.top - 1, 0),
                 std::min(selected.right + 1, doc.m_nWidth),
                 std::min(selected.bottom + 1, doc.m_nHeight)};
    int cw = copy.right - copy.left, ch = copy.bottom - copy.top;
    WorkImage source(cw, ch);
    WorkImage result(selected.right - selected.left, selected.bottom - selected.top);
    if (!source.data() || !result.data()) return 0;
    uint8_t* p = source.data();
    for (int y = copy.top; y < copy.bottom; ++y)
        for (int x = copy.left; x < copy.right; ++x, p += 3) palette.Put(layer.At(x, y), p);
    dib::SmoothStrongEdges(source.data(), cw, ch,
                           {selected.left - copy.left, selected.top - copy.top,
                            selected.right - copy.left, selected.bottom - copy.top},
                           dib::kEdgeThreshold, result.data());
    WriteSelected(doc, palette, result.data(), selected, layer);
    return 1;
}

}  // namespace document
