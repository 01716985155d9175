#include "palettes/palette_host.h"

#include <QWidget>

PaletteHost* PaletteHost::Of(QWidget* owner) { return dynamic_cast<PaletteHost*>(owner); }

bool PaletteHost::EditPaletteColor(RgbaEntry&) { return false; }

bool PaletteHost::ChangeEditLayer(CPelmarkDoc*) { return false; }
