// Making the layers of a document: the one factory that the new-layer
// dialog, a new document, an opened file without layers and a pasted or
// scanned image all use.
#pragma once

#include <string>

#include <QString>

#include "imaging/dib_layout.h"
#include "platform/memory.h"

class CPelmarkDoc;

namespace document {

struct LayerOptions {
    int drawMode = LAYER_DRAW_INDEX0_CLEAR;
    // Empty: DefaultLayerName(slot).
    QString name;
    // Made by the new-layer dialog: a layer made so into slot 0 (the
    // document had none) is visible and takes the composite's pixels.
    bool fromDialog = false;
};

// "层 %03d" with the slot index ("层 000" for the first layer).
QString DefaultLayerName(int slot);

// Writes a name into a layer header: at most LAYER_NAME_SIZE - 1 bytes of
// UTF-8, cut before a character that does not fit, NUL-terminated.
void SetLayerName(LayerHeader& header, const QString& name);

// Allocates a layer of the document's size (88 + ((width + 3) & ~3) x height
// bytes, pixels 0) into `slot`, fills its header (number: the slot, visible,
// draw mode, name, rectangle 0, 0, width, height) and adds one to the layer
// count. When the block cannot be had, the work-memory message is shown and
// nothing changes. A slot outside the table or one that already holds a
// layer is refused without a message. True when the layer was made.
bool CreateLayer(CPelmarkDoc& doc, int slot, int visible, const LayerOptions& options = {});

// Copies the composite image's pixels into a layer of the same size (rows
// bottom-up; where the sizes differ only the part both cover, aligned at the
// top-left corner). False when either block is refused or the image is not
// 8 bit.
bool CopyImageToLayer(MemHandle image, MemHandle layer);

}  // namespace document
