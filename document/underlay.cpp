// The document's underlay: a picture shown beneath the layers for tracing,
// its commands and how a picture becomes the underlay. Reading the picture
// from a file goes through the plug-in host (plugin_host/underlay_file.cpp).
#include "document/document_host.h"
#include "document/layer_operations.h"
#include "document/pelmark_doc.h"
#include "framework/cmd_ui.h"
#include "imaging/dib_convert.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_paint.h"
#include "imaging/dib_scale.h"
#include "platform/message_box.h"

namespace {

constexpr int kOrdinaryEditProbe = 1;

}  // namespace

void CPelmarkDoc::DeclareUnderlayCommands(framework::CommandTable& table) {
    // The scanner's command (32932) belongs to the frame that drives the
    // scanner; it asks CanTakeUnderlay as well.
    table.On(kUnderlayFromFileId, this, &CPelmarkDoc::OnUnderlayFromFile)
        .OnUpdate(kUnderlayFromFileId, [this](framework::CmdUI& ui) { ui.Enable(CanTakeUnderlay()); })
        .On(kUnderlayDeleteId, this, &CPelmarkDoc::OnUnderlayDelete)
        .On(kUnderlayShowId, this, &CPelmarkDoc::OnUnderlayShow);
    for (framework::CommandId id : {kUnderlayDeleteId, kUnderlayShowId}) {
        table.OnUpdate(id, [this](framework::CmdUI& ui) {
            ui.Enable(!document::Host().CommandsLocked() && m_bHasUnderlay);
        });
    }
}

bool CPelmarkDoc::CanTakeUnderlay() const {
    return !document::Host().CommandsLocked() && !m_bHasUnderlay && m_nLayerCount > 0;
}

void CPelmarkDoc::OnUnderlayDelete() { DeleteUnderlay(); }

void CPelmarkDoc::OnUnderlayShow() {
    if (!m_bHasUnderlay) return;
    m_bUnderlayState = 2;
    m_bUnderlayCheck = 1;
    document::Host().ImageChanged(this);
    document::Host().LayersChanged(this);
}

int CPelmarkDoc::SetUnderlay(MemHandle picture, int converted) {
    if (!picture) return 0;
    document::DocumentHost& host = document::Host();
    if (!host.HasWorkMemory(kOrdinaryEditProbe)) {
        MemFree(picture);
        return 0;
    }
    bool inputKept = false;
    MemHandle expanded = ExpandDib4To8(picture, &inputKept);
    if (!expanded) {
        // Refused (and freed), or no memory for the 8-bit copy.
        if (inputKept) {
            MemFree(picture);
            host.ReportOutOfMemory();
        }
        return 0;
    }
    picture = expanded;

    int width = 0, height = 0;
    {
        dib::LockedDib dib(picture);
        if (dib) {
            width = dib.geo().width;
            height = dib.geo().height;
        }
    }
    if (width <= 0 || height <= 0) {
        MemFree(picture);
        return 0;
    }

    int scaled = 0;
    bool fitToImage = !converted;
    if (width != m_nWidth || height != m_nHeight) {
        switch (ShowMessageBox(nullptr, "图象尺寸适合吗？", "轮廓尺寸", MB_BTN_YESNOCANCEL | MB_ICON_QUESTION)) {
        case MB_ANSWER_YES:
            // The unscaled picture stays when scaling fails.
            if (MemHandle result = ScaleDibToRgb24(picture, m_nWidth, m_nHeight)) {
                picture = result;
                scaled = 1;
            }
            fitToImage = false;
            break;
        case MB_ANSWER_NO: break;
        default: MemFree(picture); return 0;
        }
    }
    if (fitToImage) {
        if (MemHandle fitted = ConvertAcquiredImage(picture, m_nWidth, m_nHeight)) picture = fitted;
    }

    LogicalPalette palette;
    if (CreatePaletteFromDib(picture, &palette)) m_pUnderlayPalette = palette;
    else m_pUnderlayPalette.reset();
    if (m_hUnderlay && m_hUnderlay != picture) MemFree(m_hUnderlay);
    m_hUnderlay = picture;
    {
        dib::LockedDib dib(picture);
        m_nUnderlayWidth = dib ? dib.geo().width : 0;
        m_nUnderlayHeight = dib ? dib.geo().height : 0;
    }
    m_bUnderlayState = 1;
    m_bHasUnderlay = 1;
    m_bUnderlayCheck = 1;
    host.ImageChanged(this);
    // The underlay shows through index 0 of every layer.
    document::SetAllDrawModes(*this, LAYER_DRAW_INDEX0_CLEAR);
    host.LayersChanged(this);
    EndEditMode();
    SetModified(true);
    return scaled;
}
