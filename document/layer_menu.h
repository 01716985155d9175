// The document's layer menu "图层(L)" with its "详细" submenu, for the main
// menu bar.
#pragma once

#include "framework/menu_builder.h"

namespace document {

framework::MenuItem LayerMenu();

}  // namespace document
