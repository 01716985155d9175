// Slots addressed by opaque handles, shared by the memory blocks, windows and
// modules of the platform layer.
//
// A handle value is (generation << 32) | (tag << 24) | (index + 1): it is
// never 0, a freed slot's old handles stop matching once the slot is reused
// (the generation moves on), and the tag keeps one kind of handle from passing
// as another. A handle is only ever compared, never dereferenced.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform::detail {

// Slot needs `uint32_t generation` and `bool live`.
template <class Slot, uint32_t Tag>
class HandleTable {
public:
    static constexpr uint32_t kIndexMask = 0x00ffffffu;

    std::mutex mutex;

    // A fresh live slot and its handle. Call with the mutex held.
    Slot& Add(uintptr_t& handle) {
        uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = uint32_t(slots_.size());
            if (index >= kIndexMask) std::abort();  // 16 million live handles
            slots_.emplace_back();
        }
        Slot& s = slots_[index];
        uint32_t generation = s.generation + 1;
        s = Slot{};
        s.generation = generation;
        s.live = true;
        handle = Encode(index, generation);
        return s;
    }

    // The live slot of a handle, or null. Call with the mutex held.
    Slot* Find(uintptr_t handle) {
        uint64_t v = uint64_t(handle);
        uint32_t low = uint32_t(v & 0xffffffffu);
        if ((low >> 24) != Tag || (low & kIndexMask) == 0) return nullptr;
        uint32_t index = (low & kIndexMask) - 1;
        if (index >= slots_.size()) return nullptr;
        Slot& s = slots_[index];
        if (!s.live || s.generation != uint32_t(v >> 32)) return nullptr;
        return &s;
    }

    // Marks the slot free; its handles stop matching. Call with the mutex held.
    void Remove(Slot* s) {
        s->live = false;
        free_.push_back(uint32_t(s - slots_.data()));
    }

    // The handle of a live slot found by `pred`, or 0. Call with the mutex held.
    template <class Pred>
    uintptr_t FindIf(Pred pred) const {
        for (uint32_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].live && pred(slots_[i])) return Encode(i, slots_[i].generation);
        return 0;
    }

private:
    static uintptr_t Encode(uint32_t index, uint32_t generation) {
        return uintptr_t((uint64_t(generation) << 32) | (uint64_t(Tag) << 24) | (uint64_t(index) + 1));
    }

    std::vector<Slot> slots_;
    std::vector<uint32_t> free_;
};

}  // namespace platform::detail
