// The layer palette (dialog 225, "图层操作"): the active document's layers,
// top layer first, each row with a visibility check box, a thumbnail, the
// layer's name and draw mode, and a last row for the underlay picture. A row
// chosen becomes the edit layer (one undo step), its check box shows or hides
// the layer, Shift + click exchanges two layers; the buttons add, copy and
// delete layers and "详细" opens the layer menu. The palette also composes
// the visible layers into the document's composite for every refresh,
// whether it is shown or not, and carries the layer operations the layer
// commands use.
#pragma once

#include <array>

#include <QRgb>

#include "palettes/palette_dialog.h"

class CLayerListBox;
class CPelmarkDoc;
class PaletteHost;
class QMenu;
class QPainter;

class CLayerListDlg : public PaletteDialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1116;
    static constexpr int kNewId = 1117;
    static constexpr int kCopyId = 1118;
    static constexpr int kDeleteId = 1119;
    static constexpr int kDetailsId = 1120;
    // The pop-up menu of kDetailsId.
    static constexpr int kDetailsMenuId = 303;

    CLayerListDlg();

    // The document shown (none: an empty list) and the layer count it was
    // last given; the list follows at the next FillList.
    void SetDocument(CPelmarkDoc* doc);
    void SetLayerCount(int count);
    CPelmarkDoc* GetDocument() const { return doc_; }
    int LayerCount() const { return layerCount_; }

    // FillList, CompositeLayers, and a repaint when the window is visible.
    void Refresh();
    void RepaintIfVisible();
    // Rebuilds the rows from the document (the layers from the top, then the
    // underlay row), selects the edit layer's row and sets the buttons.
    void FillList();
    // The edit layer and its visibility follow the selected row; the
    // composite is rebuilt from the layers, the views repainted and the
    // plug-in windows told.
    void CompositeLayers();

    // The selected row (-1 none) / selects a row without a report.
    int GetCurSel() const;
    void SetCurSel(int row);
    // The row that stands for the document's edit layer, -1 when none.
    int EditLayerRow() const;
    // Set while the document's underlay row is its edit layer.
    bool UnderlaySelected() const { return underlaySelected_; }

    // The layer operations of the layer commands on the document shown; each
    // ends by repainting the document's views.
    void MergeIntoCurrent(int layer);
    void FlattenIntoCurrent();
    void FlattenIntoFirstVisible();
    void SetAllDrawModes(int mode);
    void SetLayerVisible(int layer, bool visible);
    void CopyImageToLayer(int layer);

    // The palette index of layer pixel (x, y), y from the top: -1 outside the
    // image, 0 for an empty slot.
    static int GetThumbPixel(int x, int y, const CPelmarkDoc& doc, int layer);
    // Thumbnail size of a row (34 x 34).
    static QSize ThumbSize();

    CLayerListBox* List() const { return list_; }
    // The open pop-up menu of "详细", or null.
    QMenu* DetailsMenu() const { return detailsMenu_; }

protected:
    void DeclareCommands(framework::CommandTable& table) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PaletteHost* host() const;
    void layersChanged();
    void enableActiveView(bool enabled);
    bool anyLayerVisible() const;
    int rowOfLayer(int layer) const;
    void drawItem(QPainter& painter, int row, const QRect& item, bool listSelected);
    void onSelChange(int row, bool checkToggled, Qt::KeyboardModifiers modifiers);
    void onDoubleClick(int row);
    void onNew();
    void onCopy();
    void onDelete();
    void onDetails();
    void repaintViews();

    CLayerListBox* list_ = nullptr;
    CPelmarkDoc* doc_ = nullptr;
    int layerCount_ = 0;
    QString text_;
    std::array<QRgb, 256> colors_{};
    bool underlaySelected_ = false;
    QMenu* detailsMenu_ = nullptr;
};
