// The plug-in kit: what every plug-in library of the editor carries.
//
//   plugin_app.h     the library's one application object (no Qt application
//                    of its own: the plug-in shares the host's)
//   kit_blocks.h     memory block helpers, GlobalSwapBlocks
//   kit_blur_weights.h  BuildBlurWeights (the blur kernel)
//   kit_filter_masks.h  FilterMasks: the selection and protect masks of a filter
//   kit_dib.h        facts of a packed DIB, PaintDib, CreateDibPalette,
//                    PaletteDibInfo
//   kit_layer_rgb.h  RgbBuffer, LayerToRgb, RgbToLayer, NearestPaletteIndex,
//                    ToolCurrentLayer, LayerRows
//   kit_palette_search.h  PaletteSearch: NearestPaletteIndex for many pixels
//
// Link a plug-in with kvkit (cmake: kavolt_kit_plugin) and include this.
#pragma once

#include "plugins/kit/kit_blocks.h"
#include "plugins/kit/kit_blur_weights.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_dib.h"
#include "plugins/kit/kit_layer_rgb.h"
#include "plugins/kit/kit_palette_search.h"
#include "plugins/kit/plugin_app.h"
