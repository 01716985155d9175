// The canvas view's edit commands: the clipboard (copy, cut, paste, clear),
// select all, none and invert, the paste and conversion modes, the grid,
// snap and guide switches and the grid presets.
#include <algorithm>
#include <cstring>

#include "document/display_toggles.h"
#include "document/edit_state.h"
#include "document/floating_selection.h"
#include "document/floating_tool_ops.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "framework/cmd_ui.h"
#include "framework/command.h"
#include "document/document_host.h"
#include "imaging/dib_clipboard.h"
#include "imaging/dib_create.h"
#include "imaging/dib_exchange.h"
#include "imaging/dib_geometry.h"
#include "plugin_api/plugin_api.h"
#include "plugin_api/plugin_messages.h"
#include "tools/tool_dispatch.h"
#include "view/copy_memory.h"
#include "view/grid_presets.h"
#include "view/paste_logic.h"
#include "view/pelmark_view.h"
#include "view/pointer_position.h"
#include "view/selection_tools.h"
#include "view/view_globals.h"
#include "view/view_host.h"

namespace {

using document::RectEmpty;

int& ConversionMode() {
    static int mode = 0;
    return mode;
}

int Width(const DibRect& r) { return r.right - r.left; }
int Height(const DibRect& r) { return r.bottom - r.top; }

bool Probe(view::ViewHost* host) { return !host || host->ProbeWorkMemory(1); }

// An 8-bit packed DIB of `width` x `height` with the document's 256 entries
// and the rows of a floating block (layer rows, bottom-up).
MemHandle FloatingBlockToDib(const CPelmarkDoc& doc, MemHandle block, int width, int height) {
    MemLockGuard source(block);
    dib::LockedDib image(doc.m_hImage);
    if (!source || !image || width <= 0 || height <= 0) return nullptr;
    const size_t rowBytes = dib::LayerRowBytes(width);
    const size_t pixels = rowBytes * size_t(height);
    if (source.size() < LAYER_HEADER_SIZE + pixels) return nullptr;
    MemHandle out = MemAlloc(DIB_INFO_HEADER_SIZE + 1024 + pixels);
    MemLockGuard lock(out);
    if (!lock) {
        if (out) MemFree(out);
        return nullptr;
    }
    std::memset(lock.get(), 0, lock.size());
    auto* info = lock.as<DibInfoHeader>();
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = width;
    info->height = height;
    info->planes = 1;
    info->bitCount = 8;
    info->sizeImage = uint32_t(pixels);
    PaletteEntry table[256];
    dib::ReadColorTable(image.data(), image.geo(), table);
    std::memcpy(lock.get() + DIB_INFO_HEADER_SIZE, table, sizeof table);
    std::memcpy(lock.get() + DIB_INFO_HEADER_SIZE + 1024, source.get() + LAYER_HEADER_SIZE, pixels);
    return out;
}

// The floating block drawn at `width` x `height` (nearest pixel).
MemHandle ScaleFloatingBlock(MemHandle block, int width, int height) {
    MemLockGuard source(block);
    dib::LayerGeometry g;
    if (!source || width <= 0 || height <= 0 || !dib::ReadLayerGeometry(source.get(), source.size(), &g))
        return nullptr;
    const size_t rowBytes = dib::LayerRowBytes(width);
    MemHandle out = MemAlloc(LAYER_HEADER_SIZE + rowBytes * size_t(height));
    MemLockGuard lock(out);
    if (!lock) {
        if (out) MemFree(out);
        return nullptr;
    }
    std::memset(lock.get(), 0, lock.size());
    auto* header = lock.as<LayerHeader>();
    header->right = int32_t(rowBytes);
    header->bottom = height;
    const uint8_t* from = source.get() + LAYER_HEADER_SIZE;
    uint8_t* to = lock.get() + LAYER_HEADER_SIZE;
    for (int y = 0; y < height; ++y) {
        const int sy = int(int64_t(y) * g.height / height);
        for (int x = 0; x < width; ++x) {
            const int sx = int(int64_t(x) * g.width / width);
            to[size_t(y) * rowBytes + size_t(x)] = from[size_t(sy) * g.rowBytes + size_t(sx)];
        }
    }
    return out;
}

std::array<RgbaEntry, 256> DocumentPalette(const CPelmarkDoc& doc) {
    std::array<RgbaEntry, 256> out{};
    dib::LockedDib image(doc.m_hImage);
    if (!image) return out;
    PaletteEntry table[256];
    dib::ReadColorTable(image.data(), image.geo(), table);
    const int count = doc.m_nColorMode ? 16 : 256;
    for (int i = 0; i < count; ++i) out[size_t(i)] = {table[i].red, table[i].green, table[i].blue, table[i].alpha};
    return out;
}

// What opening the clipboard as a new file takes from this copy: its size
// and the copying document's colours.
void NoteCopyForNewFile(const CPelmarkDoc& doc, MemHandle floating, int width, int height) {
    LayerHeader& header = GetExchangeHeader();
    {
        MemLockGuard lock(floating);
        if (lock && lock.size() >= LAYER_HEADER_SIZE) header = *lock.as<LayerHeader>();
    }
    header.left = header.top = 0;
    header.right = width;
    header.bottom = height;
    GetExchangePalette() = DocumentPalette(doc);
    NoteProgramClipboardCopy(doc.m_nColorMode != 0);
}

void SendToolRect(view::ViewHost* host, int a, int b) {
    WinHandle main = host ? host->FrameWindow() : nullptr;
    if (!main) return;
    int values[4] = {a, b, 0, 0};
    WinSendMessage(main, WM_TOOLRECT_STATUS, 1, reinterpret_cast<WinLParam>(values));
}

}  // namespace

