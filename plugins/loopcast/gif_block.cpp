#include "plugins/loopcast/gif_block.h"

#include <cstdlib>
#include <cstring>

namespace {

// The data starts this far into the allocation so that it stays aligned for
// pointer lists; the length is the 32-bit word just before the data.
constexpr size_t kPrefix = 16;

uint32_t Rounded(uint32_t n) { return (n + 3u) & ~3u; }

uint32_t& LengthOf(void* p) { return *reinterpret_cast<uint32_t*>(static_cast<char*>(p) - 4); }

}  // namespace

void* GifAllocBlock(uint32_t n) {
    if (n > UINT32_MAX - 3) return nullptr;
    char* raw = static_cast<char*>(std::calloc(1, kPrefix + Rounded(n)));
    if (!raw) return nullptr;
    void* p = raw + kPrefix;
    LengthOf(p) = n;
    return p;
}

uint32_t GifBlockSize(const void* p) {
    return p ? *reinterpret_cast<const uint32_t*>(static_cast<const char*>(p) - 4) : 0;
}

void GifFreeBlock(void* p) {
    if (p) std::free(static_cast<char*>(p) - kPrefix);
}

void* GifGrowBlock(void* p, uint32_t n) {
    if (!p) return GifAllocBlock(n);
    if (n == 0) return p;
    uint32_t old = GifBlockSize(p);
    if (n > UINT32_MAX - 3 - old) return nullptr;
    uint32_t grown = old + n;
    if (Rounded(grown) != Rounded(old)) {
        char* raw = static_cast<char*>(std::realloc(static_cast<char*>(p) - kPrefix, kPrefix + Rounded(grown)));
        if (!raw) return nullptr;
        p = raw + kPrefix;
    }
    std::memset(static_cast<char*>(p) + old, 0, Rounded(grown) - old);
    LengthOf(p) = grown;
    return p;
}

bool GifListAppend(void** list, void* entry) {
    uint32_t count = GifListCount(*list);
    void* grown = GifGrowBlock(*list, sizeof(void*));
    if (!grown) return false;
    static_cast<void**>(grown)[count] = entry;
    *list = grown;
    return true;
}
