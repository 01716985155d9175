#include "dialogs/gradient_dlg.h"

#include <algorithm>

#include <QFocusEvent>
#include <QMouseEvent>
#include <QWindow>

#include "dialogs/color_button.h"
#include "dialogs/dialog_host.h"
#include "dialogs/palette_edit_dlg.h"
#include "document/palette_gradient.h"
#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "framework/application.h"
#include "framework/data_exchange.h"
#include "imaging/dib_access.h"
#include "platform/message_box.h"

using framework::ControlKind;

namespace {

ChosenColor PaletteColor(CPelmarkDoc* doc, int index) {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    if (doc && doc->m_hImage) GetDibPaletteEntry(doc->m_hImage, index, &r, &g, &b, &a);
    return {r, g, b, a};
}

document::RampColor RampColorOf(const ChosenColor& c) { return {c.red, c.green, c.blue}; }

}  // namespace

CGradientDlg::CGradientDlg() : framework::Dialog(kTemplateId) {
    setWindowTitle(QStringLiteral("制作渐变色"));
    CreateControls({
        {-1, ControlKind::Label, QStringLiteral("开始颜色"), {12, 14, 80, 20}},
        {-1, ControlKind::Label, QStringLiteral("结束颜色"), {12, 46, 80, 20}},
        {-1, ControlKind::Label, QStringLiteral("开始位置"), {12, 80, 80, 20}},
        {kStartId, ControlKind::Edit, {}, {96, 78, 60, 22}},
        {-1, ControlKind::Label, QStringLiteral("中间阶层数"), {12, 110, 80, 20}},
        {kCountId, ControlKind::Edit, {}, {96, 108, 60, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {172, 10, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {172, 42, 78, 26}},
    });
    m_pStartButton = new ColorButton(this);
    m_pStartButton->setGeometry(96, 8, 60, 28);
    m_pStartButton->setToolTip(QStringLiteral("开始颜色"));
    RegisterControl(kStartColorId, m_pStartButton);
    m_pEndButton = new ColorButton(this);
    m_pEndButton->setGeometry(96, 40, 60, 28);
    m_pEndButton->setToolTip(QStringLiteral("结束颜色"));
    RegisterControl(kEndColorId, m_pEndButton);
    // Enter in an edit field must not pass over a swatch to OK unseen.
    for (ColorButton* b : {m_pStartButton, m_pEndButton}) b->setAutoDefault(false);
    setFixedSize(262, 144);
}

CGradientDlg::~CGradientDlg() = default;

void CGradientDlg::DeclareCommands(framework::CommandTable& table) {
    table.On(kStartColorId, [this] { OnSwatchClicked(kStartColorId); })
        .On(kEndColorId, [this] { OnSwatchClicked(kEndColorId); })
        .OnNotify(kStartColorId, framework::Notify::DblClk, [this] { OnSwatchDoubleClicked(kStartColorId); })
        .OnNotify(kEndColorId, framework::Notify::DblClk, [this] { OnSwatchDoubleClicked(kEndColorId); });
    framework::Dialog::DeclareCommands(table);
}

void CGradientDlg::DoDataExchange(framework::DataExchange& dx) {
    dx.Text(kStartId, m_nStart);
    dx.MinMax(kStartId, m_nStart, 0, 255);
    dx.Text(kCountId, m_nCount);
    dx.MinMax(kCountId, m_nCount, 1, 256);
}

bool CGradientDlg::OnInitDialog() {
    InitValues();
    return true;
}

void CGradientDlg::InitValues() {
    CPelmarkDoc* doc = m_pDoc;
    const ChosenColor first = PaletteColor(doc, 0);
    m_Start = {first, 0, 0};
    m_End = {first, 0, 0};
    m_nCount = 8;
    m_nStart = doc ? doc->m_nColor : 0;
    if (doc && doc->m_nColorMode == 1) {
        if (m_nStart > 8) m_nCount = 16 - m_nStart;
    } else if (m_nStart > 248) {
        m_nCount = 256 - m_nStart;
    }
    m_nCount = std::clamp(m_nCount, 1, 256);
    UpdateData(false);
    showEnds();
}

void CGradientDlg::showEnds() {
    m_pStartButton->SetColor(m_Start.color);
    m_pEndButton->SetColor(m_End.color);
}

void CGradientDlg::OnSwatchClicked(int id) {
    CPelmarkDoc* doc = m_pDoc;
    if (!doc) return;
    RampEnd& end = endOf(id);
    end.index = std::clamp(int(doc->m_nColor), 0, 255);
    end.color = PaletteColor(doc, end.index);
    end.edited = 0;
    buttonOf(id)->SetColor(end.color);
}

void CGradientDlg::OnSwatchDoubleClicked(int id) {
    if (DialogHost* host = DialogHost::Installed();
        host && (!host->ProbeWorkMemory(1) || !host->HasActiveView()))
        return;
    // The main window stays disabled: the editor is modal over this dialog.
    RampEnd& end = endOf(id);
    ChosenColor color = end.color;
    if (!ChooseColor(this, color)) return;
    end.color = color;
    end.edited = 1;
    buttonOf(id)->SetColor(end.color);
}

void CGradientDlg::OnLeaveField(int id) {
    UpdateData(true);
    bool ok = false;
    const int value = GetDlgItemInt(id, &ok);
    if (!ok) return;
    int& member = id == kCountId ? m_nCount : m_nStart;
    member = id == kCountId ? std::clamp(value, 1, 256) : std::clamp(value, 0, 255);
    if (member != value) SetDlgItemInt(id, member);
}

void CGradientDlg::enableOwner() {
    if (!m_bOwnerDisabled) return;
    m_bOwnerDisabled = false;
    if (DialogHost* host = DialogHost::Installed()) host->EnableMainWindow(true);
}

void CGradientDlg::OnOK() {
    CPelmarkDoc* doc = m_pDoc;
    if (!doc || !doc->m_hImage) {
        // Nothing to write into.
        enableOwner();
        EndDialog(framework::IDOK);
        return;
    }
    bool startOk = false, countOk = false;
    const int start = GetDlgItemInt(kStartId, &startOk);
    const int count = GetDlgItemInt(kCountId, &countOk);
    document::RampLimit limit =
        document::CheckRampLimits(doc->m_nColorMode, startOk ? start : -1, countOk ? count : 0);
    if (limit != document::RampLimit::Fits) {
        framework::Application* app = framework::Application::Instance();
        const QByteArray caption = app ? app->AppName().toUtf8() : QByteArrayLiteral("Kavolt");
        ShowMessageBox(WindowHandle(), document::RampLimitMessage(limit), caption.constData(),
                       MB_BTN_OK | MB_ICON_WARNING);
        return;
    }
    m_nStart = start;
    m_nCount = count;
    // A step that cannot be opened has told the user; the dialog stays.
    if (!doc->PushUndo(document::kGradientColorsAction, QStringLiteral("生成渐变颜色"), true)) return;
    enableOwner();
    doc->SetModified(true);
    document::WriteRamp(doc->m_hImage, start, count, RampColorOf(m_Start.color), RampColorOf(m_End.color));

    if (DialogHost* host = DialogHost::Installed()) {
        // Palettes rebuilt, views repainted, the colour palette bar reloaded.
        host->RefreshActiveViewMode(0);
        if (CPaletteEditDlg* editor = CPaletteEditDlg::OpenEditor()) editor->Redraw();
        host->ImageDrawn();
        host->LayersChanged(doc);
    } else {
        doc->InitDib();
        doc->UpdateAllViews(nullptr);
    }
    EndDialog(framework::IDOK);
}

void CGradientDlg::OnCancel() {
    enableOwner();
    EndDialog(framework::IDCANCEL);
}

bool CGradientDlg::eventFilter(QObject* watched, QEvent* event) {
    const int id = GetDlgCtrlID(qobject_cast<QWidget*>(watched));
    if (event->type() == QEvent::MouseButtonDblClick && (id == kStartColorId || id == kEndColorId) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        buttonOf(id)->setDown(false);
        NotifyControl(id, framework::Notify::DblClk);
        return true;
    }
    // Leaving a field for another control of the dialog checks it; the
    // dialog being hidden or another window taking the activation does not.
    if (event->type() == QEvent::FocusOut && (id == kStartId || id == kCountId) && isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) OnLeaveField(id);
    }
    return framework::Dialog::eventFilter(watched, event);
}

void CGradientDlg::showEvent(QShowEvent* event) {
    if (m_pOwner && windowHandle() && m_pOwner->window()->windowHandle())
        windowHandle()->setTransientParent(m_pOwner->window()->windowHandle());
    framework::Dialog::showEvent(event);
}

bool& CGradientDlg::StartedFromPaletteEditor() {
    static bool started = false;
    return started;
}
