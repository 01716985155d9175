#include "plugins/cinereel/cp_wnd.h"

#include <cstdio>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/window_qt.h"
#include "plugins/cinereel/ca_bars.h"
#include "plugins/cinereel/ca_sheet.h"
#include "plugins/cinereel/cinereel_messages.h"
#include "plugins/cinereel/cinereel_run.h"
#include "plugins/cinereel/cp_view.h"
#include "plugins/cinereel/frame_place.h"
#include "plugins/cinereel/preview_pictures.h"

using framework::ControlKind;

namespace {

constexpr int kMinWidth = 240;
constexpr int kMinHeight = 150;

// The picture ids a button shows, up and down, kept on the button.
void SetPictures(CaBar* bar, int id, int up, int down) {
    auto* button = bar->Item<QAbstractButton>(id);
    if (!button) return;
    button->setProperty("pictures", QStringLiteral("%1,%2").arg(up).arg(down));
    QPixmap upPicture = PreviewPicture(up);
    if (upPicture.isNull()) return;  // the edit button keeps its text
    QIcon icon;
    icon.addPixmap(upPicture, QIcon::Normal, QIcon::Off);
    icon.addPixmap(PreviewPicture(down), QIcon::Normal, QIcon::On);
    icon.addPixmap(PreviewPicture(down), QIcon::Active, QIcon::On);
    button->setIcon(icon);
    button->setIconSize(upPicture.size());
    button->setText(QString());
}

}  // namespace

CpWnd::CpWnd(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info)
    : QWidget(nullptr, Qt::Window), MessageWindow(this), m_hHostWnd(hostWindow),
      m_Info(info ? *info : PluginToolInfo{}), m_pRecord(record) {
    setObjectName(QStringLiteral("CpWnd"));
    setWindowTitle(QStringLiteral("预览"));
    if (QWidget* host = platform::WinWidget(hostWindow)) {
        winId();
        if (QWindow* handle = host->window()->windowHandle()) windowHandle()->setTransientParent(handle);
    }
    m_pTopBar = new CaBar(
        16018,
        [this](framework::CommandTable& t) {
            t.On(IDC_PREVIEW_EDIT, [this] { onEditButton(); });
            for (int i = 0; i < 6; ++i) t.On(IDC_PREVIEW_ZOOM_FIRST + i, [this, i] { onZoom(i); });
        },
        this);
    std::vector<framework::ControlTemplate> top = {
        {IDC_PREVIEW_EDIT, ControlKind::PushButton, "编辑", {4, 4, 60, 24}}};
    for (int i = 0; i < 6; ++i)
        top.push_back({IDC_PREVIEW_ZOOM_FIRST + i, ControlKind::Radio, "", {70 + i * 48, 4, 46, 24}, i == 0});
    m_pTopBar->CreateControls(top);
    m_pTopBar->MakeRadioGroup({16016, 16017, 16018, 16019, 16020, 16021});
    for (int i = 0; i < 6; ++i)
        if (auto* radio = m_pTopBar->Item<QAbstractButton>(IDC_PREVIEW_ZOOM_FIRST + i))
            radio->setText(QStringLiteral("x%1").arg(kZooms[i]));
    m_pTopBar->CheckRadioButton(16016, 16021, 16016);
    m_pTopBar->setMinimumSize(360, 32);
    m_pTopBar->Create(this);

    m_pBottomBar = new CaBar(
        16019,
        [this](framework::CommandTable& t) {
            t.On(IDC_PREVIEW_RESET, [this] { onReset(); })
                .On(IDC_PREVIEW_BACK, [this] { onBack(); })
                .On(IDC_PREVIEW_RUN, [this] { onRun(); })
                .On(IDC_PREVIEW_FORWARD, [this] { onForward(); })
                .On(IDC_PREVIEW_STOPRUN, [this] { onStopRun(); })
                .On(IDC_PREVIEW_EDIT, [this] { onEditButton(); });
        },
        this);
    m_pBottomBar->CreateControls({{IDC_PREVIEW_RESET, ControlKind::PushButton, "|<", {4, 4, 36, 24}},
                                  {IDC_PREVIEW_BACK, ControlKind::PushButton, "<<", {42, 4, 36, 24}},
                                  {IDC_PREVIEW_RUN, ControlKind::PushButton, ">", {80, 4, 36, 24}},
                                  {IDC_PREVIEW_FORWARD, ControlKind::PushButton, ">>", {118, 4, 36, 24}},
                                  {IDC_PREVIEW_STOPRUN, ControlKind::PushButton, "||", {156, 4, 36, 24}},
                                  {IDC_PREVIEW_EDIT, ControlKind::PushButton, "编辑", {200, 4, 36, 24}}});
    for (int id : {IDC_PREVIEW_BACK, IDC_PREVIEW_FORWARD})
        if (auto* b = m_pBottomBar->Item<QAbstractButton>(id)) b->setCheckable(true);
    SetPictures(m_pBottomBar, IDC_PREVIEW_RESET, 16021, 16022);
    SetPictures(m_pBottomBar, IDC_PREVIEW_BACK, 16029, 16031);
    SetPictures(m_pBottomBar, IDC_PREVIEW_FORWARD, 16028, 16030);
    setLook(Look::Idle);
    m_pBottomBar->setMinimumSize(240, 32);
    m_pBottomBar->Create(this);

    m_pView = new CpView(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_pTopBar);
    column->addWidget(m_pView, 1);
    column->addWidget(m_pBottomBar);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(320, 240);
    WindowHandle();
    setProperty("buttonState", m_nButtonState);
}

