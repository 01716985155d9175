#include "document/floating_selection.h"

#include <algorithm>
#include <vector>

#include "document/document_host.h"
#include "document/floating_selection_transform.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "imaging/layer_transform.h"

namespace document {

namespace {

constexpr int32_t kSelectToolId = 551;

int pasteMode = kPasteOpaque;
PasteFlagTables pasteTables;
bool pasteTablesReady = false;
SelectionPattern pattern;

void Release(MemHandle& h) {
    if (h) MemFree(h);
    h = nullptr;
}

int Width(const DibRect& r) { return r.right - r.left; }
int Height(const DibRect& r) { return r.bottom - r.top; }

// A block of mask bytes of `rect` (CopyMaskRect layout).
MaskRectBits RectBits(const MemLockGuard& lock, const DibRect& rect) {
    MaskRectLayout layout = MaskRectLayoutOf(rect.left, rect.top, rect.right, rect.bottom);
    MaskRectBits bits;
    if (!lock || layout.rows == 0) return bits;
    bits.data = lock.get();
    bits.size = lock.size();
    bits.rowBytes = layout.rowBytes;
    bits.firstBit = rect.left - layout.firstByte * 8;
    bits.width = Width(rect);
    bits.height = Height(rect);
    return bits;
}

// The two byte tables of a paste mode (source copied, destination writable).
struct ModeTables {
    std::array<uint8_t, 256> source;
    std::array<uint8_t, 256> destination;
};
ModeTables TablesOf(const CPelmarkDoc& doc, int mode) {
    ModeTables t;
    if (mode == kPasteBackgroundClear) {
        const PasteFlagTables& p = GetPasteFlagTables();
        t.source = p.copiedSource;
        t.destination = p.writableDestination;
    } else {
        for (size_t i = 0; i < 256; ++i) {
            t.source[i] = doc.m_EnabledColors[i] ? 1 : 0;
            t.destination[i] = doc.m_WritableColors[i] ? 1 : 0;
        }
    }
    return t;
}

// Mirrors, flips or turns by one pixel the floating mask's bits within its
// pixel rectangle, the way the floating image is changed.
void ChangeFloatingMask(CPelmarkDoc& doc, int command) {
    const DibRect& r = doc.m_rcFloatMaskPixels;
    int w = Width(r), h = Height(r);
    MemLockGuard lock(doc.m_hFloatMask);
    MaskRectBits bits = RectBits(lock, r);
    if (!bits.data || w <= 0 || h <= 0) return;
    std::vector<uint8_t> old(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) old[size_t(y) * size_t(w) + size_t(x)] = bits.Get(x, y);
    auto from = [&](int x, int y) -> int {
        switch (command) {
        case kFloatMirror: return old[size_t(y) * size_t(w) + size_t(w - 1 - x)];
        case kFloatFlip: return old[size_t(h - 1 - y) * size_t(w) + size_t(x)];
        case kFloatUp: return old[size_t((y + 1) % h) * size_t(w) + size_t(x)];
        case kFloatDown: return old[size_t((y + h - 1) % h) * size_t(w) + size_t(x)];
        case kFloatLeft: return old[size_t(y) * size_t(w) + size_t((x + 1) % w)];
        case kFloatRight: return old[size_t(y) * size_t(w) + size_t((x + w - 1) % w)];
        default: return old[size_t(y) * size_t(w) + size_t(x)];
        }
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int bit = bits.firstBit + x;
            size_t at = size_t(y) * size_t(bits.rowBytes) + size_t(bit / 8);
            if (at >= bits.size) continue;
            uint8_t m = uint8_t(0x80 >> (bit & 7));
            uint8_t* byte = lock.get() + at;
            *byte = from(x, y) ? uint8_t(*byte | m) : uint8_t(*byte & ~m);
        }
}

}  // namespace

int GetPasteMode() { return pasteMode; }
void SetPasteMode(int mode) { pasteMode = mode; }

PasteFlagTables& GetPasteFlagTables() {
    if (!pasteTablesReady) ResetPasteFlagTables();
    return pasteTables;
}

void ResetPasteFlagTables() {
    pasteTables.copiedSource.fill(1);
    pasteTables.copiedSource[0] = 0;
    pasteTables.writableDestination.fill(1);
    pasteTablesReady = true;
}

SelectionPattern& GetSelectionPattern() { return pattern; }

void ReleaseSelectionPattern() { Release(pattern.image); }

bool LayerPixelsOf(const MemLockGuard& lock, LayerPixels* out) {
    dib::LayerGeometry g;
    if (!lock || !dib::ReadLayerGeometry(lock.get(), lock.size(), &g)) return false;
    *out = {lock.get() + LAYER_HEADER_SIZE, g.rowBytes, g.height, g.width};
    return true;
}

bool ImageLayerPixels(const CPelmarkDoc& doc, const MemLockGuard& lock, LayerPixels* out) {
    if (!lock || !dib::LayerFits(lock.size(), doc.m_nWidth, doc.m_nHeight)) return false;
    *out = {lock.get() + LAYER_HEADER_SIZE, dib::LayerRowBytes(doc.m_nWidth), doc.m_nHeight,
            doc.m_nWidth};
    return true;
}

MemHandle CurrentLayerOf(const CPelmarkDoc& doc) {
    if (doc.m_nEditLayer < 0 || doc.m_nEditLayer >= kLayerSlots) return nullptr;
    return doc.m_hLayers[size_t(doc.m_nEditLayer)];
}

void LiftSelection(CPelmarkDoc& doc, const DibRect& rect) {
    Release(doc.m_hFloatImage);
    doc.m_Selection.transformed = 0;
    doc.m_rcSelection = rect;
    MemHandle layer = CurrentLayerOf(doc);
    if (RectEmpty(rect) || !layer || !doc.m_hImage) return;
    DibRect cut = rect;
    doc.m_hFloatImage = CropDibRect(doc.m_hImage, &cut, layer);
    doc.m_rcSelection = cut;
}

void LiftFloatingMask(CPelmarkDoc& doc, int left, int top, int right, int bottom) {
    Release(doc.m_hFloatMask);
    doc.m_hFloatMask = CopyMaskRect(doc, left, top, right, bottom);
    doc.m_rcFloatMaskBytes = {FloorDiv8(left), top, FloorDiv8(int64_t(right) + 7), bottom};
    doc.m_rcFloatMaskPixels = {left, top, right, bottom};
}

MemHandle GetFloatingMask(const CPelmarkDoc& doc) { return doc.m_hFloatMask; }

bool FloatingBlitMask(const CPelmarkDoc& doc, DibMask* out) {
    if (!doc.m_hFloatMask || !out) return false;
    const DibRect& bytes = doc.m_rcFloatMaskBytes;
    *out = {doc.m_hFloatMask, bytes.right - bytes.left, 0,
            doc.m_rcFloatMaskPixels.left - bytes.left * 8};
    return true;
}

void FreeFloating(CPelmarkDoc& doc) {
    Release(doc.m_hFloatImage);
    Release(doc.m_hFloatMask);
}

void InvertMask(CPelmarkDoc& doc) {
    {
        LockedMask mask(doc, doc.m_hMask);
        if (!mask) return;
        InvertMaskBits(mask.bits());
    }
    doc.m_bMaskChanged = 1;
    Release(doc.m_hFloatImage);
    doc.m_rcSelection = {};
    DibRect r = MaskBoundingRect(doc);
    LiftSelection(doc, r);
    LiftFloatingMask(doc, r.left, r.top, r.right, r.bottom);
    if (MemHandle layer = CurrentLayerOf(doc)) {
        Release(doc.m_hLayerBackup);
        doc.m_hLayerBackup = DuplicateGlobal(layer);
    }
    doc.m_rcFloatTarget = doc.m_rcSelection;
}

void RestoreSelectionRect(CPelmarkDoc& doc) {
    const DibRect& r = doc.m_rcSelection;
    LiftFloatingMask(doc, r.left, r.top, r.right, r.bottom);
}

int CompositeFloatingOffset(CPelmarkDoc& doc, MemHandle source, MemHandle destination,
                            const DibRect& rect, const DibMask* mask, int sourceX, int sourceY) {
    int mode = GetPasteMode();
    if (!source || !destination || !doc.m_hImage || mode < 0 || mode > 2) return 0;
    int w = Width(rect), h = Height(rect);
    if (mode == kPasteOpaque) {
        if (mask)
            BlitDibRectEx(doc.m_hImage, source, rect.left, rect.top, w, h, sourceX, sourceY,
                          nullptr, nullptr, destination, true, mask);
        else
            BlitDibRect(doc.m_hImage, source, rect.left, rect.top, w, h, sourceX, sourceY,
                        destination, true);
        return 1;
    }
    ModeTables t = TablesOf(doc, mode);
    if (mask)
        BlitDibRectEx(doc.m_hImage, source, rect.left, rect.top, w, h, sourceX, sourceY,
                      t.destination.data(), t.source.data(), destination, true, mask);
    else
        BlitDibRectGuarded(doc.m_hImage, source, rect.left, rect.top, w, h, sourceX, sourceY,
                           t.destination.data(), t.source.data(), destination, true);
    return 1;
}

int CompositeFloating(CPelmarkDoc& doc, MemHandle source, MemHandle destination,
                      const DibRect& rect) {
    return CompositeFloatingOffset(doc, source, destination, rect, nullptr);
}

void OffsetFloating(CPelmarkDoc& doc, int dx, int dy) {
    DibRect& r = doc.m_rcSelection;
    r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    ShiftMaskIntoSecond(doc, dx, dy);
    ExchangeSecondMask(doc, 2);
    ClearSecondMask(doc);
}

void DropFloating(CPelmarkDoc& doc) {
    MemHandle layer = CurrentLayerOf(doc);
    // A scaled or turned selection is in the layer as it is to stay; the
    // floating image is still the one lifted.
    if (doc.m_hFloatImage && layer && !doc.m_Selection.transformed) {
        const DibRect& r = doc.m_rcSelection;
        const DibRect& m = doc.m_rcFloatMaskPixels;
        DibMask mask;
        bool fits = Width(m) == Width(r) && Height(m) == Height(r) && FloatingBlitMask(doc, &mask);
        CompositeFloatingOffset(doc, doc.m_hFloatImage, layer, r, fits ? &mask : nullptr);
    }
    FreeFloating(doc);
    doc.m_rcSelection = {};
    doc.m_rcFloatTarget = {};
    doc.m_Selection.transformed = 0;
    doc.m_Selection.angle = 0;
}

void TransformFloatingSimple(CPelmarkDoc& doc, const DibRect& source, const DibRect& destination,
                             MemHandle sourceBlock, MemHandle destinationBlock, int withPixels) {
    if (!sourceBlock || !destinationBlock) return;
    if (withPixels == 0) {
        LockedMask from(doc, sourceBlock), to(doc, destinationBlock);
        if (from && to) ScaleMaskBits(from.bits(), source, to.bits(), destination);
        return;
    }
    if (!doc.m_hMask || !SecondMask(doc)) return;
    LockedMask selection(doc, doc.m_hMask);
    MemLockGuard from(sourceBlock), to(destinationBlock);
    LayerPixels s, d;
    if (!selection || !ImageLayerPixels(doc, from, &s) || !ImageLayerPixels(doc, to, &d)) return;
    ScaleLayerPixels(source, destination, s, d, selection.bits(), doc.m_Selection.pasteOffsetX,
                     doc.m_Selection.pasteOffsetY);
}

void TransformFloating(CPelmarkDoc& doc, const DibRect& source, const DibRect& destination,
                       double angle, MemHandle sourceBlock, MemHandle destinationBlock,
                       double scale, int mode) {
    FloatGeometry g{OrderedRect(source), OrderedRect(destination), angle, scale};
    switch (mode) {
    case 2: {
        FloatFrame frame = TransformedFrame(g);
        for (size_t i = 0; i < 4; ++i) doc.m_Selection.rotationFrame[i] = {frame[i][0], frame[i][1]};
        return;
    }
    case 0:
    case 3: {
        MemLockGuard from(sourceBlock);
        LockedMask to(doc, destinationBlock);
        if (!from || !to) return;
        TransformMaskBits(g, RectBits(from, g.source), to.bits());
        return;
    }
    case 1: {
        MemLockGuard from(sourceBlock), to(destinationBlock), maskLock(doc.m_hFloatMask);
        LayerPixels s, d;
        if (!LayerPixelsOf(from, &s) || !ImageLayerPixels(doc, to, &d)) return;
        // The floating image may be wider than the rectangle (rows rounded
        // up to 4 pixels): only the rectangle's pixels count.
        s.width = std::min(s.width, Width(g.source));
        MaskRectBits bits = RectBits(maskLock, doc.m_rcFloatMaskPixels);
        bool maskFits = bits.data && bits.width == Width(g.source) && bits.height == Height(g.source);
        TransformPixels(g, s, maskFits ? &bits : nullptr, d);
        return;
    }
    default:
        return;
    }
}

bool IsFloatingCommand(int id) { return id >= kFloatMirror && id <= kFloatDown; }

bool ApplyFloatingCommand(CPelmarkDoc& doc, int id) {
    MemHandle layer = CurrentLayerOf(doc);
    if (!IsFloatingCommand(id) || !doc.m_hFloatImage || !layer) return false;
    const DibRect& r = doc.m_rcSelection;
    if (RectEmpty(r)) return false;
    bool (*change)(MemHandle, int, int, int, int) = nullptr;
    switch (id) {
    case kFloatMirror: change = MirrorLayerRect; break;
    case kFloatFlip: change = FlipLayerRect; break;
    case kFloatUp: change = ShiftLayerVerticalWrapA; break;
    case kFloatLeft: change = ShiftLayerLeftWrap; break;
    case kFloatRight: change = ShiftLayerRightWrap; break;
    case kFloatDown: change = ShiftLayerVerticalWrapB; break;
    }
    if (!change(doc.m_hFloatImage, r.left, r.top, r.right, r.bottom)) return false;
    const DibRect& m = doc.m_rcFloatMaskPixels;
    if (Width(m) == Width(r) && Height(m) == Height(r)) ChangeFloatingMask(doc, id);
    BlitDibRect(doc.m_hImage, doc.m_hFloatImage, r.left, r.top, Width(r), Height(r), 0, 0, layer,
                true);
    Host().LayersChanged(&doc);
    Host().ImageChanged(&doc);
    return true;
}

bool CanDefinePattern(const CPelmarkDoc& doc) {
    return doc.m_nToolId == kSelectToolId && !Host().CommandsLocked() &&
           doc.m_hFloatImage != nullptr;
}

bool DefinePattern(CPelmarkDoc& doc) {
    if (!CanDefinePattern(doc)) return false;
    SelectionPattern& p = GetSelectionPattern();
    p.table.fill(0);
    MemHandle copy = DuplicateGlobal(doc.m_hFloatImage);
    if (!copy) return false;
    Release(p.image);
    p.image = copy;
    p.rect = doc.m_rcSelection;
    MemLockGuard lock(doc.m_hFloatImage);
    LayerPixels s;
    if (!LayerPixelsOf(lock, &s)) return false;
    int64_t w = Width(doc.m_rcSelection), h = Height(doc.m_rcSelection);
    if (w <= 0 || h <= 0) return false;
    constexpr int n = SelectionPattern::kSize;
    for (int r = 0; r < n; ++r) {
        int64_t row = r * h / n;  // memory row, bottom-up
        if (row >= s.rows) continue;
        for (int c = 0; c < n; ++c) {
            int64_t col = c * w / n;
            if (col >= int64_t(s.rowBytes)) continue;
            p.table[size_t(r * n + c)] = s.data[size_t(row) * s.rowBytes + size_t(col)];
        }
    }
    return true;
}

}  // namespace document
