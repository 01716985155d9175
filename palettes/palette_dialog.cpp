#include "palettes/palette_dialog.h"

#include <QCloseEvent>

#include "palettes/palette_host.h"
#include "palettes/palette_position.h"

PaletteDialog::PaletteDialog(int templateId, const QString& title, const QString& positionKey,
                             int positionCount, const QSize& templateSize)
    : framework::Dialog(templateId), positionKey_(positionKey), positionCount_(positionCount) {
    setWindowTitle(title);
    resize(templateSize);
}

PaletteDialog::~PaletteDialog() { SavePosition(); }

bool PaletteDialog::CreatePalette(QWidget* owner, const QPoint& fallback) {
    setParent(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    move(fallback);
    if (std::optional<std::vector<int>> n = ReadPositionKey(positionKey_, positionCount_))
        ApplyPosition(*n);
    return Create(owner, false);
}

void PaletteDialog::OnCancel() {
    hide();
    if (PaletteHost* h = PaletteHost::Of(parentWidget())) h->PaletteClosed(this);
}

void PaletteDialog::ApplyPosition(const std::vector<int>& numbers) { move(numbers[0], numbers[1]); }

std::vector<int> PaletteDialog::PositionNumbers(const QRect& r) const {
    return {r.left(), r.top(), r.width(), r.height()};
}

void PaletteDialog::SavePosition() {
    if (saved_ || !IsCreated()) return;
    saved_ = true;
    WritePositionKey(positionKey_, PositionNumbers(ClampedWindowRect(this)));
}
