#include "document/snapshot_block.h"

#include <cstring>

#include "imaging/dib_create.h"

namespace document {

FrozenBlock::~FrozenBlock() {
    if (handle_) MemFree(handle_);
}

bool FrozenBlock::SameBytes(MemHandle live) const {
    if (!live || !handle_) return false;
    size_t n = MemSize(handle_);
    if (n == 0 || MemSize(live) != n) return false;
    MemLockGuard a(handle_);
    MemLockGuard b(live);
    return a && b && std::memcmp(a.get(), b.get(), n) == 0;
}

MemHandle FrozenBlock::Thaw() const { return DuplicateGlobal(handle_); }

bool SnapshotOf(MemHandle live, std::initializer_list<const SnapshotBlock*> candidates,
                SnapshotBlock* out) {
    out->reset();
    if (!live) return true;
    for (const SnapshotBlock* candidate : candidates) {
        if (candidate && *candidate && (*candidate)->SameBytes(live)) {
            *out = *candidate;
            return true;
        }
    }
    MemHandle copy = DuplicateGlobal(live);
    if (!copy) return !MemIsValid(live);  // a stale handle snapshots as none
    *out = std::make_shared<const FrozenBlock>(copy);
    return true;
}

void RestoreFromSnapshot(MemHandle& live, const SnapshotBlock& block) {
    if (!block) {
        if (live) MemFree(live);
        live = nullptr;
        return;
    }
    size_t n = block->size();
    if (live && MemSize(live) == n) {
        MemLockGuard source(block->handle());
        MemLockGuard destination(live);
        if (source && destination && std::memcmp(destination.get(), source.get(), n) != 0)
            std::memcpy(destination.get(), source.get(), n);
        return;
    }
    if (live) MemFree(live);
    live = block->Thaw();
}

}  // namespace document
