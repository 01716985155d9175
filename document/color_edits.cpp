#include "document/color_edits.h"

#include <algorithm>
#include <array>
#include <memory>

#include "document/color_modes.h"
#include "document/document_host.h"
#include "document/floating_selection.h"
#include "document/selection_mask.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "document/unused_colors.h"
#include "document/used_colors.h"
#include "imaging/dib_access.h"
#include "imaging/dib_fill.h"
#include "platform/message_box.h"

namespace document {

namespace {

// True while no pixel uses an entry past 15.
bool UsesFirstSixteenOnly(const UsedColors& used) {
    return std::all_of(used.flags.begin() + 16, used.flags.end(), [](uint8_t f) { return f == 0; });
}

}  // namespace

int EditModeFromLockWord(uint16_t lockWord) {
    if (lockWord == kColorModes[1].paletteLock) return 1;
    for (int mode = 2; mode < kColorModeCount; ++mode)
        if (lockWord == kColorModes[size_t(mode)].paletteLock) return 2;
    return 0;
}

uint16_t LockWordOfEditMode(int mode) {
    return mode >= 0 && mode < kColorModeCount ? kColorModes[size_t(mode)].paletteLock : 0;
}

EditModeResult ChangeEditMode(CPelmarkDoc& doc, int mode, const std::function<bool()>& confirm) {
    if (!doc.m_hImage || mode < 0 || mode >= kColorModeCount) return EditModeResult::Failed;
    if (mode == EditModeFromLockWord(doc.m_wPaletteLock)) return EditModeResult::Unchanged;
    if (!doc.PushUndo(kEditModeAction, QStringLiteral("改变编辑模式"), true)) return EditModeResult::Failed;

    // The 256-colour mode takes any image as it is.
    if (mode != 0 && !UsesFirstSixteenOnly(ScanLayerColors(doc))) {
        const bool ok = confirm ? confirm()
                                : ShowMessageBox(nullptr, "减色开始。", "Kavolt",
                                                 MB_BTN_OKCANCEL | MB_ICON_QUESTION) == MB_ANSWER_OK;
        if (!ok) {
            doc.DropUndoStep();
            return EditModeResult::Unchanged;
        }
        const int used = ScanLayerColors(doc).count;
        if (used >= 2) {
            // The reducer has shown its message when it failed.
            if (!doc.ReduceAllLayersColors(std::min(used, 16), 8, 0)) {
                doc.DropUndoStep();
                return EditModeResult::Failed;
            }
        } else {
            // One colour: removing the unused entries brings it to entry 0,
            // as a step of its own in place of this one.
            doc.DropUndoStep();
            if (!RemoveUnusedColors(doc)) return EditModeResult::Failed;
        }
    }
    if (mode != 0 && !UsesFirstSixteenOnly(ScanLayerColors(doc))) {
        ShowMessageBox(nullptr, "超过 16 色", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
        return EditModeResult::TooManyColors;
    }
    doc.m_wPaletteLock = LockWordOfEditMode(mode);
    doc.m_nColorMode = mode;
    doc.m_nColor = GetColorModeInfo(mode).firstColor;
    doc.SetModifiedFlag(true);
    doc.InitDib();
    Host().PaletteChanged(&doc);
    Host().CurrentColorChanged(&doc);
    Host().EditStateChanged(&doc);
    Host().LayersChanged(&doc);
    return EditModeResult::Changed;
}

bool SetPaletteAlpha(CPelmarkDoc& doc, int alpha) {
    if (!doc.m_hImage) return false;
    const uint8_t value = uint8_t(std::clamp(alpha, 0, 255));
    if (!doc.PushUndo(kAlphaAction, QStringLiteral("改变 Alpha 值"), true)) return false;
    doc.SetModifiedFlag(true);
    doc.m_bRedoMode = 0;
    auto pairs = std::make_shared<AlphaPairs>();
    for (int i = 0; i < 256; ++i) {
        uint8_t red, green, blue, old;
        GetDibPaletteEntry(doc.m_hImage, i, &red, &green, &blue, &old);
        SetDibPaletteEntry(doc.m_hImage, i, red, green, blue, value);
        (*pairs)[size_t(i)] = {old, value};
    }
    // The step keeps its own pairs, so that undoing an earlier alpha step
    // restores that step's values.
    if (doc.m_nOpenedUndoStep >= 0) doc.m_UndoSlots[size_t(doc.m_nOpenedUndoStep)].alphaPairs = std::move(pairs);
    doc.InitDib();
    doc.InvalidateOtherViews(nullptr);
    Host().PaletteChanged(&doc);
    return true;
}

bool RemapSelectionColors(CPelmarkDoc& doc, const std::array<uint8_t, 256>& map) {
    MemHandle layer = CurrentLayerOf(doc);
    if (!layer || !doc.m_hImage) return false;
    if (!doc.PushUndo(kRecolorAction, QStringLiteral("换色"), true)) return false;
    doc.SetModifiedFlag(true);
    const bool floating = doc.m_hFloatImage && !RectEmpty(doc.m_rcSelection);
    const DibRect r = floating ? doc.m_rcSelection : DibRect{0, 0, doc.m_nWidth, doc.m_nHeight};
    RemapDibRect(doc.m_hImage, map.data(), r.left, r.top, r.right, r.bottom, layer);
    // The floating pixels are those of the layer at the selection.
    if (floating) LiftSelection(doc, r);
    doc.InvalidateOtherViews(nullptr);
    Host().LayersChanged(&doc);
    Host().EditStateChanged(&doc);
    return true;
}

}  // namespace document
