// The layer commands of "详细": the submenu of the layer menu and the pop-up
// menu (303) of the layer palette's "详细" button show the same items.
#pragma once

#include <vector>

#include "framework/menu_builder.h"

std::vector<framework::MenuItem> LayerDetailsMenu();
