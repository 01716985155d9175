#include "palettes/tool_palette.h"

#include "palettes/palette_position.h"

namespace {
const QString kPositionKey = QStringLiteral("ToolPalettePos");
// Three columns of 29-pixel buttons, the colour area and the settings panel.
constexpr int kWidth = 88;
constexpr int kHeight = 420;
}  // namespace

CToolPalette::CToolPalette(QWidget* owner) : QDockWidget(owner) {
    setObjectName(QStringLiteral("ToolPalette"));
    setWindowTitle(QStringLiteral("工具面板"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    auto* inside = new QWidget(this);
    inside->setFixedSize(kWidth, kHeight);
    setWidget(inside);
}

CToolPalette::~CToolPalette() { SavePosition(); }

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
