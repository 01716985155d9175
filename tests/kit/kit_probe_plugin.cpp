// A plug-in carrying the kit, for the kit's tests: each export hands one
// kit function to the test, which reaches it through the real loading path.
#include <QCoreApplication>

#include "platform/plugin_export.h"
#include "plugins/kit/kit.h"
#include "tests/support/tracked_object.h"

KV_EXPORT int ProbeConstructions() { return CPlugInApp::Constructions(); }
KV_EXPORT bool ProbeHasApp() { return CPlugInApp::Get() != nullptr; }
KV_EXPORT QCoreApplication* ProbeQtApp() { return QCoreApplication::instance(); }
KV_EXPORT void ProbeDeleteLater(int* deleted) { (new kvtest::TrackedObject(deleted))->deleteLater(); }

KV_EXPORT int ProbeNumColors(const void* dib, bool wantBits) { return DibNumColors(dib, wantBits); }
KV_EXPORT int ProbePaletteSize(const void* dib) { return DibPaletteSize(dib); }
KV_EXPORT int ProbeWidth(const void* dib) { return DibWidth(dib); }
KV_EXPORT int ProbeHeight(const void* dib) { return DibHeight(dib); }
KV_EXPORT ptrdiff_t ProbeBitsOffset(void* dib) { return FindDibBits(dib) - static_cast<uint8_t*>(dib); }

KV_EXPORT MemHandle ProbeDuplicate(MemHandle h) { return GlobalDuplicate(h); }
KV_EXPORT void ProbeFreeSafe(MemHandle h) { GlobalFreeSafe(h); }
KV_EXPORT bool ProbeSwap(MemHandle a, MemHandle b) {
    SetKitMemoryMessage("内存错误", "错误");
    return GlobalSwapBlocks(a, b);
}

KV_EXPORT int ProbeNearest(const PaletteEntry* palette, int count, uint8_t b, uint8_t g, uint8_t r) {
    return NearestPaletteIndex(palette, count, b, g, r);
}
KV_EXPORT RgbBuffer* ProbeLayerToRgb(MemHandle image, const MemHandle* layers,
                                     const PluginToolRecord* record, int invert) {
    return invert < 0 ? LayerToRgb(image, layers, record) : LayerToRgb(image, layers, record, invert != 0);
}
KV_EXPORT void ProbeFreeRgb(RgbBuffer* buffer) { FreeRgbBuffer(buffer); }
KV_EXPORT bool ProbeRgbToLayer(MemHandle image, MemHandle layer, const RgbBuffer* work,
                               const uint8_t* protect, const uint8_t* selection,
                               const PluginToolRecord* record) {
    return RgbToLayer(image, layer, work, protect, selection, record);
}

KV_EXPORT int ProbePaint(QPainter* painter, const QRect* destination, MemHandle dib, const DibRect* source) {
    return PaintDib(painter, *destination, dib, *source);
}
KV_EXPORT int ProbeCreatePalette(MemHandle dib, LogicalPalette* palette) { return CreateDibPalette(dib, palette); }

// Bit count, colours, stride, width, height, table offset, bits offset.
KV_EXPORT void ProbePaletteDibInfo(MemHandle dib, long out[7]) {
    PaletteDibInfo info(dib);
    MemLockGuard lock(dib);
    const uint8_t* base = lock.get();
    out[0] = info.GetColorInfo(true);
    out[1] = info.GetColorInfo(false);
    out[2] = info.GetRowInfo(true);
    out[3] = info.GetRowInfo(false);
    out[4] = info.GetHeight();
    out[5] = info.m_pColorTable ? reinterpret_cast<const uint8_t*>(info.m_pColorTable) - base : -1;
    out[6] = info.m_pBits ? info.m_pBits - base : -1;
}
