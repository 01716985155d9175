#include "dialogs/palette_edit_dlg.h"

#include <QWindow>

#include "dialogs/dialog_host.h"
#include "dialogs/gradient_dlg.h"
#include "dialogs/reduce_colors_dlg.h"
#include "document/clut_file.h"
#include "document/color_edits.h"
#include "document/color_modes.h"
#include "document/document_host.h"
#include "document/layer_operations.h"
#include "document/palette_from_image.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "document/used_colors.h"
#include "document/working_palette.h"
#include "framework/application.h"
#include "framework/framework_strings.h"
#include "framework/support_file_dialog.h"
#include "imaging/dib_create.h"
#include "imaging/swatch_copy.h"
#include "platform/message_box.h"
#include "plugin_host/file_prompt.h"
#include "tools/pixel_access.h"

using framework::ControlKind;

namespace {

CPaletteEditDlg* g_openEditor = nullptr;

DialogHost* Host() { return DialogHost::Installed(); }

bool Probe() {
    DialogHost* host = Host();
    return !host || host->ProbeWorkMemory(1);
}

// Puts a kept copy back into a live block; the copy is used up.
void RestoreBlock(MemHandle& live, MemHandle& copy) {
    if (!copy) return;
    if (live && MemSize(live) == MemSize(copy)) {
        CopyGlobalContents(live, copy);
        MemFree(copy);
    } else {
        if (live) MemFree(live);
        live = copy;
    }
    copy = nullptr;
}

}  // namespace

const QString& CPaletteEditDlg::ClutFilter() {
    static const QString filter = QStringLiteral("调色板文件 (*.CLT)   | *.clt;*.Clt;*.CLT ||");
    return filter;
}

