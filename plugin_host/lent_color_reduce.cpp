#include "plugin_host/lent_color_reduce.h"

#include "plugin_api/color_reduce_table.h"
#include "imaging/color_reducer.h"

namespace plugin_host {

const ColorReduceTable& LentColorReduceTable() {
    static const ColorReduceTable table = EngineColorReduceTable();
    return table;
}

ReduceOutcome ReduceOpenedImageTo256(MemHandle image, MemHandle* result) {
    switch (ReducePictureTo256(image, result)) {
    case ColorReduceResult::Done: return ReduceOutcome::Done;
    case ColorReduceResult::NoMemory: return ReduceOutcome::NoMemory;
    case ColorReduceResult::Failed: break;
    }
    return ReduceOutcome::Failed;
}

}  // namespace plugin_host
