#include "plugins/loopcast/gif_tree.h"

#include <cstring>

namespace {

template <class T> T* NewRecord() { return static_cast<T*>(GifAllocBlock(sizeof(T))); }

void FreeTable(GifColorTable* table) {
    if (!table) return;
    GifFreeBlock(table->entries);
    GifFreeBlock(table);
}

void FreeList(void* list, void (*freeEntry)(void*)) {
    for (uint32_t i = 0; i < GifListCount(list); ++i) freeEntry(GifListAt<void>(list, i));
    GifFreeBlock(list);
}

bool AppendBlock(GifFile* file, uint32_t kind, GifImage* image, GifExtension* extension) {
    auto* block = NewRecord<GifBlock>();
    if (!block) return false;
    block->kind = kind;
    block->image = image;
    block->extension = extension;
    if (GifListAppend(&file->blocks, block)) return true;
    GifFreeBlock(block);
    return false;
}

}  // namespace

GifFile* GifNewFile() {
    auto* file = NewRecord<GifFile>();
    auto* screen = NewRecord<GifScreen>();
    auto* table = NewRecord<GifColorTable>();
    if (!file || !screen || !table) {
        GifFreeBlock(file);
        GifFreeBlock(screen);
        GifFreeBlock(table);
        return nullptr;
    }
    std::memcpy(file->signature, "GIF87a", 7);
    screen->table = table;
    file->screen = screen;
    return file;
}

GifImage* GifNewImage() {
    auto* image = NewRecord<GifImage>();
    auto* table = NewRecord<GifColorTable>();
    if (!image || !table) {
        GifFreeBlock(image);
        GifFreeBlock(table);
        return nullptr;
    }
    image->table = table;
    return image;
}

GifExtension* GifNewExtension(uint32_t label) {
    auto* extension = NewRecord<GifExtension>();
    if (extension) extension->label = label;
    return extension;
}

void GifFreeImage(GifImage* image) {
    if (!image) return;
    FreeTable(image->table);
    GifFreeBlock(image->pixels);
    GifFreeBlock(image);
}

void GifFreeExtension(GifExtension* extension) {
    if (!extension) return;
    FreeList(extension->subBlocks, GifFreeBlock);
    GifFreeBlock(extension);
}

void GifFreeFile(GifFile* file) {
    if (!file) return;
    if (file->screen) FreeTable(file->screen->table);
    GifFreeBlock(file->screen);
    FreeList(file->blocks, [](void* p) {
        auto* block = static_cast<GifBlock*>(p);
        GifFreeImage(block->image);
        GifFreeExtension(block->extension);
        GifFreeBlock(block);
    });
    GifFreeBlock(file);
}

bool GifSetTableSize(GifColorTable* table, uint32_t count) {
    auto* entries = static_cast<uint32_t*>(GifAllocBlock(count * 4));
    if (!entries) return false;
    GifFreeBlock(table->entries);
    table->entries = entries;
    table->count = count;
    return true;
}

bool GifAppendImage(GifFile* file, GifImage* image) {
    return AppendBlock(file, kGifImageKind, image, nullptr);
}

bool GifAppendExtension(GifFile* file, GifExtension* extension) {
    return AppendBlock(file, kGifExtensionKind, nullptr, extension);
}

bool GifAppendSubBlock(GifExtension* extension, const void* bytes, uint32_t n) {
    if (n == 0 || n > 255) return false;
    void* sub = GifAllocBlock(n);
    if (!sub) return false;
    std::memcpy(sub, bytes, n);
    if (GifListAppend(&extension->subBlocks, sub)) return true;
    GifFreeBlock(sub);
    return false;
}
