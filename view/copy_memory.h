// What the last copy remembers beside the clipboard (program-wide): its
// rectangles, the tool and selection mode it was made with, the size of the
// block and its selected pixels, the copying view, a copy of the layer it
// came from and the copying document's palette. A paste of the program's own
// clipboard data maps its indices through that palette; a paste of another
// program's picture refills the memory from the picture.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QByteArray>

#include "imaging/dib_layout.h"
#include "imaging/rgba_entry.h"
#include "platform/memory.h"

class CPelmarkView;

namespace view {

struct CopyMemory {
    bool filled = false;
    DibRect selection{};
    DibRect floatTarget{};
    // The floating mask's pixel rectangle, origin at the selection's origin.
    DibRect maskPixels{};
    int toolIndex = 0;
    int selectMode = 0;
    int width = 0;
    int height = 0;
    bool sixteenColor = false;
    const CPelmarkView* view = nullptr;
    // A copy of the current layer at the copy, owned here.
    MemHandle layerCopy = nullptr;
    // 16 entries in 16-colour mode (the rest black), else 256.
    std::array<RgbaEntry, 256> palette{};
    // width x height bytes, top row first: 1 where the pixel is selected.
    std::vector<uint8_t> selected;
};

CopyMemory& GetCopyMemory();
// Frees the layer copy and empties the memory.
void ClearCopyMemory();

// The bytes of the memory's rectangles and selected pixels that travel with
// the clipboard's own data, and back into a memory (false for bytes that do
// not make one; the memory is then left as it was).
QByteArray PackCopyMask(const CopyMemory& memory);
bool UnpackCopyMask(const QByteArray& bytes, CopyMemory* memory);

}  // namespace view
