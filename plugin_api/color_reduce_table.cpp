#include "plugin_api/color_reduce_table.h"

#include "imaging/color_reduce.h"

ColorReduceTable EngineColorReduceTable() {
    ColorReduceTable table{};
    table.reduceImageColors = ReduceImageColors;
    table.init = ReducerInit;
    table.collectColors = ReducerCollectColors;
    table.prepareNodes = ReducerPrepareNodes;
    table.weighPixels = ReducerWeighPixels;
    table.merge = ReducerMerge;
    table.mapPixels = ReducerMapPixels;
    table.buildPalette = ReducerBuildPalette;
    table.remapPixels = ReducerRemapPixels;
    table.freeBuffers = ReducerFree;
    return table;
}