int& CPelmarkView::PasteConversionMode() { return ConversionMode(); }

void CPelmarkView::DeclareEditCommands(framework::CommandTable& t) {
    t.On(kCopyId, this, &CPelmarkView::OnEditCopy)
        .OnUpdate(kCopyId, this, &CPelmarkView::OnUpdateCopyCut)
        .On(kCutId, this, &CPelmarkView::OnEditCut)
        .OnUpdate(kCutId, this, &CPelmarkView::OnUpdateCopyCut)
        .On(kPasteId, this, &CPelmarkView::OnEditPaste)
        .OnUpdate(kPasteId, this, &CPelmarkView::OnUpdatePaste)
        .On(kClearId, this, &CPelmarkView::OnEditClear)
        .OnUpdate(kClearId, this, &CPelmarkView::OnUpdateFloating)
        .On(kClearMemoryId, this, &CPelmarkView::OnClearMemory)
        .OnUpdate(kClearMemoryId, this, &CPelmarkView::OnUpdateClearMemory)
        .On(kAddBorderId, this, &CPelmarkView::OnAddBorder)
        .OnUpdate(kAddBorderId, this, &CPelmarkView::OnUpdateLockOnly)
        .On(kSettingsId, this, &CPelmarkView::OnSettings)
        .On(kSelectAllId, this, &CPelmarkView::OnSelectAll)
        .OnUpdate(kSelectAllId, this, &CPelmarkView::OnUpdateLockOnly)
        .On(kSelectNoneId, this, &CPelmarkView::OnSelectNone)
        .OnUpdate(kSelectNoneId, this, &CPelmarkView::OnUpdateFloating)
        .On(kInvertSelectionId, this, &CPelmarkView::OnInvertSelection)
        .OnUpdate(kInvertSelectionId, this, &CPelmarkView::OnUpdateFloating)
        .OnRange(kPasteOpaqueId, kPasteMaskClearId, this, &CPelmarkView::OnPasteMode)
        .OnUpdateRange(kPasteOpaqueId, kPasteMaskClearId, this, &CPelmarkView::OnUpdatePasteMode)
        .OnRange(kConvertMergeId, kConvertNoneId, this, &CPelmarkView::OnConversionMode)
        .OnUpdateRange(kConvertMergeId, kConvertNoneId, this, &CPelmarkView::OnUpdateConversionMode)
        .OnRange(kMainGridId, kMainGridId, this, &CPelmarkView::OnToggleGrid)
        .OnRange(kSubGridId, kSubGridId, this, &CPelmarkView::OnToggleGrid)
        .OnUpdate(kMainGridId, this, &CPelmarkView::OnUpdateGrid)
        .OnUpdate(kSubGridId, this, &CPelmarkView::OnUpdateGrid)
        .OnRange(kMainSnapId, kSubSnapId, this, &CPelmarkView::OnToggleSnap)
        .OnUpdate(kMainSnapId, this, &CPelmarkView::OnUpdateSnap)
        .OnUpdate(kSubSnapId, this, &CPelmarkView::OnUpdateSnap)
        .On(kPointerPositionId, this, &CPelmarkView::OnTogglePointerPosition)
        .OnUpdate(kPointerPositionId, [](framework::CmdUI& ui) { ui.SetCheck(PointerPositionShown()); })
        .On(kGuideShownId, this, &CPelmarkView::OnToggleGuideShown)
        .OnUpdate(kGuideShownId, this, &CPelmarkView::OnUpdateGuide)
        .On(kGuideEditId, this, &CPelmarkView::OnToggleGuideEdit)
        .OnUpdate(kGuideEditId, this, &CPelmarkView::OnUpdateGuide)
        .OnRange(kFirstGridPresetId, kLastGridPresetId, this, &CPelmarkView::OnGridPreset)
        .OnUpdateRange(kFirstGridPresetId, kLastGridPresetId, this, &CPelmarkView::OnUpdateLockOnly);
}

