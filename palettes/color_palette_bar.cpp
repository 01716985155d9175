// The colour palette bar: window, controls, geometry, painting and the
// update message.
#include "palettes/color_palette_bar.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRubberBand>

#include "dialogs/reduce_colors_dlg.h"
#include "document/pelmark_doc.h"
#include "framework/application.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"
#include "imaging/dib_access.h"
#include "palettes/palette_host.h"
#include "palettes/picture_button.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kDicMode = QStringLiteral("DicMode");

// The sizes Reposition computes count a frame of 8 x 23 pixels around the
// client area (borders and a tool window caption); the natural client area
// is that much smaller, so that it leaves no extra width or height.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 23;

struct ButtonLayout {
    int id;
    QRect rect;  // client pixels, right and bottom exclusive
    const char* tip;
};

constexpr int kButtonCount = 5;
const ButtonLayout kButtons[kButtonCount] = {
    {CColorPaletteBar::kDeleteUnusedId, QRect(QPoint(2, 2), QPoint(24, 23)), "删除未使用颜色"},
    {CColorPaletteBar::kDragExchangeId, QRect(QPoint(30, 2), QPoint(52, 23)), "移动图象颜色"},
    {CColorPaletteBar::kDragMoveId, QRect(QPoint(58, 2), QPoint(80, 23)), "颜色移动"},
    {CColorPaletteBar::kReduceId, QRect(QPoint(86, 2), QPoint(108, 23)), "减色"},
    {CColorPaletteBar::kGradientId, QRect(QPoint(114, 2), QPoint(136, 23)), "制作渐变色"},
};

// Rectangles of the other controls, right and bottom exclusive.
QRect spanRect(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

}  // namespace

CColorPaletteBar::CColorPaletteBar(QWidget* owner)
    : PaletteWindow(owner, QStringLiteral("色板"), QStringLiteral("ColorPalettePos"),
                    Ownership::Transient),
      owner_(owner) {
    setObjectName(QStringLiteral("ColorPaletteBar"));
    setWindowIcon(QIcon());
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
    if (framework::Application* app = framework::Application::Instance())
        shown_ = app->GetProfileInt(kSettings, QStringLiteral("DispColorPalette"), 1);
    createControls();
    services_.commandsLocked = [this] {
        PaletteHost* host = PaletteHost::Of(owner_.data());
        return host && host->PaletteBarLocked();
    };
    services_.deleteUnusedColors = [this] {
        if (PaletteHost* host = PaletteHost::Of(owner_.data())) host->DeleteUnusedColors();
    };
    services_.showGradient = [this] {
        if (PaletteHost* host = PaletteHost::Of(owner_.data())) host->ShowGradientDialog(activeDoc());
    };
    services_.reduceColors = [this](int usedColors) {
        if (CPelmarkDoc* doc = activeDoc()) CReduceColorsDlg(doc, usedColors, this).DoModal();
    };
    Reposition(12, 12, 256, 16);
    if (qApp) qApp->installEventFilter(this);
    // A document switch shows the new document's palette.
    if (auto* frame = dynamic_cast<framework::MdiFrame*>(owner))
        connect(frame->MdiArea(), &QMdiArea::subWindowActivated, this, [this] {
            update();
            OnPaletteBarUpdate(PALETTEBAR_DOCUMENT, 0);
        });
}

CColorPaletteBar::~CColorPaletteBar() {
    SavePosition();
    if (framework::Application* app = framework::Application::Instance())
        app->WriteProfileInt(kSettings, kDicMode, dicMode_);
}

void CColorPaletteBar::createControls() {
    for (const ButtonLayout& layout : kButtons) {
        auto* button = new PictureButton(PaletteBarButtonPictures(layout.id, layout.rect.size()), this);
        button->setGeometry(layout.rect);
        button->setToolTip(QString::fromUtf8(layout.tip));
        controls_[layout.id] = button;
        const int id = layout.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            if (id == kDragExchangeId || id == kDragMoveId) toggleDragMode(id);
            else runCommand(id);
        });
        if (id == kDragExchangeId) dragExchange_ = button;
        if (id == kDragMoveId) dragMove_ = button;
    }
    QFont textFont = QWidget::font();
    if (PaletteHost* host = PaletteHost::Of(owner_.data())) textFont = host->PaletteFont();

    editorButton_ = new QPushButton(QStringLiteral("设定"), this);
    editorButton_->setGeometry(spanRect(152, 3, 188, 22));
    editorButton_->setFocusPolicy(Qt::NoFocus);
    controls_[kEditorId] = editorButton_;
    connect(editorButton_, &QPushButton::clicked, this, [this] { runCommand(kEditorId); });

    alphaCheck_ = new QCheckBox(this);
    alphaCheck_->setGeometry(spanRect(0, 222, 14, 242));
    alphaCheck_->setFocusPolicy(Qt::NoFocus);
    controls_[kShowAlphaId] = alphaCheck_;
    connect(alphaCheck_, &QCheckBox::clicked, this, [this] { runCommand(kShowAlphaId); });

    alphaText_ = new QLabel(QStringLiteral("显示 Alpha 通道"), this);
    alphaText_->setGeometry(spanRect(16, 224, 190, 244));
    alphaText_->setFont(textFont);
    controls_[kShowAlphaTextId] = alphaText_;

    colorText_ = new QLabel(this);
    colorText_->setGeometry(spanRect(0, 244, 174, 262));
    colorText_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    colorText_->setFont(textFont);
    controls_[kColorTextId] = colorText_;
}

