// Colour reduction of a whole document: the composite image's palette and
// every layer's indices change together.
#include <cstddef>
#include <vector>

#include "document/color_modes.h"
#include "document/pelmark_doc.h"
#include "imaging/color_reducer.h"
#include "imaging/dib_access.h"
#include "platform/message_box.h"

namespace {

constexpr int kSixteenColorMode = 1;

std::vector<MemHandle> DocumentLayers(const CPelmarkDoc& doc) {
    std::vector<MemHandle> layers;
    for (int i = 0; i < doc.m_nLayerCount && i < int(doc.m_hLayers.size()); ++i)
        if (doc.m_hLayers[size_t(i)]) layers.push_back(doc.m_hLayers[size_t(i)]);
    return layers;
}

}  // namespace

bool CPelmarkDoc::ReduceTo16Colors() {
    if (!m_hImage) return false;
    if (IsSixteenColorDib(m_hImage)) return true;  // already 16 colours
    std::vector<MemHandle> layers = DocumentLayers(*this);
    CColorReducer reducer;
    int done = reducer.PrepareFrom8(m_hImage) && reducer.ReduceTo16(layers);
    reducer.Free();
    if (!done) {
        ShowMessageBox(nullptr, "内存不足。", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
        return false;
    }
    InitDib();
    if (IsSixteenColorDib(m_hImage)) {
        m_wPaletteLock = document::GetColorModeInfo(kSixteenColorMode).paletteLock;
        m_nColorMode = kSixteenColorMode;
    }
    SetModifiedFlag(true);
    // The steps before hold 256-colour states the document no longer has.
    for (document::UndoSlot& slot : m_UndoSlots) document::ClearUndoSlot(slot);
    m_nUndoIndex = -1;
    m_nRedoLimit = -1;
    m_nOpenedUndoStep = -1;
    return true;
}

bool CPelmarkDoc::ReduceAllLayersColors(int colors, int bitCount, int keepReserved) {
    std::vector<MemHandle> layers = DocumentLayers(*this);
    CColorReducer reducer;
    bool done = reducer.PrepareFrom8(m_hImage) &&
                reducer.ReduceAllLayers(layers, colors, bitCount, keepReserved);
    reducer.Free();
    InitDib();
    return done;
}

bool CPelmarkDoc::ConvertLayersToGrey(int colors, int bitCount, int twoLevels) {
    std::vector<MemHandle> layers = DocumentLayers(*this);
    CColorReducer reducer;
    bool done = reducer.PrepareFrom8(m_hImage) && reducer.GreyAllLayers(layers, twoLevels);
    reducer.Free();
    InitDib();
    return done;
}
