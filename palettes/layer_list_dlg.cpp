#include "palettes/layer_list_dlg.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/layer_operations.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "framework/menu_builder.h"
#include "framework/view.h"
#include "palettes/layer_details_menu.h"
#include "palettes/layer_list_box.h"
#include "palettes/layer_thumbnail.h"
#include "palettes/palette_host.h"
#include "tools/pixel_access.h"

namespace {

// Seven full-width spaces leave room for the thumbnail.
const QString kIndent = QStringLiteral("　　　　　　　");

constexpr int kMarginLeft = 2;
constexpr int kMarginTop = 32;

const LayerHeader* HeaderOf(const MemLockGuard& lock) {
    return lock && lock.size() >= LAYER_HEADER_SIZE ? lock.as<LayerHeader>() : nullptr;
}

QString LayerRowText(const LayerHeader& header) {
    const QString name = QString::fromUtf8(header.name, qsizetype(strnlen(header.name, LAYER_NAME_SIZE)));
    return kIndent + name +
           (header.drawMode == LAYER_DRAW_INDEX0_CLEAR ? QStringLiteral("＜背景色：透明＞")
                                                      : QStringLiteral("＜标准＞"));
}

}  // namespace

CLayerListDlg::CLayerListDlg()
    : PaletteDialog(225, QStringLiteral("图层操作"), QStringLiteral("LayerPalettePos"), 4,
                    QSize(190, 300)) {
    setObjectName(QStringLiteral("LayerPalette"));
    CreateControls({
        {kNewId, framework::ControlKind::PushButton, QStringLiteral("新建"), {2, 4, 42, 24}},
        {kCopyId, framework::ControlKind::PushButton, QStringLiteral("复制"), {46, 4, 42, 24}},
        {kDeleteId, framework::ControlKind::PushButton, QStringLiteral("删除"), {90, 4, 42, 24}},
        {kDetailsId, framework::ControlKind::PushButton, QStringLiteral("详细"), {134, 4, 42, 24}},
    });
    for (int id : {kNewId, kCopyId, kDeleteId, kDetailsId})
        if (auto* button = Item<QPushButton>(id)) button->setAutoDefault(false);
    list_ = new CLayerListBox(this);
    list_->setObjectName(QStringLiteral("LayerList"));
    RegisterControl(kListId, list_);
    list_->SetDrawItem([this](QPainter& p, int row, const QRect& item, bool selected) {
        drawItem(p, row, item, selected);
    });
    list_->SetSelChange([this](int row, bool toggled, Qt::KeyboardModifiers modifiers) {
        onSelChange(row, toggled, modifiers);
    });
    list_->SetDoubleClick([this](int row) { onDoubleClick(row); });
    list_->setGeometry(kMarginLeft, kMarginTop, width() - 12, height() - 66);
    FillList();
}

void CLayerListDlg::DeclareCommands(framework::CommandTable& table) {
    table.On(kNewId, [this] { onNew(); })
        .On(kCopyId, [this] { onCopy(); })
        .On(kDeleteId, [this] { onDelete(); })
        .On(kDetailsId, [this] { onDetails(); });
    PaletteDialog::DeclareCommands(table);
}

void CLayerListDlg::resizeEvent(QResizeEvent* event) {
    PaletteDialog::resizeEvent(event);
    list_->setGeometry(kMarginLeft, kMarginTop, std::max(0, width() - 12), std::max(0, height() - 66));
}

PaletteHost* CLayerListDlg::host() const { return PaletteHost::Of(parentWidget()); }

void CLayerListDlg::SetDocument(CPelmarkDoc* doc) {
    if (doc != doc_) underlaySelected_ = false;
    doc_ = doc;
}

void CLayerListDlg::SetLayerCount(int count) { layerCount_ = std::clamp(count, 0, document::kLayerSlots); }

void CLayerListDlg::Refresh() {
    FillList();
    CompositeLayers();
    RepaintIfVisible();
}