CpWnd::~CpWnd() { m_pView->StopTimer(); }

void CpWnd::enableEditButton(bool enable) {
    for (CaBar* bar : {m_pTopBar, m_pBottomBar}) {
        bar->EnableDlgItem(IDC_PREVIEW_EDIT, enable);
        if (enable) SetPictures(bar, IDC_PREVIEW_EDIT, 16047, 16048);
        else SetPictures(bar, IDC_PREVIEW_EDIT, 16049, 16049);
    }
}

void CpWnd::setLook(Look look) {
    switch (look) {
    case Look::Idle:
        SetPictures(m_pBottomBar, IDC_PREVIEW_RUN, 16025, 16024);
        SetPictures(m_pBottomBar, IDC_PREVIEW_STOPRUN, 16027, 16026);
        break;
    case Look::Running:
        SetPictures(m_pBottomBar, IDC_PREVIEW_RUN, 16032, 16034);
        SetPictures(m_pBottomBar, IDC_PREVIEW_STOPRUN, 16027, 16026);
        break;
    case Look::Paused:
        SetPictures(m_pBottomBar, IDC_PREVIEW_RUN, 16025, 16024);
        SetPictures(m_pBottomBar, IDC_PREVIEW_STOPRUN, 16035, 16036);
        break;
    }
}

void CpWnd::press(int id, bool down) {
    if (auto* b = m_pBottomBar->Item<QAbstractButton>(id)) b->setChecked(down);
}

void CpWnd::setState(int state) {
    m_nButtonState = state;
    setProperty("buttonState", state);
}

void CpWnd::onReset() {
    m_pView->Recount();
    if (m_pView->Count() == 0 || m_nButtonState == -1) return;
    setLook(Look::Idle);
    press(IDC_PREVIEW_BACK, false);
    press(IDC_PREVIEW_FORWARD, false);
    m_pView->ResetToStart();
    setState(-1);
}

void CpWnd::onRun() {
    m_pView->Recount();
    if (m_pView->Count() == 0) return;
    if (m_nButtonState == 0) {
        m_pView->StartMode(3);
        setLook(Look::Paused);
        setState(3);
        return;
    }
    press(IDC_PREVIEW_BACK, false);
    press(IDC_PREVIEW_FORWARD, false);
    m_pView->StartMode(0);
    setLook(Look::Running);
    setState(0);
}

