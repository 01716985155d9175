#include "view/copy_memory.h"

#include <cstring>

namespace view {

namespace {

constexpr char kMagic[4] = {'K', 'V', 'M', 'K'};

struct PackedMaskHeader {
    char magic[4];
    int32_t width;
    int32_t height;
    DibRect selection;
    DibRect floatTarget;
    DibRect maskPixels;
};

}  // namespace

CopyMemory& GetCopyMemory() {
    static CopyMemory memory;
    return memory;
}

void ClearCopyMemory() {
    CopyMemory& memory = GetCopyMemory();
    if (memory.layerCopy) MemFree(memory.layerCopy);
    memory = CopyMemory{};
}

QByteArray PackCopyMask(const CopyMemory& memory) {
    PackedMaskHeader header{};
    std::memcpy(header.magic, kMagic, 4);
    header.width = memory.width;
    header.height = memory.height;
    header.selection = memory.selection;
    header.floatTarget = memory.floatTarget;
    header.maskPixels = memory.maskPixels;
    QByteArray out(reinterpret_cast<const char*>(&header), sizeof header);
    out.append(reinterpret_cast<const char*>(memory.selected.data()), qsizetype(memory.selected.size()));
    return out;
}

bool UnpackCopyMask(const QByteArray& bytes, CopyMemory* memory) {
    PackedMaskHeader header{};
    if (bytes.size() < qsizetype(sizeof header)) return false;
    std::memcpy(&header, bytes.constData(), sizeof header);
    if (std::memcmp(header.magic, kMagic, 4) != 0 || header.width <= 0 || header.height <= 0) return false;
    const int64_t count = int64_t(header.width) * header.height;
    if (bytes.size() - qsizetype(sizeof header) != count) return false;
    memory->width = header.width;
    memory->height = header.height;
    memory->selection = header.selection;
    memory->floatTarget = header.floatTarget;
    memory->maskPixels = header.maskPixels;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData()) + sizeof header;
    memory->selected.assign(p, p + count);
    return true;
}

}  // namespace view
