// A block held by an undo snapshot.
//
// A snapshot block is never written after it is made, so snapshots that hold
// the same bytes for the same item share one block; the block is freed when
// the last snapshot lets it go. The live document never gets a snapshot's
// handle: restoring writes a copy of the bytes into the document's own block.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>

#include "platform/memory.h"

namespace document {

class FrozenBlock {
public:
    // Takes over `owned` (which nobody else may write from now on).
    explicit FrozenBlock(MemHandle owned) : handle_(owned) {}
    ~FrozenBlock();
    FrozenBlock(const FrozenBlock&) = delete;
    FrozenBlock& operator=(const FrozenBlock&) = delete;

    // For reading only.
    MemHandle handle() const { return handle_; }
    size_t size() const { return MemSize(handle_); }
    // True when `live` has exactly this block's size and bytes.
    bool SameBytes(MemHandle live) const;
    // A new block with a copy of the bytes; null when it cannot be had.
    MemHandle Thaw() const;

private:
    MemHandle handle_;
};

using SnapshotBlock = std::shared_ptr<const FrozenBlock>;

// The snapshot of a live block: null for a null block, the first candidate
// that holds the same bytes, or else a new copy. False (and `out` null) when
// the copy cannot be allocated.
bool SnapshotOf(MemHandle live, std::initializer_list<const SnapshotBlock*> candidates,
                SnapshotBlock* out);

// Makes `live` hold the bytes of `block`: a null block frees it; a block of
// the live block's size is copied into it; otherwise the live block is
// replaced by a copy (null when that cannot be allocated).
void RestoreFromSnapshot(MemHandle& live, const SnapshotBlock& block);

}  // namespace document
