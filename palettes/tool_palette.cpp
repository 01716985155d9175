// The tool palette window: its buttons, their pictures and the mouse.
#include "palettes/tool_palette.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include "document/edit_state.h"
#include "document/pelmark_doc.h"
#include "framework/resource_pictures.h"
#include "framework/command_action.h"
#include "imaging/dib_access.h"
#include "palettes/color_palette_bar.h"
#include "palettes/palette_host.h"
#include "palettes/palette_position.h"
#include "palettes/select_mode_palette.h"
#include "tools/pen_stamps.h"
#include "view/view_globals.h"

namespace {

const QString kPositionKey = QStringLiteral("ToolPalettePos");

// The background swatch answers presses strictly inside its box.
bool onBackSwatch(const QPoint& p) { return p.x() > 49 && p.x() < 73 && p.y() > 152 && p.y() < 172; }

}  // namespace

// The palette's client area: paints the buttons and passes the mouse on.
class CToolPalette::ClientArea : public QWidget {
public:
    explicit ClientArea(CToolPalette* palette) : QWidget(palette), palette_(palette) {
        setMouseTracking(false);
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        for (int i = 0; i < toolpal::kButtons; ++i)
            if (palette_->ButtonVisible(i)) paintButton(p, i);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) palette_->press(event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        // The second press of a double click comes only as this event: it
        // is a press as well (the swatch and the buttons count presses).
        if (event->button() != Qt::LeftButton) return;
        palette_->press(event->position().toPoint());
        palette_->doubleClick(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) palette_->release(event->position().toPoint());
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            int button = toolpal::ButtonAt(help->pos());
            if (button >= 0 && palette_->ButtonVisible(button)) {
                int command = toolpal::ButtonCommand(button);
                if (toolpal::IsEditButton(button) && palette_->CurrentToolIndex() == tools::kPenTool - toolpal::kFirstToolCommand)
                    command = toolpal::ButtonPenSize(button);
                QToolTip::showText(help->globalPos(), toolpal::ToolStatusName(command).trimmed(), this);
            } else {
                QToolTip::hideText();
            }
            return true;
        }
        return QWidget::event(event);
    }

private:
    void paintButton(QPainter& p, int i) {
        const QRect r = toolpal::ButtonRect(i);
        QAction* action = palette_->ButtonAction(i);
        const bool enabled = action->isEnabled();
        const bool down = (action->isCheckable() && action->isChecked()) || palette_->pressedButton_ == i;
        const QColor light = down ? QColor(64, 64, 64) : Qt::white;
        const QColor dark = down ? Qt::white : QColor(64, 64, 64);
        if (down && !(palette_->pressedButton_ == i)) {
            // A checked button: the dithered face of a latched button.
            p.fillRect(r.adjusted(1, 1, -1, -1), QBrush(QColor(255, 255, 255), Qt::Dense4Pattern));
        }
        p.setPen(light);
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        p.setPen(dark);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        const int image = palette_->ShownImage(i);
        const auto& images = enabled ? palette_->images_ : palette_->disabledImages_;
        if (image < 0 || size_t(image) >= images.size()) return;
        const QSize s = pictures::kButtonImage;
        const int shift = down ? 1 : 0;
        p.drawPixmap(r.left() + (r.width() - s.width()) / 2 + shift,
                     r.top() + (r.height() - s.height()) / 2 + shift, images[size_t(image)]);
    }

    CToolPalette* palette_;
};