CPaletteEditDlg::CPaletteEditDlg(CPelmarkDoc* doc, QWidget* parent)
    : framework::Dialog(kTemplateId, parent), doc_(doc) {
    setWindowTitle(QStringLiteral("编辑调色板"));
    setWindowModality(Qt::WindowModal);
    const int g = CColorGrid::kSize;
    const int left = 12, middle = left + g + 12, right = middle + 92;
    const int row = 28 + g + 10;
    CreateControls({
        {-1, ControlKind::Label, QStringLiteral("现在调色板"), {left, 8, g, 18}},
        {-1, ControlKind::Label, QStringLiteral("引用调色板"), {right, 8, g, 18}},
        {kReplaceId, ControlKind::PushButton, QStringLiteral("＜替换"), {middle, 28 + g / 2 - 13, 80, 26}},
        {kReduceId, ControlKind::PushButton, QStringLiteral("减色"), {left, row, 70, 26}},
        {kDeleteUnusedId, ControlKind::PushButton, QStringLiteral("删除未使用色"), {left + 74, row, 100, 26}},
        {kGradationId, ControlKind::PushButton, QStringLiteral("制作渐变"), {left + 178, row, 76, 26}},
        {kReplaceColorId, ControlKind::CheckBox, QStringLiteral("替换颜色"), {left, row + 36, 120, 22}},
        {kOpenClutId, ControlKind::PushButton, QStringLiteral("载入"), {right, row, 76, 26}},
        {kSaveClutId, ControlKind::PushButton, QStringLiteral("保存"), {right + 80, row, 76, 26}},
        {kFromImageId, ControlKind::PushButton, QStringLiteral("指定图像"), {right + 160, row, g - 160, 26}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {right + 80, row + 34, 76, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {right + 160, row + 34, g - 160, 26}},
    });
    current_ = new CPaletteGrid(this);
    current_->move(left, 28);
    reference_ = new CPaletteGrid(this);
    reference_->move(right, 28);
    reference_->SetWorkingCopy(true);
    for (CPaletteGrid* grid : {current_, reference_}) {
        grid->SetDocument(doc_);
        grid->SetHost(this);
    }
    RegisterControl(kCurrentGridId, current_);
    RegisterControl(kReferenceGridId, reference_);
    setFixedSize(right + g + 12, row + 34 + 26 + 12);
}

CPaletteEditDlg::~CPaletteEditDlg() {
    freeKept();
    if (g_openEditor == this) g_openEditor = nullptr;
}

CPaletteEditDlg* CPaletteEditDlg::OpenEditor() { return g_openEditor; }

QString& CPaletteEditDlg::ClutPath() {
    static QString path;
    return path;
}

bool CPaletteEditDlg::SwapMode() const { return WorkingPaletteReplaceMode() != 0; }

void CPaletteEditDlg::DeclareCommands(framework::CommandTable& t) {
    t.On(kReplaceId, [this] { OnReplacePalette(); })
        .On(kOpenClutId, [this] { OnOpenClut(); })
        .On(kSaveClutId, [this] { OnSaveClut(); })
        .On(kFromImageId, [this] { OnPaletteFromImage(); })
        .On(kReduceId, [this] { OnReduceColors(); })
        .On(kDeleteUnusedId, [this] { OnDeleteUnusedColors(); })
        .On(kGradationId, [this] { OnMakeGradation(); })
        .On(kReplaceColorId, [this] { OnReplaceColorMode(); });
    framework::Dialog::DeclareCommands(t);
}

// ---- opening and closing ----

bool CPaletteEditDlg::OnInitDialog() {
    g_openEditor = this;
    WorkingPaletteReplaceMode() = 0;
    CheckDlgButton(kReplaceColorId, 0);
    for (CPaletteGrid* grid : {current_, reference_}) {
        grid->Enabled().fill(1);
        grid->Flags(0).fill(0);
        grid->Flags(1).fill(0);
        grid->SetSelectedCell(-1);
    }
    if (doc_ && doc_->m_hImage) {
        // Cancel must give back every layer: without the copies there is
        // nothing to give back, so the editor does not open.
        if (!keepDocument()) {
            document::Host().ReportWorkMemoryShort();
            EndDialog(framework::IDCANCEL);
            return false;
        }
        current_->SetSelectedCell(doc_->m_nColor);
        reference_->SetSelectedCell(doc_->m_nColor);
    }
    LoadFromDocument();
    SavedWorkingPalette() = GetWorkingPalette();
    return true;
}

bool CPaletteEditDlg::keepDocument() {
    freeKept();
    kept_.image = DuplicateGlobal(doc_->m_hImage);
    if (!kept_.image) return false;
    for (int i = 0; i < doc_->m_nLayerCount && i < int(doc_->m_hLayers.size()); ++i) {
        MemHandle layer = doc_->m_hLayers[size_t(i)];
        MemHandle copy = layer ? DuplicateGlobal(layer) : nullptr;
        if (layer && !copy) {
            freeKept();
            return false;
        }
        kept_.layers.push_back(copy);
    }
    kept_.paletteLock = doc_->m_wPaletteLock;
    kept_.color = doc_->m_nColor;
    kept_.colorMode = doc_->m_nColorMode;
    kept_.modified = doc_->IsModified();
    kept_.undoIndex = doc_->m_nUndoIndex;
    return true;
}

void CPaletteEditDlg::freeKept() {
    if (kept_.image) MemFree(kept_.image);
    for (MemHandle layer : kept_.layers)
        if (layer) MemFree(layer);
    kept_ = Kept{};
}

void CPaletteEditDlg::restoreDocument() {
    CPelmarkDoc* doc = doc_;
    RestoreBlock(doc->m_hImage, kept_.image);
    for (size_t i = 0; i < kept_.layers.size() && i < doc->m_hLayers.size(); ++i)
        RestoreBlock(doc->m_hLayers[i], kept_.layers[i]);
    freeKept();
}

void CPaletteEditDlg::OnOK() {
    freeKept();
    if (DialogHost* host = Host()) {
        host->ImageDrawn();
        host->RefreshToolPalette();
    }
    EndDialog(framework::IDOK);
}

void CPaletteEditDlg::OnCancel() {
    CPelmarkDoc* doc = doc_;
    DialogHost* host = Host();
    const bool restored = doc && kept_.image;
    const bool modified = kept_.modified;
    if (restored) {
        const Kept kept = kept_;
        restoreDocument();
        doc->m_wPaletteLock = kept.paletteLock;
        doc->m_nColor = kept.color;
        doc->m_nColorMode = kept.colorMode;
        // The steps of the work given back would undo nothing.
        doc->DropUndoStepsAbove(kept.undoIndex);
        if (host) host->PaletteChanged();
        // A lone layer is shown again.
        if (doc->m_nLayerCount == 1) document::SetLayerVisible(*doc, 0, true);
        // The restored layers make the composite, through the restored palette.
        doc->InitDib();
        tools::RecomposeDocument(*doc);
        doc->UpdateAllViews(nullptr);
        if (host) host->RefreshActiveViewMode(0);
    }
    if (host) {
        host->RepaintActiveView();
        if (doc) host->LayersChanged(doc);
        // The tool palette's colour swatches show the restored palette.
        if (restored) host->RefreshToolPalette();
    }
    // Last: the refreshes above may mark the document changed.
    if (doc && restored) doc->SetModified(modified);
    EndDialog(framework::IDCANCEL);
}

void CPaletteEditDlg::OnDestroy() {
    if (lentToolWindows_) {
        if (DialogHost* host = Host()) host->LendToolWindows(nullptr);
        lentToolWindows_ = false;
    }
    if (CGradientDlg::StartedFromPaletteEditor()) CGradientDlg::StartedFromPaletteEditor() = false;
    if (g_openEditor == this) g_openEditor = nullptr;
    framework::Dialog::OnDestroy();
}

// ---- the working palette ----

void CPaletteEditDlg::LoadFromDocument() {
    if (doc_) LoadWorkingPaletteFromDocument(*doc_);
}

void CPaletteEditDlg::ReplacePalette() {
    GetWorkingPalette() = SavedWorkingPalette();
    OnReplacePalette();
}

void CPaletteEditDlg::Redraw() {
    current_->update();
    reference_->update();
}

void CPaletteEditDlg::afterPaletteChange(CPelmarkDoc* doc) {
    doc->ScanUsedColors();
    doc->InitDib();
    doc->UpdateAllViews(nullptr);
    if (DialogHost* host = Host()) host->PaletteChanged();
    Redraw();
    doc->EndEditMode();
}

void CPaletteEditDlg::OnReplacePalette() {
    CPelmarkDoc* doc = doc_;
    if (!doc || !doc->m_hImage) return;
    // Without its step the palette stays as it is.
    if (!doc->PushUndo(document::kEditModeAction, QStringLiteral("置换调色板"), true)) return;
    if (doc->m_nColorMode != 0) {
        // A full palette goes in: the 16-colour mode ends.
        doc->m_wPaletteLock = document::LockWordOfEditMode(0);
        doc->m_nColor = document::GetColorModeInfo(0).firstColor;
        doc->m_nColorMode = 0;
        if (DialogHost* host = Host()) host->PaletteChanged();
    }
    ColorTable table{};
    std::copy(GetWorkingPalette().begin(), GetWorkingPalette().end(), table.begin());
    WriteColorTable(doc->m_hImage, table);
    afterPaletteChange(doc);
    doc->SetModified(true);
}

void CPaletteEditDlg::OnReplaceColorMode() {
    WorkingPaletteReplaceMode() = WorkingPaletteReplaceMode() ? 0 : 1;
    CheckDlgButton(kReplaceColorId, WorkingPaletteReplaceMode());
}

// ---- palette files ----

void CPaletteEditDlg::warn(const QString& text) {
    framework::Application* app = framework::Application::Instance();
    const QByteArray caption = app ? app->AppName().toUtf8() : QByteArrayLiteral("Kavolt");
    ShowMessageBox(WindowHandle(), text.toUtf8().constData(), caption.constData(), MB_BTN_OK | MB_ICON_WARNING);
}

bool CPaletteEditDlg::promptClut(bool open, QString* path) {
    const unsigned flags = dialogs::OFN_HIDEREADONLY |
                           (open ? dialogs::OFN_FILEMUSTEXIST : dialogs::OFN_OVERWRITEPROMPT);
    dialogs::CSupportFileDialog dialog(open, QStringLiteral("clt"), ClutPath(), flags,
                                       dialogs::ParseFilterString(ClutFilter()), this);
    if (dialog.DoModal() != framework::IDOK || dialog.GetPathName().isEmpty()) return false;
    *path = dialog.GetPathName();
    ClutPath() = *path;
    return true;
}

void CPaletteEditDlg::OnOpenClut() {
    if (!Probe()) return;
    QString path;
    if (!promptClut(true, &path)) return;
    if (!document::ReadClutFile(path, GetWorkingPalette())) {
        warn(QStringLiteral("%1 无法打开").arg(path));
        return;
    }
    reference_->update();
}

void CPaletteEditDlg::OnSaveClut() {
    if (!Probe()) return;
    QString path;
    if (!promptClut(false, &path)) return;
    // The file holds the document's palette as it is now.
    LoadFromDocument();
    if (!document::WriteClutFile(path, GetWorkingPalette())) warn(QStringLiteral("%1 无法保存").arg(path));
    reference_->update();
}

void CPaletteEditDlg::OnPaletteFromImage() {
    QString name;
    if (!plugin_host::DoPromptFileName(name, framework::IDS_OPEN_TITLE, dialogs::OFN_FILEMUSTEXIST, true,
                                       nullptr, true, true))
        return;
    if (document::LoadPaletteFromImageFile(name) == 1) reference_->update();
}

// ---- the document's colours ----

void CPaletteEditDlg::OnReduceColors() {
    CPelmarkDoc* doc = doc_;
    if (!doc || !doc->m_hImage || !Probe()) return;
    CReduceColorsDlg dlg(doc, document::ScanLayerColors(*doc).count, this);
    if (dlg.DoModal() == framework::IDOK) Redraw();
}

void CPaletteEditDlg::OnDeleteUnusedColors() {
    if (DialogHost* host = Host()) host->DeleteUnusedColors();
    Redraw();
}

void CPaletteEditDlg::OnMakeGradation() {
    CPelmarkDoc* doc = doc_;
    DialogHost* host = Host();
    if (!doc || !doc->m_hImage || !host) return;
    CGradientDlg* gradient = host->ShowGradientDialogFor(doc);
    if (!gradient) return;
    // This dialog blocks the main window; the gradient dialog and the colour
    // bar must still take input.
    host->LendToolWindows(this);
    lentToolWindows_ = true;
    afterPaletteChange(doc);
    CGradientDlg::StartedFromPaletteEditor() = true;
    gradient->SetOwnerEditor(this);
}