QWidget* CColorPaletteBar::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.data();
}

void CColorPaletteBar::Create(const QPoint& fallback) { PlaceAt(fallback); }

void CColorPaletteBar::ApplyPosition(const std::vector<int>& numbers) {
    PaletteWindow::ApplyPosition(numbers);
    if (framework::Application* app = framework::Application::Instance())
        dicMode_ = app->GetProfileInt(kSettings, kDicMode, 1);
}

CPelmarkDoc* CColorPaletteBar::activeDoc() const {
    auto* frame = dynamic_cast<framework::MdiFrame*>(owner_.data());
    framework::View* view = frame ? frame->GetActiveView() : nullptr;
    return view ? dynamic_cast<CPelmarkDoc*>(view->GetDocument()) : nullptr;
}

// ---- geometry ----

int CColorPaletteBar::rows() const { return columns_ > 0 ? (cells_ + columns_ - 1) / columns_ : 0; }

void CColorPaletteBar::Reposition(int cellWidth, int cellHeight, int cells, int columns) {
    cellWidth_ = cellWidth;
    cellHeight_ = cellHeight;
    cells_ = std::clamp(cells, 0, 256);
    columns_ = columns > 0 ? columns : 16;
    const int width = widthCorrection_ + columns_ * columnWidth() + leftMargin_ + 8;
    const int height = rowHeight() * rows() + bottomMargin_ + topMargin_ + 56;
    resize(std::max(1, width - kFrameWidth), std::max(1, height - kFrameHeight));
    update();
}

void CColorPaletteBar::resizeEvent(QResizeEvent* event) {
    PaletteWindow::resizeEvent(event);
    if (width() <= 0 || height() <= 0) return;
    // The extra is measured against the grid's own columns and rows, so that
    // the one-row grid of the second-colour mode does not read as too small.
    const int extraWidth = width() - columns_ * cellWidth_ - widthCorrection_ - leftMargin_;
    const int extraHeight = height() - (topMargin_ + rows() * cellHeight_ + 48);
    extraWidth_ = std::max(0, extraWidth);
    extraHeight_ = std::max(0, extraHeight);
    extraCellWidth_ = extraWidth_ / columns_;
    extraCellHeight_ = extraHeight_ / (rows() + 1);
    alphaCheck_->move(0, 222 + extraHeight_);
    alphaText_->move(16, 224 + extraHeight_);
    colorText_->move(0, 244 + extraHeight_);
    editorButton_->move(152 + extraWidth_, 3);
    if (extraWidth < 0 || extraHeight < 0) Reposition(cellWidth_, cellHeight_, 256, columns_);
    update();
}

int CColorPaletteBar::HitTest(int x, int y) const {
    if (x < leftMargin_ || y < topMargin_) return -1;
    const int column = (x - leftMargin_) / columnWidth();
    const int row = (y - topMargin_) / rowHeight();
    if (column >= columns_ || row >= rows()) return -1;
    const int index = columns_ * row + column;
    return index < cells_ ? index : -1;
}

QRect CColorPaletteBar::CellRect(int index) const {
    return QRect(leftMargin_ + (index % columns_) * columnWidth(),
                 topMargin_ + (index / columns_) * rowHeight(), columnWidth(), rowHeight());
}

void CColorPaletteBar::updateCell(int index) {
    if (index >= 0 && index < cells_) update(CellRect(index));
}

bool CColorPaletteBar::lockedCell(const CPelmarkDoc* doc, int index) const {
    return doc && index >= 0 && index < 256 && (doc->m_wPaletteLock >> (index / 16)) & 1;
}

// ---- state shown ----

void CColorPaletteBar::refreshUsedColors(CPelmarkDoc* doc) { used_ = usedCache_.Of(doc); }

void CColorPaletteBar::refreshColorText(CPelmarkDoc* doc) {
    const int index = doc ? std::clamp(doc->m_nColor, 0, 255) : 0;
    currentEntry_ = {};
    if (doc && doc->m_hImage)
        GetDibPaletteEntry(doc->m_hImage, index, &currentEntry_.red, &currentEntry_.green,
                           &currentEntry_.blue, &currentEntry_.alpha);
    const QString text = QString::asprintf("色值：%03d  R:%03d  G:%03d  B:%03d", index, currentEntry_.red,
                                           currentEntry_.green, currentEntry_.blue);
    if (colorText_->text() != text) colorText_->setText(text);
}

void CColorPaletteBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    CPelmarkDoc* doc = activeDoc();
    const int count = std::min(cells_, 256);
    if (!doc || !doc->m_hImage) {
        for (int i = 0; i < count; ++i) p.fillRect(CellRect(i), Qt::black);
        return;
    }
    refreshUsedColors(doc);
    refreshColorText(doc);
    current_ = doc->m_nColor;
    second_ = doc->m_nColor2;
    const ColorTable table = ReadColorTable(doc->m_hImage);
    const int swatchHeight = rowHeight() - rowHeight() / 4 - 4;
    for (int i = 0; i < count; ++i) {
        const QRect r = CellRect(i);
        const RgbaEntry& e = table[size_t(i)];
        const QColor color(e.red, e.green, e.blue);
        const QRect frame = r.adjusted(0, 0, -1, -1);
        p.setBrush(Qt::NoBrush);
        if (mode_ == kSecondColor) {
            p.fillRect(r, color);
            p.setPen(Qt::black);
            p.drawRect(frame);
            continue;
        }
        if (showAlpha_) {
            p.fillRect(r, QColor(e.alpha, e.alpha, e.alpha));
            p.fillRect(QRect(r.left(), r.top(), r.width(), std::max(0, swatchHeight)), color);
        } else {
            p.fillRect(r, color);
        }
        p.setPen(Qt::black);
        p.drawRect(frame);
        if (e.red == 0 && e.green == 0 && e.blue == 0 && e.alpha == 0 && !used_.flags[size_t(i)]) {
            // An empty entry nothing uses: a small grey mark in the middle.
            p.setPen(Qt::gray);
            p.drawRect(r.left() + r.width() / 2 - 1, r.top() + r.height() / 2 - 1, 1, 1);
        }
        if (lockedCell(doc, i)) {
            p.setPen(Qt::black);
            p.drawLine(frame.topLeft(), frame.bottomRight());
            p.drawLine(frame.topRight(), frame.bottomLeft());
        }
        if ((i == current_ && !copy_.selecting) || i == dragTarget_) {
            p.setPen(Qt::white);
            p.drawRect(frame);
        }
    }
    if (copy_.selecting && mode_ != kSecondColor) {
        const QRect a = CellRect(copy_.top * columns_ + copy_.left);
        const QRect b = CellRect((copy_.bottom - 1) * columns_ + copy_.right - 1);
        p.setPen(Qt::white);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(a.topLeft(), b.bottomRight()));
    }
}

// ---- the update message ----

void CColorPaletteBar::setMode(int mode, int columns) {
    mode_ = mode;
    Reposition(12, 12, 256, columns);
}

void CColorPaletteBar::OnPaletteBarUpdate(int code, intptr_t flag) {
    updateCommandButtons();
    CPelmarkDoc* doc = activeDoc();
    if (!doc || code < 0 || code > PALETTEBAR_REFRESH) return;
    switch (code) {
    case PALETTEBAR_CURRENT_COLOR: {
        const int old = current_;
        current_ = doc->m_nColor;
        updateCell(old);
        updateCell(current_);
        refreshColorText(doc);
        return;
    }
    case PALETTEBAR_TONE:
        if (flag) setMode(kSecondColor, 256);
        else setMode(doc->m_nColorMode == 1 ? k16Colors : k256Colors, 16);
        return;
    default:
        break;
    }
    if (doc != lastDoc_ || code == PALETTEBAR_REFRESH) {
        lastDoc_ = doc;
        update();
    }
    if (doc->m_bTone) {
        if (doc->m_nColorMode == 1) {
            if (mode_ != k16Colors) {
                setMode(k16Colors, 16);
                if (!IsSixteenColorDib(doc->m_hImage)) doc->ReduceTo16Colors();
                for (framework::View* view : doc->GetViews()) view->update();
                update();
            }
        } else if (mode_ == k16Colors || mode_ == kSecondColor) {
            setMode(k256Colors, 16);
        }
    } else if (mode_ != kSecondColor) {
        setMode(kSecondColor, 16);
    }
}

// ---- window ----

void CColorPaletteBar::enterEvent(QEnterEvent* event) {
    updateCommandButtons();
    PaletteWindow::enterEvent(event);
}

void CColorPaletteBar::closeEvent(QCloseEvent* event) {
    event->ignore();
    setVisible(!isVisible());
    shown_ = isVisible() ? 1 : 0;
    // The frame keeps its own flag, which a document switch and the saved
    // display settings go by.
    if (!shown_)
        if (PaletteHost* host = PaletteHost::Of(owner_.data())) host->PaletteClosed(this);
}

bool CColorPaletteBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        const bool keypad = key->modifiers() & Qt::KeypadModifier;
        if (key->key() == Qt::Key_A || (keypad && key->key() == Qt::Key_1)) code = 'A';
        else if (key->key() == Qt::Key_C || (keypad && key->key() == Qt::Key_3)) code = 'C';
        if (code && !key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress) heldKeys_.insert(code);
            else heldKeys_.erase(code);
        }
    } else if (event->type() == QEvent::ApplicationDeactivate) {
        heldKeys_.clear();
    }
    return PaletteWindow::eventFilter(watched, event);
}