CToolPalette::CToolPalette(QWidget* owner) : QDockWidget(owner), owner_(owner) {
    setObjectName(QStringLiteral("ToolPalette"));
    setWindowTitle(QStringLiteral("工具面板"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    client_ = new ClientArea(this);
    client_->setFixedSize(toolpal::GridSize());
    setWidget(client_);
    pressTimer_ = new QTimer(this);
    pressTimer_->setSingleShot(true);
    connect(pressTimer_, &QTimer::timeout, this, &CToolPalette::RunTimerSteps);
    createButtons();
    createControls();
    if (PaletteHost* h = host()) h->ToolSettings().SetControls(this);
}

CToolPalette::~CToolPalette() {
    if (PaletteHost* h = host()) h->ToolSettings().SetControls(nullptr);
    SavePosition();
}

void CToolPalette::RestorePosition() {
    std::optional<std::vector<int>> n = ReadPositionKey(kPositionKey, 3);
    if (!n) return;
    storedDocked_ = (*n)[2] != 0;
    move((*n)[0], (*n)[1]);
}

void CToolPalette::SavePosition() {
    if (saved_) return;
    saved_ = true;
    QRect r = ClampedWindowRect(this);
    WritePositionKey(kPositionKey, {r.left(), r.top(), isFloating() ? 0 : 1});
}

QWidget* CToolPalette::Client() const { return client_; }

PaletteHost* CToolPalette::host() const { return PaletteHost::Of(owner_.data()); }

CPelmarkDoc* CToolPalette::activeDoc() const {
    PaletteHost* h = host();
    return h ? h->ActiveDocument() : nullptr;
}

// Buttons ---------------------------------------------------------------------

void CToolPalette::createButtons() {
    const QPixmap strip = pictures::ToolPaletteStrip();
    const QSize s = pictures::kButtonImage;
    for (int i = 0; i < pictures::kToolPaletteImages; ++i) {
        QPixmap image = strip.copy(i * s.width(), 0, s.width(), s.height());
        images_.push_back(image);
        disabledImages_.push_back(QIcon(image).pixmap(s, QIcon::Disabled));
    }
    for (int i = 0; i < toolpal::kButtons; ++i) {
        auto* action = new framework::CommandAction(toolpal::ButtonCommand(i),
                                                    toolpal::ToolStatusName(toolpal::ButtonCommand(i)), this);
        action->setCheckable(true);
        // The frame's idle update refreshes the actions of visible widgets.
        client_->addAction(action);
        connect(action, &QAction::changed, client_, qOverload<>(&QWidget::update));
        actions_[size_t(i)] = action;
    }
}

QAction* CToolPalette::ButtonAction(int button) const {
    return button >= 0 && button < toolpal::kButtons ? actions_[size_t(button)] : nullptr;
}

int CToolPalette::CurrentToolIndex() const { return document::GetProgramEditState().toolIndex; }

bool CToolPalette::ButtonVisible(int button) const { return toolpal::ButtonShown(button, CurrentToolIndex()); }

int CToolPalette::ShownImage(int button) const {
    return toolpal::ButtonImage(button, CurrentToolIndex(), view::SelectionModeIndex());
}

void CToolPalette::SetCurrentTool(int toolIndex) {
    if (toolIndex >= 0 && toolIndex < toolpal::kButtons) {
        for (int i = 0; i < toolpal::kButtons; ++i) actions_[size_t(i)]->setChecked(i == toolIndex);
        if (toolIndex < toolpal::kFirstEditButton) ShowToolSettings(toolIndex);
    }
    RefreshCurrentTool();
}

void CToolPalette::RefreshCurrentTool() {
    client_->update();
    for (int id : {408, 410, 447})
        if (QWidget* w = Control(id)) w->update();
}

void CToolPalette::ApplyButtonStates(const std::array<toolpal::ButtonState, toolpal::kButtons>& states) {
    for (int i = 0; i < toolpal::kButtons; ++i) {
        actions_[size_t(i)]->setEnabled(states[size_t(i)].enabled);
        actions_[size_t(i)]->setChecked(states[size_t(i)].pressed);
    }
    client_->update();
}

// Mouse -------------------------------------------------------------------------

void CToolPalette::startPressTimer() { pressTimer_->start(QApplication::doubleClickInterval()); }

void CToolPalette::doubleClick(const QPoint& pos) {
    // On the bar's empty space a double click docks or floats it.
    if (pos.y() >= 0 && !onBackSwatch(pos) && toolpal::ButtonAt(pos) < 0) setFloating(!isFloating());
}

void CToolPalette::press(const QPoint& pos) {
    if (pos.y() < 0) return;  // above the buttons
    CPelmarkDoc* doc = activeDoc();
    if (onBackSwatch(pos)) {
        if (!doc) return;
        startPressTimer();
        if (++backPresses_ >= 2) {
            backPresses_ = 0;
            editBackgroundColor(doc);
        }
        return;
    }
    const int tool = doc ? doc->m_nToolId : -1;
    const bool inBand = pos.y() >= toolpal::kPanelBandTop && pos.y() <= toolpal::kPanelBandBottom;
    if ((tool == tools::kSelectTool || tool == tools::kPenTool) && inBand) return;
    int button = toolpal::ButtonAt(pos);
    if (button >= 0 && !ButtonVisible(button)) button = -1;
    if (button < 0) return;
    startPressTimer();
    if (!actions_[size_t(button)]->isEnabled()) return;
    if (tool == tools::kSelectTool && button == 0) {
        if (++selectPresses_ >= 2) {
            selectPresses_ = 0;
            openSelectModePalette();
        }
    } else if (tool == tools::kPenTool && toolpal::IsEditButton(button)) {
        penButtonPressed(button);
    }
    pressedButton_ = button;
    client_->update();
}

void CToolPalette::release(const QPoint& pos) {
    const int button = pressedButton_;
    pressedButton_ = -1;
    client_->update();
    if (button < 0 || toolpal::ButtonAt(pos) != button) return;
    if (PaletteHost* h = host()) h->SendFrameCommand(toolpal::ButtonCommand(button));
    client_->update();
}

void CToolPalette::penButtonPressed(int button) {
    std::array<int, 3> custom{};
    for (size_t i = 0; i < custom.size(); ++i) custom[i] = tools::CustomPens()[i].size;
    SetSetting(toolpal::kLineDiameter, toolpal::PenButtonDiameter(button, custom));
    if (button < toolpal::kFirstCustomPenButton) return;
    if (penPressButton_ != button) penPresses_ = 0;
    penPressButton_ = button;
    if (++penPresses_ < 2) return;
    penPresses_ = 0;
    PaletteHost* h = host();
    if (h && !h->ProbeWorkMemory(1)) return;
    if (services_.editCustomPen) services_.editCustomPen(button - toolpal::kFirstCustomPenButton);
}

void CToolPalette::openSelectModePalette() {
    PaletteHost* h = host();
    if (!h || !h->SelectModeWindow()) return;
    QPoint corner = isFloating() ? frameGeometry().topLeft() : mapToGlobal(QPoint(0, 0));
    QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    if (corner.x() + 120 >= screenWidth) corner.rx() -= 120;
    h->SetRangeBarState(corner.x(), corner.y());
    h->ShowRangeBar(true);
}

void CToolPalette::SelectionModeChosen() {
    selectPresses_ = 0;
    client_->update(toolpal::ButtonRect(0));
}

void CToolPalette::editBackgroundColor(CPelmarkDoc* doc) {
    PaletteHost* h = host();
    if (!doc->m_hImage || (h && !h->ProbeWorkMemory(1))) return;
    RgbaEntry entry;
    GetDibPaletteEntry(doc->m_hImage, 0, &entry.red, &entry.green, &entry.blue, &entry.alpha);
    const bool accepted = services_.editColor ? services_.editColor(entry) : h && h->EditPaletteColor(entry);
    // The step is opened only for a colour that was given: a cancelled
    // dialog leaves no empty step and no modified mark.
    if (!accepted) return;
    if (!doc->PushUndo(document::kColorEditAction, QStringLiteral("改变"), true)) return;
    doc->SetModified(true);
    SetDibPaletteEntry(doc->m_hImage, 0, entry.red, entry.green, entry.blue, entry.alpha);
    doc->InitDib();
    doc->UpdateAllViews(nullptr);
    RefreshCurrentTool();
    if (!h) return;
    if (h->ColorBar()) h->ColorBar()->OnPaletteBarUpdate(PALETTEBAR_REFRESH, 0);
    h->LayersChanged(doc);
}
