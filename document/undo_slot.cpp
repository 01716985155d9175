#include "document/undo_slot.h"

namespace document {

namespace {
void Release(MemHandle& h) {
    if (h) MemFree(h);
    h = nullptr;
}
}  // namespace

void FreeUndoSlotHandles(UndoSlot& slot) {
    Release(slot.hColorTable);
    for (MemHandle& layer : slot.hLayers) Release(layer);
    Release(slot.hFloatImage);
    Release(slot.hFloatPixels);
    Release(slot.hFloatMask);
    Release(slot.hLayerBackup);
    Release(slot.hMask);
    Release(slot.hMask3);
}

}  // namespace document
