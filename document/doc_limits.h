// Sizes of a document's tables.
#pragma once

namespace document {

// Slots of the layer table; slot 0 is the bottom layer. A file-format plug-in
// may fill all of them, the editor's own commands stop at kLayerLimit layers.
inline constexpr int kLayerSlots = 100;
inline constexpr int kLayerLimit = 99;
// Channel blocks a file-format plug-in may deliver.
inline constexpr int kChannelSlots = 100;
// Undo snapshots a document keeps.
inline constexpr int kUndoSlots = 11;
// The packed animation frame table: 128 frames.
inline constexpr int kPackedAnimTableBytes = 1024;

}  // namespace document
