#include "plugins/kit/kit_blocks.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/message_box.h"

namespace {
const char* g_memoryText = "内存不足";
const char* g_memoryCaption = "error";
}  // namespace

MemHandle GlobalDuplicate(MemHandle block) {
    MemLockGuard source(block);
    if (!source) return nullptr;
    MemHandle copy = MemAlloc(source.size());
    MemLockGuard target(copy);
    if (!target) return nullptr;
    std::memcpy(target.get(), source.get(), source.size());
    return copy;
}

void GlobalFreeSafe(MemHandle block) {
    if (block) MemFree(block);
}

void SetKitMemoryMessage(const char* text, const char* caption) {
    g_memoryText = text;
    g_memoryCaption = caption;
}

bool GlobalSwapBlocks(MemHandle a, MemHandle b) {
    bool swapped = false;
    if (a && b && MemSize(a) == MemSize(b)) {
        MemLockGuard la(a), lb(b);
        size_t size = la.size();
        std::unique_ptr<unsigned char[]> temp(la && lb ? new (std::nothrow) unsigned char[size] : nullptr);
        if (temp) {
            std::memcpy(temp.get(), la.get(), size);
            std::memcpy(la.get(), lb.get(), size);
            std::memcpy(lb.get(), temp.get(), size);
            swapped = true;
        }
    }
    if (!swapped) ShowMessageBox(nullptr, g_memoryText, g_memoryCaption, MB_BTN_OK);
    return swapped;
}