void CLayerListDlg::RepaintIfVisible() {
    if (isVisible()) list_->viewport()->update();
}

int CLayerListDlg::GetCurSel() const { return list_->GetCurSel(); }

void CLayerListDlg::SetCurSel(int row) {
    list_->SetCurSel(row);
    RepaintIfVisible();
}

int CLayerListDlg::rowOfLayer(int layer) const {
    for (int row = 0; row < list_->GetCount(); ++row)
        if (list_->RowAt(row).layer == layer) return row;
    return -1;
}

int CLayerListDlg::EditLayerRow() const {
    if (!doc_) return -1;
    if (doc_->m_nEditLayer < 0) return doc_->m_bHasUnderlay ? rowOfLayer(-1) : -1;
    return rowOfLayer(doc_->m_nEditLayer);
}

void CLayerListDlg::FillList() {
    PaletteHost* h = host();
    const bool locked = h && h->LayerCommandsLocked();
    const int buttons[] = {kNewId, kCopyId, kDeleteId, kDetailsId};
    if (!doc_) {
        list_->ResetContent();
        for (int id : buttons) EnableDlgItem(id, false);
        list_->setEnabled(!locked);
        return;
    }
    CPelmarkDoc& doc = *doc_;
    colors_ = layer_palette::CompositeColors(doc);
    list_->setUpdatesEnabled(false);
    // The rows are made again; the list stays where the user scrolled it.
    QScrollBar* bar = list_->verticalScrollBar();
    const int scrolled = bar->value();
    std::vector<CLayerListBox::Row> rows;
    const int count = std::min(layerCount_, int(doc.m_hLayers.size()));
    rows.reserve(size_t(count) + 1);
    for (int layer = count - 1; layer >= 0; --layer) {
        MemLockGuard lock(doc.m_hLayers[size_t(layer)]);
        const LayerHeader* header = HeaderOf(lock);
        if (!header) continue;
        rows.push_back({LayerRowText(*header), header->visible != 0, layer});
    }
    if (doc.m_bHasUnderlay)
        rows.push_back({kIndent + QStringLiteral("轮廓"), doc.m_bUnderlayCheck != 0, -1});
    list_->SetRows(std::move(rows));
    bar->setValue(scrolled);
    list_->SetCurSel(EditLayerRow());
    const bool usable = doc.m_nLayerCount > 0 && !doc.m_bAnimPluginRunning && !locked;
    for (int id : buttons) EnableDlgItem(id, usable);
    list_->setEnabled(!locked);
    list_->setUpdatesEnabled(true);
}

void CLayerListDlg::CompositeLayers() {
    if (!doc_) return;
    CPelmarkDoc& doc = *doc_;
    const int row = list_->GetCurSel();
    if (row >= 0) {
        const CLayerListBox::Row& r = list_->RowAt(row);
        doc.m_nEditLayer = r.layer;
        if (r.layer < 0) {
            doc.m_bUnderlayCheck = r.checked;
        } else {
            MemLockGuard lock(doc.m_hLayers[size_t(r.layer)]);
            if (HeaderOf(lock)) lock.as<LayerHeader>()->visible = r.checked;
        }
    }
    // The composite is a function of the layers alone: it is rebuilt even
    // while the underlay row is chosen, so that every edit shows.
    tools::RecomposeDocument(doc);
    doc.NoteContentChange();
    doc.UpdateAllViews(nullptr);
    if (PaletteHost* h = host(); h && (row < 0 || list_->RowAt(row).layer >= 0)) h->ImageDrawn();
}

void CLayerListDlg::layersChanged() {
    if (PaletteHost* h = host()) h->LayersChanged(doc_);
    else Refresh();
}

void CLayerListDlg::enableActiveView(bool enabled) {
    PaletteHost* h = host();
    if (framework::View* view = h ? h->ActiveView() : nullptr) view->setEnabled(enabled);
}

