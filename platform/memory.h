// Movable memory blocks held by handle.
//
// Every picture, layer, mask and undo copy of the editor (and every block
// exchanged with a plug-in) is one of these blocks. A handle is an opaque
// number: a null, freed or unknown handle is refused by every function here
// (null or 0 result) and is never dereferenced. Blocks are always
// zero-filled and have exactly the size asked for.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

typedef struct KvMemBlock* MemHandle;

// A new zero-filled block of `size` bytes; null when size is 0, when the
// allocation fails or when it would pass the limit set by MemSetLimit.
MemHandle MemAlloc(size_t size);
// The block's bytes, valid until the block is reallocated or freed; null for
// an invalid handle. Locks nest; each lock is paired with one unlock.
void* MemLock(MemHandle h);
// Returns the lock count left (0 when the block is now unlocked or invalid).
int MemUnlock(MemHandle h);
// Exactly the size asked for; 0 for an invalid handle.
size_t MemSize(MemHandle h);
// Changes the size, keeping the contents; bytes added are zero. Returns the
// same handle, or null on failure (the block then stays as it was).
MemHandle MemReAlloc(MemHandle h, size_t size);
// Frees the block. Returns null on success and the handle itself when it is
// not a live block (nothing is freed then).
MemHandle MemFree(MemHandle h);
bool MemIsValid(MemHandle h);

// Test hook: the layer refuses any allocation that would bring the bytes held
// above `bytes`. MEM_NO_LIMIT lifts the limit. The environment variable
// KAVOLT_MEM_LIMIT (bytes, decimal) sets the starting limit.
#define MEM_NO_LIMIT SIZE_MAX
void MemSetLimit(size_t bytes);
size_t MemLimit(void);
size_t MemBytesInUse(void);
size_t MemBlockCount(void);

}  // extern "C"

#ifdef __cplusplus
// Locks a block for the length of a scope.
class MemLockGuard {
public:
    explicit MemLockGuard(MemHandle h) : h_(h), p_(static_cast<unsigned char*>(MemLock(h))) {}
    ~MemLockGuard() { if (p_) MemUnlock(h_); }
    MemLockGuard(const MemLockGuard&) = delete;
    MemLockGuard& operator=(const MemLockGuard&) = delete;
    unsigned char* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    template <class T> T* as() const { return reinterpret_cast<T*>(p_); }
    size_t size() const { return MemSize(h_); }
private:
    MemHandle h_;
    unsigned char* p_;
};
#endif
