#include "document/display_toggles.h"

namespace {
ViewDisplayToggles g_toggles;
}

ViewDisplayToggles& GetViewDisplayToggles() { return g_toggles; }

void SwitchOffViewDisplayToggles() { g_toggles = ViewDisplayToggles{}; }
