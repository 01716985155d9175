// The colour-reduction engine as the table of ten functions lent to a
// file-format plug-in (one SetGenshoku call per slot, 0 to 9):
//
//   ColorReduceTable table = EngineColorReduceTable();
//   for (int32_t i = 0; i < COLOR_REDUCE_SLOTS; ++i) setGenshoku(ColorReduceTableGet(&table, i), i);
#pragma once

#include "plugin_api/plugin_api.h"

ColorReduceTable EngineColorReduceTable();