// ---- Update rules ------------------------------------------------------------

void CPelmarkView::OnUpdateLockOnly(framework::CmdUI& ui) { ui.Enable(!CommandLocked()); }

void CPelmarkView::OnUpdateFloating(framework::CmdUI& ui) {
    CPelmarkDoc* doc = GetDocument();
    ui.Enable(!CommandLocked() && doc && doc->m_hFloatImage);
}

void CPelmarkView::OnUpdateCopyCut(framework::CmdUI& ui) { OnUpdateFloating(ui); }

void CPelmarkView::OnUpdatePaste(framework::CmdUI& ui) { ui.Enable(!CommandLocked() && ClipboardHasDib()); }

void CPelmarkView::OnUpdateClearMemory(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked() && ClipboardHasDib());
}

void CPelmarkView::OnUpdatePasteMode(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked());
    ui.SetCheck(document::GetPasteMode() == int(ui.id() - kPasteOpaqueId));
}

void CPelmarkView::OnUpdateConversionMode(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked());
    ui.SetCheck(ConversionMode() == int(ui.id() - kConvertMergeId));
}

void CPelmarkView::OnUpdateGrid(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked());
    ui.SetCheck((m_nGridDisplay & (ui.id() == kMainGridId ? 1 : 2)) != 0);
}

void CPelmarkView::OnUpdateSnap(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked());
    ui.SetCheck((m_nSnapFlags & (ui.id() == kMainSnapId ? 1 : 2)) != 0);
}

void CPelmarkView::OnUpdateGuide(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked());
    const ViewDisplayToggles& guide = GetViewDisplayToggles();
    ui.SetCheck(ui.id() == kGuideShownId ? guide.guidesShown : guide.guideEdit);
}

// ---- Clipboard ---------------------------------------------------------------

