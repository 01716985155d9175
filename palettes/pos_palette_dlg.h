// The position palette (dialog 270 "位置"): the navigator of the active
// canvas. Its thumbnail (control 1169) stands for the whole canvas; a red
// rectangle marks the part the active view shows. Dragging the rectangle and
// releasing scrolls the active view there; a release without a drag scrolls
// to where the rectangle stands. The image itself is not drawn.
//
// The window is as large as FitToImage makes it (not resizable by the
// user); the thumbnail sits at (4, 16) and is the window's width - 16 by its
// height - 48. The main frame gives the palette the active document and
// refreshes it whenever the view scrolls or zooms; the palette's values of
// each document are kept in the document between switches.
#pragma once

#include "document/doc_view_state.h"
#include "imaging/dib_layout.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_geometry.h"

class CPelmarkDoc;
class CPelmarkView;

class CPosPaletteDlg : public PaletteDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 270;
    static constexpr int kThumbnailId = 1169;
    // The rectangle's right and bottom edges reach this much further for a
    // press, as does the client area for a drag.
    static constexpr int kGrabMargin = 8;

    CPosPaletteDlg();
    ~CPosPaletteDlg() override;

    void SetDocument(CPelmarkDoc* doc) { m_pDoc = doc; }
    CPelmarkDoc* GetDocument() const { return m_pDoc; }

    // Sizes the window for an image of width x height (see
    // pospal::FitWindowSize) and keeps it on the screen. Nothing happens
    // when the size is the last one given and the window has it, unless
    // `force`.
    void FitToImage(int width, int height, bool force);
    // Recomputes the view rectangle: from the document's view state (the
    // active view stores its state first) with `fromDocument`, else at
    // (x, y). Without a document the rectangle is empty and the canvas 1 x 1.
    // The values then go into the document through the owner.
    void UpdateViewRect(int x, int y, bool fromDocument);

    // The thumbnail's client rectangle, the canvas size and the view
    // rectangle in thumbnail pixels.
    DibRect ThumbnailRect() const { return m_rcThumb; }
    pospal::Size CanvasSize() const { return {m_rcCanvas.right, m_rcCanvas.bottom}; }
    DibRect ViewRect() const { return m_rcView; }
    pospal::Size LastFit() const { return m_szFit; }
    // True while the rectangle is dragged (program-wide).
    static bool& Dragging();

    // The twenty values kept per document.
    document::PosPaletteState State() const;
    void LoadState(const document::PosPaletteState& state);

    // The thumbnail's mouse, in thumbnail pixels.
    void OnThumbPress(const QPoint& point);
    void OnThumbMove(const QPoint& point, bool leftDown);
    void OnThumbRelease(const QPoint& point);
    // Paints the thumbnail: white frame, black frame inset 1, white fill
    // inset 2, the view rectangle as a one-pixel red frame.
    void PaintThumbnail(QPainter& painter) const;

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeThumbnail();
    // The active canvas view through the owner, or null.
    CPelmarkView* activeCanvas() const;

    QWidget* m_pThumbnail = nullptr;
    CPelmarkDoc* m_pDoc = nullptr;
    DibRect m_rcThumb{};
    DibRect m_rcCanvas{0, 0, 1, 1};
    DibRect m_rcView{};
    QPoint m_ptDragStart;
    QPoint m_ptDragOrigin;
    QPoint m_ptLastMove;
    QPoint m_ptWindow;
    pospal::Size m_szFit;
    bool m_bCaptured = false;
};