void CpWnd::onStopRun() {
    m_pView->Recount();
    if (m_pView->Count() == 0 || m_nButtonState == -1) return;
    if (m_nButtonState == 3) {
        m_pView->StartMode(0);
        setLook(Look::Running);
        setState(0);
        return;
    }
    press(IDC_PREVIEW_BACK, false);
    press(IDC_PREVIEW_FORWARD, false);
    m_pView->StartMode(3);
    setLook(Look::Paused);
    setState(3);
}

void CpWnd::onBack() {
    m_pView->Recount();
    if (m_pView->Count() == 0) {
        press(IDC_PREVIEW_BACK, false);
        return;
    }
    if (m_nButtonState == 10) {
        press(IDC_PREVIEW_BACK, false);
        m_pView->StartMode(3);
        setState(-1);
    } else if (m_nButtonState == 3) {
        press(IDC_PREVIEW_BACK, false);
        m_pView->StepBy(-1);
    } else {
        press(IDC_PREVIEW_BACK, true);
        press(IDC_PREVIEW_FORWARD, false);
        setLook(Look::Idle);
        m_pView->StartMode(10);
        setState(10);
    }
}

void CpWnd::onForward() {
    m_pView->Recount();
    if (m_pView->Count() == 0) {
        press(IDC_PREVIEW_FORWARD, false);
        return;
    }
    if (m_nButtonState == 11) {
        press(IDC_PREVIEW_FORWARD, false);
        m_pView->StartMode(3);
        setState(-1);
    } else if (m_nButtonState == 3) {
        press(IDC_PREVIEW_FORWARD, false);
        m_pView->StepBy(1);
    } else {
        press(IDC_PREVIEW_FORWARD, true);
        press(IDC_PREVIEW_BACK, false);
        setLook(Look::Idle);
        m_pView->StartMode(11);
        setState(11);
    }
}

void CpWnd::onZoom(int index) {
    m_nZoomIndex = index;
    m_pView->SendWindowMessage(WM_ANIM_PREVIEWZOOM, WinWParam(kZooms[index]), 0);
}

void CpWnd::onEditButton() {
    m_bEditorOpen = true;
    enableEditButton(false);
    WinSendMessage(m_hEditor, WM_ANIM_OPENEDITOR, 0, 0);
    activateWindow();
}

void CpWnd::onSettings(const char* text) {
    int x = 0, y = 0, w = 0, h = 0;
    char tail = 0;
    if (!text || std::sscanf(text, "%d,%d,%d,%d%c", &x, &y, &w, &h, &tail) != 4) return;
    m_rcSaved = QRect(x, y, std::max(w, kMinWidth), std::max(h, kMinHeight));
}

void CpWnd::placeWindow() {
    QWidget* host = platform::WinWidget(m_hHostWnd);
    if (m_rcSaved.isNull()) {
        // No stored place: centred over the host's main window.
        const QRect over = host ? host->window()->frameGeometry()
                                : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                    : QRect(0, 0, 1024, 768));
        move(over.center() - QPoint(width() / 2, height() / 2));
        return;
    }
    QRect r = m_rcSaved;
    // A stored place off every screen is moved onto the nearest one.
    QScreen* screen = QGuiApplication::screenAt(r.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen && !screen->availableGeometry().intersects(r)) {
        const QRect work = screen->availableGeometry();
        r.moveLeft(std::clamp(r.left(), work.left(), std::max(work.left(), work.right() - r.width())));
        r.moveTop(std::clamp(r.top(), work.top(), std::max(work.top(), work.bottom() - r.height())));
    }
    // The frame goes back where it was written from: placed by the client
    // area, it would creep by the caption's height at each opening.
    PlaceFrame(this, r.topLeft(), r.size(), platform::WinWidget(m_hHostWnd));
}

