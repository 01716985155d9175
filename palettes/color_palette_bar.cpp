#include "palettes/color_palette_bar.h"

#include "framework/application.h"

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kDicMode = QStringLiteral("DicMode");
// Pixels above and below the swatch grid.
constexpr int kTopMargin = 26;
constexpr int kBottomMargin = 15;
}  // namespace

CColorPaletteBar::CColorPaletteBar(QWidget* owner)
    : PaletteWindow(owner, QStringLiteral("色板"), QStringLiteral("ColorPalettePos"),
                    Ownership::Transient) {
    setObjectName(QStringLiteral("ColorPaletteBar"));
    Reposition(12, 12, 256, 16);
}

CColorPaletteBar::~CColorPaletteBar() {
    SavePosition();
    if (framework::Application* app = framework::Application::Instance())
        app->WriteProfileInt(kSettings, kDicMode, dicMode_);
}

void CColorPaletteBar::Reposition(int cellWidth, int cellHeight, int cells, int columns) {
    cellWidth_ = cellWidth;
    cellHeight_ = cellHeight;
    cells_ = cells;
    columns_ = columns > 0 ? columns : 16;
    int rows = (cells_ + columns_ - 1) / columns_;
    resize(columns_ * cellWidth_, kTopMargin + rows * cellHeight_ + kBottomMargin);
}

void CColorPaletteBar::Create(const QPoint& fallback) { PlaceAt(fallback); }

void CColorPaletteBar::ApplyPosition(const std::vector<int>& numbers) {
    PaletteWindow::ApplyPosition(numbers);
    if (framework::Application* app = framework::Application::Instance())
        dicMode_ = app->GetProfileInt(kSettings, kDicMode, 1);
}

void CColorPaletteBar::OnPaletteBarUpdate(int, intptr_t) { update(); }