bool CPelmarkView::CopySelection() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hFloatImage || RectEmpty(doc->m_rcSelection)) return false;
    view::ViewHost* host = view::ViewHost::Installed();
    if (!Probe(host)) return false;
    const DibRect sel = doc->m_rcSelection;
    int width = Width(sel), height = Height(sel);
    MemHandle block = doc->m_hFloatImage;
    MemHandle rendered = nullptr;
    if (doc->m_nToolId == tools::kScaleTool && !RectEmpty(doc->m_rcScaleFrame)) {
        const DibRect frame = document::OrderedRect(doc->m_rcScaleFrame);
        width = frame.right - frame.left + 1;
        height = frame.bottom - frame.top + 1;
        rendered = ScaleFloatingBlock(block, width, height);
        if (!rendered) {
            document::Host().ReportOutOfMemory();
            return false;
        }
        block = rendered;
    }
    MemHandle dib = FloatingBlockToDib(*doc, block, width, height);
    if (rendered) MemFree(rendered);
    if (!dib) return false;

    view::CopyMemory next;
    next.filled = true;
    next.selection = sel;
    next.floatTarget = doc->m_rcFloatTarget;
    const DibRect& m = doc->m_rcFloatMaskPixels;
    next.maskPixels = {m.left - sel.left, m.top - sel.top, m.right - sel.left, m.bottom - sel.top};
    next.toolIndex = document::GetProgramEditState().toolIndex;
    next.selectMode = view::SelectionModeIndex();
    next.width = width;
    next.height = height;
    next.sixteenColor = doc->m_nColorMode != 0;
    next.view = this;
    next.palette = DocumentPalette(*doc);
    next.selected.assign(size_t(width) * size_t(height), 1);
    if (!rendered) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                next.selected[size_t(y) * size_t(width) + size_t(x)] =
                    uint8_t(document::TestMaskBit(*doc, doc->m_hMask, sel.left + x, sel.top + y));
    }
    if (!ClipboardPutDib(dib, view::PackCopyMask(next))) return false;
    NoteCopyForNewFile(*doc, doc->m_hFloatImage, width, height);
    if (MemHandle layer = document::CurrentLayerOf(*doc)) next.layerCopy = DuplicateGlobal(layer);
    view::ClearCopyMemory();
    view::GetCopyMemory() = std::move(next);
    if (host) host->EditStateChanged();
    return true;
}

void CPelmarkView::OnEditCopy() { CopySelection(); }

void CPelmarkView::OnEditCut() {
    CPelmarkDoc* doc = GetDocument();
    // Nothing is cleared unless the picture reached the clipboard.
    if (!doc || !CopySelection()) return;
    if (!doc->PushUndo(document::kCutAction, QStringLiteral("剪切"), true)) return;
    MemHandle layer = document::CurrentLayerOf(*doc);
    if (doc->m_nToolId == tools::kRotateTool) document::ClearMaskedPixels(*doc, 0);
    else if (layer) document::FillMaskedPixels(*doc, layer, 0);
    // The cut pixels are gone: the floating copy of them must not come back
    // when the selection is put down.
    document::FreeFloating(*doc);
    doc->m_rcSelection = {};
    doc->m_rcFloatTarget = {};
    doc->m_bPasted = 0;
    doc->SetModified(true);
    doc->UpdateAllViews(nullptr);
    RecomposeLayers();
    if (view::ViewHost* host = view::ViewHost::Installed()) {
        host->LayersChanged(doc);
        host->EditStateChanged();
        host->ImageDrawn();
    }
}