void CpWnd::onShow(CaSheet* sheet) {
    show();
    raise();
    m_Doc.m_pSheet = sheet;
    m_pView->SetSheet(sheet);
    m_pView->Recount();
    enableEditButton(!m_bEditorOpen);
    m_pView->InitRenderer();
    // The host answers with WM_TOOL_SETTINGS during the call.
    WinSendMessage(m_hHostWnd, WM_PLUGIN_SETTINGS, WinWParam(WindowHandle()), PLUGIN_SETTINGS_READ_ANIMPOS);
    placeWindow();
    m_pView->viewport()->update();
}

void CpWnd::dropSheet() {
    m_pView->StopTimer();
    m_pView->SetSheet(nullptr);
    m_Doc.m_pSheet = nullptr;
}

void CpWnd::onClose() {
    if (m_bClosed) return;
    if (m_bEditorOpen) {
        WinSendMessage(m_hEditor, WM_ANIM_PREVIEWHIDDEN, 0, 0);
        if (m_nButtonState != -1) onReset();
        m_pView->StopTimer();
        hide();
        return;
    }
    // The editor and its sheet go with the next message: nothing may read them after it.
    dropSheet();
    const QRect r(pos(), size());
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", r.left(), r.top(), r.width(), r.height());
    WinSendMessage(m_hEditor, WM_ANIM_PREVIEWFINISH, 0, 0);
    WinSendMessage(m_hHostWnd, WM_PLUGIN_SETTINGS, WinWParam(text), PLUGIN_SETTINGS_WRITE_ANIMPOS);
    closeForGood();
}

void CpWnd::closeForGood() {
    dropSheet();
    m_bClosed = true;
    hide();
    ReleaseHandle();
    NotifyRunLoop();
}

void CpWnd::closeEvent(QCloseEvent* event) {
    event->ignore();
    onClose();
}

WinResult CpWnd::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    if (m_bClosed) return 0;
    switch (message) {
    case WM_CLOSE_WINDOW: onClose(); return 0;
    case WM_ANIM_SHOWPREVIEW: onShow(reinterpret_cast<CaSheet*>(lparam)); return 1;
    case WM_ANIM_CLOSEPREVIEW: closeForGood(); return 1;
    case WM_ANIM_EDITORHIDDEN:
        m_bEditorOpen = false;
        enableEditButton(true);
        return 1;
    case WM_ANIM_OPENEDITOR:
        m_bEditorOpen = true;
        enableEditButton(false);
        if (isVisible()) activateWindow();
        return 1;
    case WM_TOOL_NEWIMAGE:
        if (auto* info = reinterpret_cast<const PluginToolInfo*>(wparam)) m_Info = *info;
        if (auto* record = reinterpret_cast<PluginToolRecord*>(lparam)) m_pRecord = record;
        m_pView->InitRenderer();
        m_pView->viewport()->update();
        return 1;
    case WM_ANIM_FRAMESCHANGED:
        if (wparam == 1) {
            onReset();
        } else {
            if (lparam) m_Doc.m_pSheet = reinterpret_cast<CaSheet*>(lparam);
            m_pView->SetSheet(m_Doc.m_pSheet);
            m_pView->Recount();
            m_pView->viewport()->update();
        }
        return 1;
    case WM_ANIM_SELECTFRAME: m_pView->SelectFrame(int(wparam)); return 1;
    case WM_TOOL_SETTINGS: onSettings(reinterpret_cast<const char*>(wparam)); return 1;
    case WM_TIMER_MESSAGE: return m_pView->SendWindowMessage(message, wparam, lparam);
    case WM_TOOL_IMAGECHANGED: m_pView->viewport()->update(); return 1;
    default: return MessageWindow::OnWindowMessage(message, wparam, lparam);
    }
}
