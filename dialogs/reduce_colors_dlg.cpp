#include "dialogs/reduce_colors_dlg.h"

#include <algorithm>
#include <vector>

#include "dialogs/dialog_host.h"
#include "document/pelmark_doc.h"
#include "framework/application.h"
#include "imaging/color_reducer.h"
#include "imaging/dib_access.h"
#include "platform/message_box.h"

using framework::ControlKind;

namespace {

constexpr int kReservedColors = 20;
constexpr int kMaxColors = 256;

}  // namespace

CReduceColorsDlg::CReduceColorsDlg(CPelmarkDoc* doc, int currentColors, QWidget* parent)
    : framework::Dialog(kTemplateId, parent), doc_(doc), currentColors_(currentColors) {
    setWindowTitle(QStringLiteral("减色"));
    CreateControls({
        {kCurrentCountId, ControlKind::Label, {}, {16, 12, 260, 20}},
        {kTargetLabelId, ControlKind::Label, QStringLiteral("减色后的颜色数："), {16, 40, 130, 20}},
        {kTargetId, ControlKind::Edit, {}, {150, 38, 80, 22}},
        {kOptimiseId, ControlKind::Radio, QStringLiteral("工作中图像优化"), {16, 72, 320, 20}, true},
        {kKeepReservedId, ControlKind::Radio, QStringLiteral("包含 Windows 标准 20 色来减色 （最低20）"),
         {16, 96, 320, 20}},
        {kGrey256Id, ControlKind::Radio, QStringLiteral("单色 256 阶"), {16, 120, 320, 20}},
        {kGrey2Id, ControlKind::Radio, QStringLiteral("单色 2 阶"), {16, 144, 320, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {346, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {346, 44, 78, 26}},
    });
    setFixedSize(440, 180);
    // By default the main frame's services.
    services_.deleteUnusedColors = [] {
        if (DialogHost* host = DialogHost::Installed()) host->DeleteUnusedColors();
    };
    services_.refreshCurrentTool = [] {
        if (DialogHost* host = DialogHost::Installed()) host->RefreshToolPalette();
    };
    services_.syncToolWindows = [] {
        if (DialogHost* host = DialogHost::Installed()) host->ImageDrawn();
    };
}

bool CReduceColorsDlg::OnInitDialog() {
    SetDlgItemText(kCurrentCountId, QStringLiteral("当前颜色数量：　%1").arg(currentColors_));
    SetDlgItemInt(kTargetId, currentColors_);
    CheckRadioButton(kOptimiseId, kGrey2Id, kOptimiseId);
    EnableDlgItem(kTargetId, true);
    return true;
}

void CReduceColorsDlg::DeclareCommands(framework::CommandTable& table) {
    // The count applies to the reductions, not to the grey levels.
    table.OnRange(kOptimiseId, kGrey2Id, [this](framework::CommandId id) {
        EnableDlgItem(kTargetId, id == kOptimiseId || id == kKeepReservedId);
    });
    framework::Dialog::DeclareCommands(table);
}

int CReduceColorsDlg::Mode() const {
    int checked = GetCheckedRadioButton(kOptimiseId, kGrey2Id);
    return checked ? checked - kOptimiseId : 0;
}

void CReduceColorsDlg::Warn(const QString& text) {
    framework::Application* app = framework::Application::Instance();
    QByteArray caption = app ? app->AppName().toUtf8() : QByteArrayLiteral("Kavolt");
    ShowMessageBox(WindowHandle(), text.toUtf8().constData(), caption.constData(),
                   MB_BTN_OK | MB_ICON_WARNING);
}

bool CReduceColorsDlg::CheckTarget(int mode, int colors) {
    if (mode == 0) {
        if (colors < 1) {
            Warn(QStringLiteral("减色后的颜色数量，请大于 0。"));
            return false;
        }
        if (colors > currentColors_) {
            Warn(QStringLiteral("减色后的颜色数量，请低于现在的颜色数量。"));
            return false;
        }
        return true;
    }
    if (mode == 1) {
        std::vector<MemHandle> layers(doc_->m_hLayers.begin(),
                                      doc_->m_hLayers.begin() + std::max(doc_->m_nLayerCount, 0));
        int own = CountNonSystemColors(doc_->m_hImage, layers);
        if (colors >= kReservedColors && colors <= kMaxColors && colors <= own + kReservedColors) return true;
        const QString range = QStringLiteral("减色后的颜色数量，请取 %1　～　%2 的颜色数量");
        if (colors >= kReservedColors && own + kReservedColors > kMaxColors)
            Warn(range.arg(kReservedColors).arg(kMaxColors));
        else if (own > 0)
            Warn(range.arg(kReservedColors).arg(own + kReservedColors));
        else
            Warn(QString::asprintf("减色后的颜色数量，请取% d。", kReservedColors));
        return false;
    }
    return true;
}

void CReduceColorsDlg::OnOK() {
    if (!doc_ || !doc_->m_hImage) {
        EndDialog(framework::IDCANCEL);
        return;
    }
    const int mode = Mode();
    const int colors = mode < 2 ? GetDlgItemInt(kTargetId, nullptr, true) : 0;
    if (!CheckTarget(mode, colors)) return;
    if (mode == 0 && colors == currentColors_) {
        // Nothing to merge: only the colours nobody uses go.
        if (services_.deleteUnusedColors) services_.deleteUnusedColors();
        if (services_.refreshCurrentTool) services_.refreshCurrentTool();
        EndDialog(framework::IDOK);
        return;
    }

    int bits = 8;
    {
        MemLockGuard image(doc_->m_hImage);
        if (image && image.size() >= DIB_INFO_HEADER_SIZE) bits = GetDibColorCount(image.get(), 1);
    }
    if (!doc_->PushUndo(document::kRecolorAction, QStringLiteral("减色"), true)) {
        EndDialog(framework::IDCANCEL);
        return;
    }
    bool done = mode < 2 ? doc_->ReduceAllLayersColors(colors, bits, mode == 1)
                         : doc_->ConvertLayersToGrey(colors, bits, mode == 3);
    if (!done) {
        // Nothing changed: no step, no modification.
        doc_->DropUndoStep();
    } else {
        doc_->SetModified(true);
    }
    Refresh();
    EndDialog(framework::IDOK);
}

void CReduceColorsDlg::Refresh() {
    if (DialogHost* host = DialogHost::Installed()) {
        host->PaletteChanged();
        host->RepaintActiveView();
        host->LayersChanged(doc_);
    }
    if (services_.refreshCurrentTool) services_.refreshCurrentTool();
    if (services_.syncToolWindows) services_.syncToolWindows();
}
