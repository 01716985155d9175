#include "view/pointer_position.h"

namespace {
bool g_shown = true;
}  // namespace

bool PointerPositionShown() { return g_shown; }

void SetPointerPositionShown(bool shown) { g_shown = shown; }