bool CLayerListDlg::anyLayerVisible() const {
    if (!doc_) return false;
    const int count = std::min<int>(doc_->m_nLayerCount, int(doc_->m_hLayers.size()));
    for (int layer = 0; layer < count; ++layer) {
        MemLockGuard lock(doc_->m_hLayers[size_t(layer)]);
        if (const LayerHeader* header = HeaderOf(lock); header && header->visible) return true;
    }
    return false;
}

void CLayerListDlg::onSelChange(int row, bool checkToggled, Qt::KeyboardModifiers modifiers) {
    if (!doc_ || row < 0 || row >= list_->GetCount()) return;
    CPelmarkDoc& doc = *doc_;
    const int previous = doc.m_nEditLayer;
    const CLayerListBox::Row clicked = list_->RowAt(row);
    colors_ = layer_palette::CompositeColors(doc);

    // A check box shows or hides its row; the edit layer stays.
    if (clicked.layer < 0) {
        doc.m_bUnderlayCheck = clicked.checked;
    } else {
        MemLockGuard lock(doc.m_hLayers[size_t(clicked.layer)]);
        if (HeaderOf(lock)) lock.as<LayerHeader>()->visible = clicked.checked;
    }
    const int count = std::min<int>(doc.m_nLayerCount, int(doc.m_hLayers.size()));
    const bool swap = !checkToggled && (modifiers & Qt::ShiftModifier) && clicked.layer >= 0 &&
                      previous >= 0 && previous < count && clicked.layer != previous &&
                      doc.m_hLayers[size_t(previous)] && doc.m_hLayers[size_t(clicked.layer)];
    const int chosen = checkToggled || swap ? previous : clicked.layer;

    if (chosen != previous || swap) {
        // The step keeps the layer that was current (and the order before a
        // swap), so that undo goes back to it.
        doc.m_nEditLayer = previous;
        if (doc.PushUndo(document::kLayerAction, QStringLiteral("改变所选层"), true)) {
            if (swap) std::swap(doc.m_hLayers[size_t(previous)], doc.m_hLayers[size_t(clicked.layer)]);
            doc.m_nEditLayer = chosen;
            doc.SetModified(true);
        }
    }
    if (PaletteHost* h = host()) h->ReleaseCommandLocks();
    FillList();
    CompositeLayers();
    // A check box alone leaves the floating selection where it belongs.
    if (doc.m_nEditLayer != previous || swap) doc.RefreshSavedLayerCopy();
    enableActiveView(anyLayerVisible());
    underlaySelected_ = doc.m_bHasUnderlay && doc.m_nEditLayer < 0;
    RepaintIfVisible();
}

void CLayerListDlg::onDoubleClick(int row) {
    PaletteHost* h = host();
    if (!doc_ || row < 0 || (h && !h->ProbeWorkMemory(1))) return;
    // The press before the double click has made the row's layer the edit
    // layer already; the underlay row has nothing to change.
    if (!h || row != EditLayerRow() || underlaySelected_ || !document::CurrentLayerOf(*doc_)) return;
    if (!h->ChangeEditLayer(doc_)) return;
    doc_->UpdateAllViews(nullptr);
    doc_->SetModified(true);
    layersChanged();
}

void CLayerListDlg::onNew() {
    if (!doc_) return;
    doc_->OnLayerNew();
    enableActiveView(true);
}

void CLayerListDlg::onCopy() {
    if (!doc_) return;
    doc_->OnLayerDuplicate();
    enableActiveView(true);
}

void CLayerListDlg::onDelete() {
    if (!doc_) return;
    CPelmarkDoc& doc = *doc_;
    if (doc.m_nLayerCount <= 0) return;
    if (doc.m_nLayerCount == 1 && doc.m_nEditLayer == 0) return;
    if (doc.m_nEditLayer < 0) {
        doc.DeleteUnderlay();
        doc.m_nEditLayer = 0;
        underlaySelected_ = false;
        if (PaletteHost* h = host()) h->ReleaseCommandLocks();
        layersChanged();
        enableActiveView(true);
        return;
    }
    if (!document::DeleteCurrentLayer(doc)) return;
    doc.SetModified(true);
    layersChanged();
    doc.RefreshSavedLayerCopy();
}

