#include "frame/main_frame.h"

#include <QFontDatabase>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

#include "dialogs/gradient_dlg.h"
#include "document/image_limits.h"
#include "document/pelmark_doc.h"
#include "framework/resource_pictures.h"
#include "framework/application.h"
#include "framework/view.h"
#include "view/grid_presets.h"
#include "view/pelmark_view.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_palette.h"
#include "platform/memory.h"
#include "tools/pixel_access.h"
#include "platform/message_box.h"

namespace {

// A CJK font of about 12 pixels for the status bars.
QFont makeStatusFont() {
    static const char* const preferred[] = {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                                            "Noto Sans CJK SC", "Noto Sans SC",
                                            "Source Han Sans SC", "AR PL UMing CN",
                                            "Droid Sans Fallback"};
    QFont font;
    const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const char* name : preferred)
        if (families.contains(QString::fromLatin1(name))) {
            font = QFont(QString::fromLatin1(name));
            break;
        }
    if (font.family().isEmpty() && !families.isEmpty()) font = QFont(families.front());
    font.setPixelSize(12);
    return font;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : framework::MdiFrame(parent) {
    pasteOverwrite_.fill(1);
    pasteWrite_.fill(1);
    pasteOverwrite_[0] = 0;
    document::SetDocumentHost(this);
    plugin_host::PluginFrame::Install(this);
    view::ViewHost::Install(this);
    DialogHost::Install(this);
    // The grid display flags go to the settings when the program closes.
    gridFlagsWriter_ = grid::SaveGridDisplayFlags;
}

CMainFrame::~CMainFrame() {
    connectEditDialogs(false);
    // Palettes and bars go in the reverse order of their making; each
    // palette writes its position key as it goes.
    delete guidePalette_;
    guidePalette_ = nullptr;
    delete posPalette_;
    posPalette_ = nullptr;
    delete layerPalette_;
    layerPalette_ = nullptr;
    delete gradientDlg_;
    gradientDlg_ = nullptr;
    delete toolBar_;
    toolBar_ = nullptr;
    delete colorPalette_;
    colorPalette_ = nullptr;
    delete linkPalette_;
    linkPalette_ = nullptr;
    delete selectModePalette_;
    selectModePalette_ = nullptr;
    delete toolPalette_;
    toolPalette_ = nullptr;
    delete toneBar_;
    toneBar_ = nullptr;
    delete infoBar_;
    infoBar_ = nullptr;
    // A frame that another replaced as the host leaves that one in place.
    if (document::InstalledDocumentHost() == this) document::SetDocumentHost(nullptr);
    // The plug-in host reaches the frame until its bases go.
    plugin_host::PluginFrame::Uninstall(this);
    // The views and dialogs that go with the frame's windows find no frame.
    DialogHost::Uninstall(this);
    view::ViewHost::Uninstall(this);
}

CMainFrame* CMainFrame::Get() {
    framework::Application* app = framework::Application::Instance();
    return app ? dynamic_cast<CMainFrame*>(app->GetMainFrame()) : nullptr;
}

int CMainFrame::CheckWorkMemory(int mode) {
    MaxImageSize max = GetMaxImageSize();
    size_t size = mode == 2 ? size_t(250000000) : size_t(max.width) * size_t(max.height) * 8;
    MemHandle probe = MemAlloc(size);
    if (!probe) {
        ShowWorkMemoryError();
        return 0;
    }
    MemFree(probe);
    return 1;
}

void CMainFrame::ShowWorkMemoryError() {
    ShowMessageBox(WindowHandle(), "工作内存不足", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

void CMainFrame::ShowOutOfMemory() {
    ShowMessageBox(WindowHandle(), "内存不足。", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

bool CMainFrame::IsCommandLocked() const { return locks_.AnySet(); }

void CMainFrame::UpdateLayerPalette(CPelmarkDoc* doc) {
    // Every edit relies on this for its composite, shown palette or not.
    if (!layerPalette_) {
        if (doc && tools::RecomposeDocument(*doc)) doc->UpdateAllViews(nullptr);
        return;
    }
    layerPalette_->SetDocument(doc);
    layerPalette_->SetLayerCount(doc ? doc->m_nLayerCount : 0);
    layerPalette_->Refresh();
}

void CMainFrame::SetLayerPaletteDoc(CPelmarkDoc* doc) {
    if (!layerPalette_) return;
    layerPalette_->SetDocument(doc);
    layerPalette_->SetLayerCount(doc ? doc->m_nLayerCount : 0);
    layerPalette_->FillList();
    layerPalette_->RepaintIfVisible();
}

CPelmarkDoc* CMainFrame::GetLayerPaletteDoc() const {
    return layerPalette_ ? layerPalette_->GetDocument() : nullptr;
}

int CMainFrame::GetLayerListSel() const { return layerPalette_ ? layerPalette_->GetCurSel() : -1; }

void CMainFrame::SetLayerListSel(int index) {
    if (layerPalette_) layerPalette_->SetCurSel(index);
}
void CMainFrame::UpdateEditButtons() { SetEditButtons(); }

void CMainFrame::RefreshActiveView() {
    if (framework::View* view = GetActiveView()) view->update();
}

void CMainFrame::RefreshActiveView(int mode) {
    framework::View* view = GetActiveView();
    if (auto* canvas = dynamic_cast<CPelmarkView*>(view)) canvas->RefreshAfterEdit(mode);
    else if (view) view->update();
}

QStatusBar* CMainFrame::StatusBar1() const { return const_cast<CMainFrame*>(this)->statusBar(); }

bool CMainFrame::createStatusBars() {
    statusFont_ = std::make_unique<QFont>(makeStatusFont());
    QStatusBar* bar1 = statusBar();
    bar1->setFont(*statusFont_);
    for (const char* indicator : {"CAP", "NUM"}) {
        auto* label = new QLabel(QString::fromLatin1(indicator), bar1);
        label->setFont(*statusFont_);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setEnabled(false);
        bar1->addPermanentWidget(label);
        panes_.emplace_back(label);
    }
    // The second bar (position, size or angle, and a spare pane) sits in a
    // bar of its own below the tone bar.
    infoBar_ = new QToolBar(QStringLiteral("信息"), this);
    infoBar_->setObjectName(QStringLiteral("InfoBar"));
    infoBar_->setMovable(false);
    infoBar_->setFloatable(false);
    infoBar_->toggleViewAction()->setVisible(false);
    statusBar2_ = new QStatusBar(infoBar_);
    statusBar2_->setSizeGripEnabled(false);
    statusBar2_->setFont(*statusFont_);
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(statusBar2_);
        label->setFont(*statusFont_);
        label->setFixedWidth(128);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar2_->addWidget(label);
        panes_.emplace_back(label);
    }
    infoBar_->addWidget(statusBar2_);
    addToolBar(Qt::BottomToolBarArea, infoBar_);
    return true;
}

void CMainFrame::SetPaneText(int bar, int pane, const QString& text) {
    if (bar == 1 && pane == 0) {
        SetMessageText(text);
        return;
    }
    size_t index = bar == 1 ? size_t(pane - 1) : size_t(2 + pane);
    if (bar < 1 || bar > 2 || pane < 0 || pane > 2 || index >= panes_.size() || !panes_[index]) return;
    panes_[index]->setText(text);
}

QString CMainFrame::PaneText(int bar, int pane) const {
    if (bar == 1 && pane == 0) return const_cast<CMainFrame*>(this)->statusBar()->currentMessage();
    size_t index = bar == 1 ? size_t(pane - 1) : size_t(2 + pane);
    if (bar < 1 || bar > 2 || pane < 0 || pane > 2 || index >= panes_.size() || !panes_[index]) return {};
    return panes_[index]->text();
}

const QFont& CMainFrame::StatusFont() const {
    static const QFont fallback;
    return statusFont_ ? *statusFont_ : fallback;
}

QCursor CMainFrame::ProgramCursor(int resourceId) const {
    const int* ids = pictures::ProgramCursorIds();
    for (int i = 0; i < pictures::kProgramCursorCount && size_t(i) < cursors_.size(); ++i)
        if (ids[i] == resourceId) return cursors_[size_t(i)];
    return QCursor(Qt::ArrowCursor);
}

int CMainFrame::ToolBarSlots() const { return toolBar_ ? int(toolBar_->actions().size()) : 0; }