void CPelmarkView::OnEditPaste() {
    CPelmarkDoc* doc = GetDocument();
    MemHandle layer = doc ? document::CurrentLayerOf(*doc) : nullptr;
    if (!doc || !layer || !doc->m_hImage) return;
    view::ViewHost* host = view::ViewHost::Installed();
    if (!Probe(host)) return;
    QByteArray extra;
    bool own = false;
    MemHandle dib = ClipboardGetDib(&extra, &own);
    if (!dib) return;
    int pictureWidth = 0, pictureHeight = 0;
    {
        // A picture whose rows are not all there (damaged data) is none.
        dib::LockedDib picture(dib);
        if (picture && picture.geo().HoldsRows(picture.geo().PaddedRow())) {
            pictureWidth = picture.geo().width;
            pictureHeight = picture.geo().height;
        }
    }
    MemHandle converted = nullptr;
    if (pictureWidth > 0 && pictureHeight > 0)
        converted = ConvertDibForExchange(
            dib, doc->m_hImage, LAYER_HEADER_SIZE + dib::LayerRowBytes(pictureWidth) * size_t(pictureHeight));
    MemFree(dib);
    if (!converted) return;

    // The block, cut to the image, from the picture's top-left corner.
    const int width = std::min(pictureWidth, doc->m_nWidth);
    const int height = std::min(pictureHeight, doc->m_nHeight);
    const size_t rowBytes = dib::LayerRowBytes(width);
    MemHandle block = MemAlloc(LAYER_HEADER_SIZE + rowBytes * size_t(height));
    {
        MemLockGuard from(converted), to(block);
        if (from && to) {
            std::memset(to.get(), 0, to.size());
            auto* header = to.as<LayerHeader>();
            header->right = int32_t(rowBytes);
            header->bottom = height;
            const size_t pictureRow = dib::LayerRowBytes(pictureWidth);
            for (int y = 0; y < height; ++y)
                std::memcpy(to.get() + LAYER_HEADER_SIZE + size_t(height - 1 - y) * rowBytes,
                            from.get() + LAYER_HEADER_SIZE + size_t(pictureHeight - 1 - y) * pictureRow,
                            size_t(width));
        }
    }
    MemFree(converted);
    if (!block) return;
    if (!doc->PushUndo(document::kPasteAction, QStringLiteral("粘贴"), true)) {
        MemFree(block);
        return;
    }

    // The place: the floating selection's origin, else the visible top-left.
    int x, y;
    if (doc->m_hFloatImage && !RectEmpty(doc->m_rcSelection)) {
        x = doc->m_rcSelection.left;
        y = doc->m_rcSelection.top;
    } else {
        const QPoint scroll = ScrollPosition();
        x = std::max(0, scroll.x() / m_nZoom);
        y = std::max(0, scroll.y() / m_nZoom);
    }
    x = view::SnapPasteCoordinate(x, m_nSnapFlags & 1, m_nMainCellWidth, m_nSnapFlags & 2, m_nSubCellWidth);
    y = view::SnapPasteCoordinate(y, m_nSnapFlags & 1, m_nMainCellHeight, m_nSnapFlags & 2, m_nSubCellHeight);
    const DibRect place{x, y, x + width, y + height};

    // The copy memory speaks for the program's own data only.
    view::CopyMemory& memory = view::GetCopyMemory();
    view::CopyMemory pasted;
    const bool ownMask = own && UnpackCopyMask(extra, &pasted);
    if (!own || !memory.filled) {
        view::ClearCopyMemory();
        memory.filled = true;
        memory.selection = memory.floatTarget = place;
        memory.maskPixels = {0, 0, width, height};
        memory.width = width;
        memory.height = height;
        memory.sixteenColor = doc->m_nColorMode != 0;
        memory.selected.assign(size_t(width) * size_t(height), 1);
        if (ownMask) memory.selected = pasted.selected, memory.width = pasted.width, memory.height = pasted.height;
        const ExchangePalette& colors = GetExchangePalette();
        std::copy(colors.begin(), colors.end(), memory.palette.begin());
    }

    if (ConversionMode() != 1) {
        dib::LockedDib image(doc->m_hImage);
        PaletteEntry table[256];
        if (image) dib::ReadColorTable(image.data(), image.geo(), table);
        std::array<RgbaEntry, 256> from = memory.palette;
        if (memory.sixteenColor) std::fill(from.begin() + 16, from.end(), RgbaEntry{});
        const auto map = view::PasteColorTable(from, table, doc->m_nColorMode ? 16 : 256);
        MemLockGuard lock(block);
        if (lock)
            for (size_t i = LAYER_HEADER_SIZE; i < lock.size(); ++i) lock.get()[i] = map[lock.get()[i]];
    }

    // The block floats at the place, its mask from the copy.
    doc->m_nToolId = tools::kSelectTool;
    document::GetProgramEditState().toolIndex = tools::kSelectTool - tools::kSelectTool;
    if (host) host->ShowCurrentTool(0);
    document::FreeFloating(*doc);
    doc->m_hFloatImage = block;
    if (doc->m_hLayerBackup) MemFree(doc->m_hLayerBackup);
    doc->m_hLayerBackup = DuplicateGlobal(layer);
    document::ClearMask(*doc);
    const bool maskFits = memory.width >= width && memory.height >= height &&
                          memory.selected.size() == size_t(memory.width) * size_t(memory.height);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px)
            if (!maskFits || memory.selected[size_t(py) * size_t(memory.width) + size_t(px)])
                document::SetMaskBit(*doc, doc->m_hMask, x + px, y + py, 1);
    document::LiftFloatingMask(*doc, place.left, place.top, place.right, place.bottom);
    DibMask mask;
    const bool masked = document::FloatingBlitMask(*doc, &mask);
    document::CompositeFloatingOffset(*doc, block, layer, place, masked ? &mask : nullptr);
    doc->m_rcSelection = place;
    doc->m_rcFloatTarget = place;
    doc->m_bPasted = 1;
    // The spare copy is the layer without the block: moving it clears nothing.
    document::BeginFloatingState(*doc, false);
    doc->SetModified(true);
    RecomposeLayers();
    doc->UpdateAllViews(nullptr);
    if (host) {
        host->LayersChanged(doc);
        host->EditStateChanged();
        host->ImageDrawn();
    }
}

