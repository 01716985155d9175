// The floating selection scaled or turned back into the current layer for
// the scale and rotate tools.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/program_globals.h"
#include "document/floating_selection.h"
#include "document/floating_selection_transform.h"
#include "document/pelmark_doc.h"
#include "document/resample_smooth.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib_create.h"
#include "platform/message_box.h"
#include "view/pelmark_view.h"

namespace {

constexpr const char* kInsertNoMemory = "图象插入所需内存不足。";

void ShowInsertNoMemory() {
    ShowMessageBox(nullptr, kInsertNoMemory, "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

// The floating rectangle, and whether the floating mask is laid out for it.
struct FloatSource {
    DibRect rect{};
    bool maskFits = false;
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

// The floating image's header keeps its width rounded up to a multiple of 4;
// the rectangle it was lifted from is that of the floating mask, else the
// floating target rectangle, when either has its size.
bool FindFloatSource(const CPelmarkDoc& doc, FloatSource* out) {
    MemLockGuard lock(doc.m_hFloatImage);
    document::LayerPixels pixels;
    if (!document::LayerPixelsOf(lock, &pixels)) return false;
    auto fits = [&](const DibRect& r) {
        int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
        return h == pixels.rows && w > 0 && w <= pixels.width && w > pixels.width - 4;
    };
    if (doc.m_hFloatMask && fits(doc.m_rcFloatMaskPixels)) {
        *out = {doc.m_rcFloatMaskPixels, true};
    } else if (fits(doc.m_rcFloatTarget)) {
        const DibRect& t = doc.m_rcFloatTarget;
        *out = {{0, 0, t.right - t.left, t.bottom - t.top}, false};
    } else {
        *out = {{0, 0, pixels.width, pixels.rows}, false};
    }
    return true;
}

// A mask block of the floating rectangle with every bit set, for a floating
// image without a fitting mask; null when it cannot be had.
MemHandle FullMaskBlock(const FloatSource& source) {
    document::MaskRectLayout layout = document::MaskRectLayoutOf(
        source.rect.left, source.rect.top, source.rect.right, source.rect.bottom);
    MemHandle block = MemAlloc(layout.BlockSize());
    MemLockGuard lock(block);
    if (lock) std::memset(lock.get(), 0xFF, layout.BlockSize());
    return block;
}

DibRect ClipToImage(const DibRect& r, const CPelmarkDoc& doc) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, doc.m_nWidth),
            std::min(r.bottom, doc.m_nHeight)};
}

bool IsQuarterTurn(double angle) { return std::fmod(angle, 90.0) == 0.0; }

}  // namespace

bool CPelmarkView::InsertImageAt(int left, int top, int right, int bottom) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return false;
    MemHandle layer = document::CurrentLayerOf(*doc);
    FloatSource source;
    if (!layer || !FindFloatSource(*doc, &source)) return false;
    DibRect target = document::OrderedRect({left, top, right, bottom});
    if (document::RectEmpty(target)) return false;

    // Smoothing goes with a change of size: at its own size the floating
    // image goes back as it is, each pixel keeping its index.
    const bool resized =
        target.right - target.left != source.Width() || target.bottom - target.top != source.Height();
    bool smooth = GetAntiAliasSetting() != 0 && resized;
    // The smoothing write may find no memory after the mask has changed: the
    // mask is put back from this copy then (the layer is not yet written).
    MemHandle savedMask = nullptr;
    if (smooth) {
        savedMask = DuplicateGlobal(doc->m_hMask);
        if (!savedMask) {
            ShowInsertNoMemory();
            return false;
        }
    }
    document::ClearMask(*doc);
    if (source.maskFits)
        document::TransformFloating(*doc, source.rect, target, 0, doc->m_hFloatMask, doc->m_hMask,
                                    1.0, 0);
    else
        document::MaskFillRect(*doc, target.left, target.top, target.right, target.bottom);
    if (!smooth) {
        document::TransformFloating(*doc, source.rect, target, 0, doc->m_hFloatImage, layer, 1.0,
                                    1);
    } else {
        // The resample reads the floating pixels at the paste offset: start
        // that much before them so that exactly the floating rectangle is read.
        int ox = doc->m_Selection.pasteOffsetX, oy = doc->m_Selection.pasteOffsetY;
        DibRect input{-ox, -oy, source.Width() - ox, source.Height() - oy};
        bool done = document::ResampleIntoLayer(*doc, input, target, layer) != 0;
        if (!done) document::CopyMask(doc->m_hMask, savedMask);
        MemFree(savedMask);
        if (!done) {
            ShowInsertNoMemory();
            return false;
        }
    }
    doc->m_rcSelection = target;
    DibRect changed = ClipToImage(target, *doc);
    if (!document::RectEmpty(changed)) RecomposeLayers(&changed);
    return true;
}

bool CPelmarkView::InsertImagePreview(double angle) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return false;
    MemHandle layer = document::CurrentLayerOf(*doc);
    FloatSource source;
    if (!layer || !FindFloatSource(*doc, &source)) return false;
    DibRect target = document::OrderedRect(doc->m_rcSelection);
    if (document::RectEmpty(target)) return false;
    MemHandle fullMask = source.maskFits ? nullptr : FullMaskBlock(source);
    if (!source.maskFits && !fullMask) {
        ShowInsertNoMemory();
        return false;
    }

    document::ClearMask(*doc);
    document::TransformFloating(*doc, source.rect, target, angle,
                                fullMask ? fullMask : doc->m_hFloatMask, doc->m_hMask, 1.0, 0);
    document::TransformFloating(*doc, source.rect, target, angle, doc->m_hFloatImage, layer, 1.0, 1);
    if (fullMask) MemFree(fullMask);
    if (GetAntiAliasSetting() != 0 && !IsQuarterTurn(angle) &&
        !document::SmoothEdgesInSelection(*doc))
        ShowInsertNoMemory();

    // The turned rectangle's box, a pixel wider for the rounding.
    document::FloatFrame frame =
        document::TransformedFrame({source.rect, target, angle, 1.0});
    DibRect reach = target;
    for (const auto& corner : frame) {
        reach.left = std::min(reach.left, corner[0] - 1);
        reach.top = std::min(reach.top, corner[1] - 1);
        reach.right = std::max(reach.right, corner[0] + 1);
        reach.bottom = std::max(reach.bottom, corner[1] + 1);
    }
    DibRect changed = ClipToImage(reach, *doc);
    if (!document::RectEmpty(changed)) RecomposeLayers(&changed);
    return true;
}