void CLayerListDlg::onDetails() {
    PaletteHost* h = host();
    if (!h) return;
    if (detailsMenu_) detailsMenu_->close();
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("LayerDetailsMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const framework::CommandHooks hooks = h->FrameCommandHooks();
    framework::AppendMenuItems(menu, LayerDetailsMenu(), hooks);
    if (hooks.aboutToShow)
        connect(menu, &QMenu::aboutToShow, menu, [show = hooks.aboutToShow, menu] { show(menu); });
    detailsMenu_ = menu;
    connect(menu, &QObject::destroyed, this, [this, menu] {
        if (detailsMenu_ == menu) detailsMenu_ = nullptr;
    });
    menu->popup(frameGeometry().topRight());
}

void CLayerListDlg::repaintViews() {
    if (!doc_) return;
    doc_->NoteContentChange();
    doc_->UpdateAllViews(nullptr);
}

void CLayerListDlg::MergeIntoCurrent(int layer) {
    if (!doc_) return;
    document::MergeIntoCurrent(*doc_, layer);
    repaintViews();
}

void CLayerListDlg::FlattenIntoCurrent() {
    if (!doc_) return;
    document::FlattenIntoCurrent(*doc_);
    repaintViews();
}

void CLayerListDlg::FlattenIntoFirstVisible() {
    if (!doc_) return;
    document::FlattenIntoFirstVisible(*doc_);
    repaintViews();
}

void CLayerListDlg::SetAllDrawModes(int mode) {
    if (!doc_) return;
    document::SetAllDrawModes(*doc_, mode);
    repaintViews();
}

void CLayerListDlg::SetLayerVisible(int layer, bool visible) {
    if (!doc_) return;
    document::SetLayerVisible(*doc_, layer, visible);
    repaintViews();
}

void CLayerListDlg::CopyImageToLayer(int layer) {
    if (!doc_ || layer < 0 || layer >= int(doc_->m_hLayers.size())) return;
    document::CopyImageToLayer(doc_->m_hImage, doc_->m_hLayers[size_t(layer)]);
    repaintViews();
}

int CLayerListDlg::GetThumbPixel(int x, int y, const CPelmarkDoc& doc, int layer) {
    return layer_palette::GetThumbPixel(x, y, doc, layer);
}

QSize CLayerListDlg::ThumbSize() { return {34, 34}; }

void CLayerListDlg::drawItem(QPainter& painter, int row, const QRect& item, bool listSelected) {
    const bool layerStep = doc_ && doc_->m_bLayerStep;
    const bool selected = layerStep || !doc_ ? listSelected : row == EditLayerRow();
    const QPalette& pal = palette();
    painter.fillRect(item, selected ? pal.highlight() : pal.base());
    painter.setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter.drawText(item.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     list_->RowAt(row).text);

    // The thumbnail: x + 16 .. x + 52 and y + 2 .. bottom - 2, black, and
    // the picture one pixel inside.
    const QRect frame(item.left() + 16, item.top() + 2, 36, item.height() - 4);
    painter.fillRect(frame, Qt::black);
    const QRect inner = frame.adjusted(1, 1, -1, -1);
    if (doc_ && !inner.isEmpty()) {
        const int layer = list_->RowAt(row).layer;
        const QImage thumb = layer < 0 ? layer_palette::UnderlayThumbnail(doc_->m_hUnderlay, inner.size())
                                       : layer_palette::LayerThumbnail(*doc_, layer, inner.size(), colors_);
        if (!thumb.isNull()) painter.drawImage(inner.topLeft(), thumb);
    }
    painter.setPen(Qt::black);
    painter.drawLine(item.left(), item.bottom(), item.right(), item.bottom());
}