void CPelmarkView::OnEditClear() {
    if (CPelmarkDoc* doc = GetDocument()) doc->SetEditMode(document::kDeleteSelectionAction);
}

void CPelmarkView::OnClearMemory() {
    CPelmarkDoc* doc = GetDocument();
    if (doc) {
        document::FreeFloating(*doc);
        doc->m_rcSelection = {};
        doc->UpdateAllViews(nullptr);
    }
    ClipboardEmpty();
    if (view::ViewHost* host = view::ViewHost::Installed()) host->EditStateChanged();
}

// ---- Selection ---------------------------------------------------------------

void CPelmarkView::OnSelectAll() {
    CPelmarkDoc* doc = GetDocument();
    MemHandle layer = doc ? document::CurrentLayerOf(*doc) : nullptr;
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !layer || !Probe(host)) return;
    if (!doc->PushUndo(document::kSelectAction, QStringLiteral("全选"), true)) return;
    doc->m_nToolId = tools::kSelectTool;
    document::GetProgramEditState().toolIndex = 0;
    if (host) host->ShowCurrentTool(0);
    const DibRect all{0, 0, doc->m_nWidth, doc->m_nHeight};
    document::FreeFloating(*doc);
    document::ClearMask(*doc);
    document::MaskFillRect(*doc, all.left, all.top, all.right, all.bottom);
    if (doc->m_hLayerBackup) MemFree(doc->m_hLayerBackup);
    doc->m_hLayerBackup = DuplicateGlobal(layer);
    document::LiftSelection(*doc, all);
    document::LiftFloatingMask(*doc, all.left, all.top, all.right, all.bottom);
    doc->m_rcFloatTarget = doc->m_rcSelection;
    document::BeginFloatingState(*doc, true);
    SendToolRect(host, doc->m_nWidth, doc->m_nHeight);
    doc->UpdateAllViews(nullptr);
    if (host) host->EditStateChanged();
}

void CPelmarkView::OnSelectNone() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->PushUndo(document::kSelectAction, QStringLiteral("取消选择"), true)) return;
    document::FreeFloating(*doc);
    doc->m_rcSelection = {};
    doc->m_rcFloatTarget = {};
    doc->m_bMaskChanged = 0;
    doc->m_bPasted = 0;
    document::FillMask(*doc);
    doc->UpdateAllViews(nullptr);
    if (view::ViewHost* host = view::ViewHost::Installed()) host->EditStateChanged();
}

void CPelmarkView::OnInvertSelection() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->PushUndo(document::kSelectAction, QStringLiteral("反选"), true)) return;
    document::InvertMask(*doc);
    document::BeginFloatingState(*doc, true);
    const DibRect& r = doc->m_rcSelection;
    view::ViewHost* host = view::ViewHost::Installed();
    SendToolRect(host, std::max(0, Width(r)), std::max(0, Height(r)));
    doc->UpdateAllViews(nullptr);
    if (host) host->EditStateChanged();
}

// ---- Modes, grids, snaps, guides -------------------------------------------------

