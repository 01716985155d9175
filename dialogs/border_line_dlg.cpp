#include "dialogs/border_line_dlg.h"

#include "dialogs/dialog_host.h"
#include "document/floating_selection.h"
#include "document/floating_tool_ops.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "document/undo_actions.h"
#include "framework/command.h"
#include "tools/border_trace.h"

using framework::ControlKind;

CBorderLineDlg::CBorderLineDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("制作边界线"));
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("边界线"), {12, 16, 56, 20}},
        {kWidthId, ControlKind::Edit, {}, {70, 14, 60, 22}},
        {0, ControlKind::Label, QStringLiteral("像素"), {136, 16, 40, 20}},
        {kInsideId, ControlKind::Radio, QStringLiteral("内侧"), {12, 48, 60, 22}, true},
        {kCentreId, ControlKind::Radio, QStringLiteral("中央"), {76, 48, 60, 22}},
        {kOutsideId, ControlKind::Radio, QStringLiteral("外侧"), {140, 48, 60, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {214, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {214, 44, 78, 26}},
    });
    setFixedSize(306, 84);
    // Every opening starts from width 1.
    tools::BorderDialog().width = 1;
}

bool CBorderLineDlg::OnInitDialog() {
    const bool result = Dialog::OnInitDialog();
    SetDlgItemInt(kWidthId, m_nWidth);
    const int checked = m_nPosition == tools::kBorderInside    ? kInsideId
                        : m_nPosition == tools::kBorderOutside ? kOutsideId
                                                               : kCentreId;
    CheckRadioButton(kInsideId, kOutsideId, checked);
    return result;
}

void CBorderLineDlg::DeclareCommands(framework::CommandTable& table) {
    table.On(kInsideId, [this] { m_nPosition = tools::kBorderInside; })
        .On(kCentreId, [this] { m_nPosition = tools::kBorderCentre; })
        .On(kOutsideId, [this] { m_nPosition = tools::kBorderOutside; });
    Dialog::DeclareCommands(table);
}

void CBorderLineDlg::OnOK() {
    DialogHost* host = DialogHost::Installed();
    if (!m_pDoc) return;
    // Short of memory the dialog stays open and nothing is drawn.
    if (host && !host->ProbeWorkMemory(1)) return;
    if (!m_pDoc->PushUndo(document::kBorderLineAction, QStringLiteral("放置边界线"), true)) return;
    // A text that is no number counts as the smallest width.
    bool ok = false;
    const int typed = GetDlgItemInt(kWidthId, &ok);
    m_nWidth = tools::ClampBorderWidth(ok ? typed : 0);
    SetDlgItemInt(kWidthId, m_nWidth);
    tools::BorderDialog().width = m_nWidth;
    TraceBorder(m_nPosition);
    // The border becomes part of the layer under the selection: the spare
    // copy and the floating image take it, so a later move carries it.
    document::RenewSpareCopy(*m_pDoc);
    document::LiftSelection(*m_pDoc, m_pDoc->m_rcSelection);
    m_pDoc->SetModified(true);
    if (host) {
        host->RefreshActiveViewMode(1);
        host->LayersChanged(m_pDoc);
    }
    EndDialog(framework::IDOK);
}

void CBorderLineDlg::TraceBorder(int position) {
    if (!m_pDoc || !m_pDoc->m_hMask) return;
    std::vector<tools::BorderPoint> points;
    {
        document::LockedMask mask(*m_pDoc, m_pDoc->m_hMask);
        if (!mask) return;
        points = tools::TraceBorder(mask.bits(), m_nWidth, position);
    }
    DialogHost* host = DialogHost::Installed();
    if (!host) return;
    for (const tools::BorderPoint& p : points) host->PlotOnActiveView(p.x, p.y, true);
}
