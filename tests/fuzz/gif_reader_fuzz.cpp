// Feeds arbitrary bytes to the GIF reader and walks the tree it builds.
#include <cstdint>
#include <cstdio>

#include "plugins/loopcast/gif_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!in) return 0;
    GifFile* file = GifReadFile(in);
    std::fclose(in);
    if (!file) return 0;
    volatile uint32_t sum = 0;
    const GifScreen* s = file->screen;
    for (uint32_t i = 0; i < s->table->count; ++i) sum = sum + s->table->entries[i];
    for (uint32_t i = 0; i < GifBlockCount(file); ++i) {
        const GifBlock* block = GifBlockAt(file, i);
        if (const GifImage* im = block->image) {
            for (uint32_t k = 0; k < im->table->count; ++k) sum = sum + im->table->entries[k];
            if (im->pixels) {
                size_t area = size_t(im->width) * im->height;
                if (GifBlockSize(im->pixels) != area) __builtin_trap();
                if (area) sum = sum + im->pixels[0] + im->pixels[area - 1];
            }
        }
        if (const GifExtension* e = block->extension)
            for (uint32_t k = 0; k < GifSubBlockCount(e); ++k) {
                uint32_t n = GifBlockSize(GifSubBlockAt(e, k));
                if (n == 0 || n > 255) __builtin_trap();
                sum = sum + GifSubBlockAt(e, k)[n - 1];
            }
    }
    GifFreeFile(file);
    return 0;
}
