// Sized heap blocks: every variable part of a GIF tree lives in one of these.
// The block's byte length sits in a 32-bit word just in front of its data.
// Lists of pointers are sized blocks grown by one pointer per appended entry.
#pragma once

#include <cstddef>
#include <cstdint>

// n zeroed bytes (the allocation is rounded up to a multiple of 4); null when
// the allocation fails.
void* GifAllocBlock(uint32_t n);
// The stored length; 0 for null.
uint32_t GifBlockSize(const void* p);
// Frees a block; null is ignored.
void GifFreeBlock(void* p);
// Lengthens the block by n zeroed bytes and returns it (possibly moved); null
// on failure (the block then stays as it was). Growing null allocates.
void* GifGrowBlock(void* p, uint32_t n);

// Pointer lists.
inline uint32_t GifListCount(const void* list) { return GifBlockSize(list) / sizeof(void*); }
template <class T> T* GifListAt(const void* list, uint32_t i) {
    return static_cast<T* const*>(list)[i];
}
// Appends entry; false (list unchanged) when the list cannot grow.
bool GifListAppend(void** list, void* entry);