void CPelmarkView::OnPasteMode(CommandId id) {
    document::SetPasteMode(int(id - kPasteOpaqueId));
    CPelmarkDoc* doc = GetDocument();
    MemHandle layer = doc ? document::CurrentLayerOf(*doc) : nullptr;
    if (doc && layer && doc->m_hFloatImage && doc->m_hLayerBackup &&
        MemSize(layer) == MemSize(doc->m_hLayerBackup)) {
        CopyGlobalContents(layer, doc->m_hLayerBackup);
        DibMask mask;
        const DibRect& r = doc->m_rcSelection;
        const DibRect& m = doc->m_rcFloatMaskPixels;
        const bool fits = Width(m) == Width(r) && Height(m) == Height(r) && document::FloatingBlitMask(*doc, &mask);
        document::CompositeFloatingOffset(*doc, doc->m_hFloatImage, layer, r, fits ? &mask : nullptr);
        RecomposeLayers(&r);
    }
    if (view::ViewHost* host = view::ViewHost::Installed()) {
        host->PaletteChanged();
        host->ShowPasteMode(id);
    }
}

void CPelmarkView::OnConversionMode(CommandId id) { ConversionMode() = int(id - kConvertMergeId); }

void CPelmarkView::OnToggleGrid(CommandId id) {
    const int flags = m_nGridDisplay ^ (id == kMainGridId ? 1 : 2);
    grid::SetGridDisplayFlags(flags);
    CPelmarkDoc* doc = GetDocument();
    if (!doc) SetGridDisplayFlags(flags);
    else
        for (framework::View* v : doc->GetViews())
            if (auto* canvas = dynamic_cast<CPelmarkView*>(v)) canvas->SetGridDisplayFlags(flags);
    if (view::ViewHost* host = view::ViewHost::Installed()) host->ShowGridState(m_nSnapFlags, m_nGridDisplay);
}

void CPelmarkView::OnToggleSnap(CommandId id) {
    m_nSnapFlags = grid::ToggleCurrentSnap(id == kMainSnapId ? 1 : 2);
    if (view::ViewHost* host = view::ViewHost::Installed()) host->ShowGridState(m_nSnapFlags, m_nGridDisplay);
}

void CPelmarkView::OnTogglePointerPosition() {
    SetPointerPositionShown(!PointerPositionShown());
    if (!PointerPositionShown()) view::ClearToolPosition();
}

void CPelmarkView::OnToggleGuideShown() {
    ViewDisplayToggles& guide = GetViewDisplayToggles();
    guide.guidesShown = !guide.guidesShown;
    update();
    if (view::ViewHost* host = view::ViewHost::Installed()) host->ShowGuideState(guide.guidesShown, guide.guideEdit);
}

void CPelmarkView::OnToggleGuideEdit() {
    ViewDisplayToggles& guide = GetViewDisplayToggles();
    guide.guideEdit = !guide.guideEdit;
    m_nGuideDrag = -1;
    if (guide.guideEdit) ClampGuideToImage();
    update();
    if (view::ViewHost* host = view::ViewHost::Installed()) host->ShowGuideState(guide.guidesShown, guide.guideEdit);
}

void CPelmarkView::OnGridPreset(CommandId id) {
    grid::StoreCurrentPreset(int(id - kFirstGridPresetId));
    LoadGridPreset();
    update();
    SendGridToToolWindows(nullptr);
}

void CPelmarkView::OnSettings() {
    view::ViewHost* host = view::ViewHost::Installed();
    if (!host || !host->ProbeWorkMemory(1)) return;
    host->RunSettingsDialog();
}

void CPelmarkView::SendGridToToolWindows(WinHandle window) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    for (PluginWindowSlot* slot : {&doc->m_ToolPlugin, &doc->m_AnimPlugin}) {
        if (!slot->record && !slot->window) continue;
        WinHandle target = slot->window ? slot->window : slot->record ? slot->record->window : nullptr;
        if (!target) target = window;
        if (!target) continue;
        slot->window = target;
        WinSendMessage(target, WM_TOOL_GRIDSIZE, WinWParam(m_nMainCellWidth), WinLParam(m_nMainCellHeight));
    }
}
