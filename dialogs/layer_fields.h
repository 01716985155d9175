// What the layer dialogs share: a name field that takes no more than a layer
// header holds, the draw-mode choice, the edit layer's header, and their
// message boxes.
#pragma once

#include <QString>

#include <cstddef>

#include "imaging/dib_layout.h"
#include "platform/memory.h"

class CPelmarkDoc;
class QComboBox;
class QLineEdit;

namespace framework {
class Dialog;
}

// Bytes of UTF-8 a layer name keeps (the header's field less its terminator).
inline constexpr int kLayerNameBytes = LAYER_NAME_SIZE - 1;

// The field refuses, while the user types or pastes, any text longer than
// kLayerNameBytes bytes of UTF-8, so that the stored name is the typed one.
// A text set by the program is not cut (the header cuts it when stored).
void LimitLayerNameField(QLineEdit* edit);

// Fills the combo with the draw modes ("标准", "背景透明", in the order of
// the header's draw-mode byte) and selects `mode` (1 for a value it does not
// know).
void FillDrawModeCombo(QComboBox* combo, int mode);

// The name stored in a layer header.
QString LayerHeaderName(const LayerHeader& header);

// The document's edit layer, locked for as long as the object lives; false
// without a document or an edit layer.
class EditLayerHeader {
public:
    explicit EditLayerHeader(CPelmarkDoc* doc);
    explicit operator bool() const { return header_ != nullptr; }
    LayerHeader* operator->() const { return header_; }
    LayerHeader& operator*() const { return *header_; }

private:
    MemLockGuard lock_;
    LayerHeader* header_ = nullptr;
};

// The bytes of one layer block of the document (header and rows); false,
// with "错误" over the dialog, without a document.
bool ComputeLayerBlockSize(framework::Dialog& dialog, const CPelmarkDoc* doc, size_t* size);

// The name field (kNameId) and the draw-mode combo (kDrawModeId) with OK and
// Cancel, as the new-layer and change-layer dialogs lay them out.
void CreateNameAndModeControls(framework::Dialog& dialog, int nameId, int drawModeId);

// A message of the program over the dialog (warning icon, OK) / a question
// with OK and Cancel: true with OK.
void LayerDialogMessage(framework::Dialog& dialog, const QString& text);
bool LayerDialogConfirm(framework::Dialog& dialog, const QString& text);
