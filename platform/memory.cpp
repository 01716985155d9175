#include "memory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/handle_table.h"

namespace {

struct Slot {
    unsigned char* data = nullptr;
    size_t size = 0;
    uint32_t generation = 0;
    int locks = 0;
    bool live = false;
};

struct Table : platform::detail::HandleTable<Slot, 0x42u> {
    size_t inUse = 0;
    size_t count = 0;
    size_t limit = MEM_NO_LIMIT;

    Table() {
        if (const char* env = std::getenv("KAVOLT_MEM_LIMIT")) {
            char* end = nullptr;
            unsigned long long v = std::strtoull(env, &end, 10);
            if (end != env) limit = static_cast<size_t>(v);
        }
    }
    Slot* find(MemHandle h) { return Find(reinterpret_cast<uintptr_t>(h)); }
    bool fits(size_t more) const { return more <= limit && inUse <= limit - more; }
};

Table& table() {
    static Table* t = new Table;  // never destroyed: blocks may be freed during exit
    return *t;
}

}  // namespace

extern "C" {

MemHandle MemAlloc(size_t size) {
    if (size == 0) return nullptr;
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (!t.fits(size)) return nullptr;
    auto* data = static_cast<unsigned char*>(std::calloc(size, 1));
    if (!data) return nullptr;
    uintptr_t handle = 0;
    Slot& s = t.Add(handle);
    s.data = data;
    s.size = size;
    t.inUse += size;
    t.count++;
    return reinterpret_cast<MemHandle>(handle);
}

void* MemLock(MemHandle h) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(h);
    if (!s) return nullptr;
    s->locks++;
    return s->data;
}

int MemUnlock(MemHandle h) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(h);
    if (!s) return 0;
    if (s->locks > 0) s->locks--;
    return s->locks;
}

size_t MemSize(MemHandle h) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(h);
    return s ? s->size : 0;
}

MemHandle MemReAlloc(MemHandle h, size_t size) {
    if (size == 0) return nullptr;
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(h);
    if (!s) return nullptr;
    if (size > s->size && !t.fits(size - s->size)) return nullptr;
    auto* data = static_cast<unsigned char*>(std::realloc(s->data, size));
    if (!data) return nullptr;
    if (size > s->size) std::memset(data + s->size, 0, size - s->size);
    t.inUse = t.inUse - s->size + size;
    s->data = data;
    s->size = size;
    return h;
}

MemHandle MemFree(MemHandle h) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(h);
    if (!s) return h;
    std::free(s->data);
    t.inUse -= s->size;
    t.count--;
    s->data = nullptr;
    s->size = 0;
    s->locks = 0;
    t.Remove(s);
    return nullptr;
}

bool MemIsValid(MemHandle h) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.find(h) != nullptr;
}

void MemSetLimit(size_t bytes) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    t.limit = bytes;
}

size_t MemLimit(void) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.limit;
}

size_t MemBytesInUse(void) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.inUse;
}

size_t MemBlockCount(void) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.count;
}

}  // extern "C"
