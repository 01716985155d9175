#include "imaging/color_reducer.h"

#include <cstring>

#include "imaging/color_reduce.h"
#include "imaging/dib_convert.h"
#include "imaging/dib_create.h"
#include "imaging/dib_exchange.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_qimage.h"
#include "imaging/imaging_messages.h"
#include "imaging/mono_expand.h"

namespace {

constexpr const char* kReducing = "减色中";
constexpr const char* kCheckingMemory = "减色中:内存大小确认中";
constexpr const char* kIdle = "要显示帮助请按 [F1]。";
constexpr size_t kTableBytes = 1024;

ColorReduceStatusSink& Sink() {
    static ColorReduceStatusSink sink;
    return sink;
}

void Status(const char* text) {
    if (Sink()) Sink()(text);
}

// The geometry of a block that must be a DIB of `bits` bits with its rows
// padded to 4 bytes all there; false otherwise.
bool ReadBound(MemHandle h, int bits, dib::DibGeometry* g) {
    MemLockGuard lock(h);
    if (!lock || !dib::ReadDibGeometry(lock.get(), lock.size(), g)) return false;
    if (g->bitCount != bits || g->core) return false;
    if (bits == 8 && g->entries != 256) return false;
    if (lock.as<DibInfoHeader>()->compression != 0) return false;
    return g->HoldsRows(g->PaddedRow());
}

}  // namespace

ColorReduceStatusSink SetColorReduceStatusSink(ColorReduceStatusSink sink) {
    ColorReduceStatusSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

int CountNonSystemColors(MemHandle image8, std::span<const MemHandle> layers) {
    dib::LockedDib image(image8);
    if (!image || !image.geo().Indexed()) return 0;
    PaletteEntry table[256];
    dib::ReadColorTable(image.data(), image.geo(), table);
    const int w = image.geo().width, h = image.geo().height;
    bool used[256] = {};
    for (MemHandle layer : layers) {
        MemLockGuard lock(layer);
        if (!lock || !dib::LayerFits(lock.size(), w, h)) continue;
        const uint8_t* rows = lock.get() + LAYER_HEADER_SIZE;
        const size_t stride = dib::LayerRowBytes(w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) used[rows[size_t(y) * stride + size_t(x)]] = true;
    }
    int count = 0;
    for (int i = 0; i < 256; ++i) {
        if (!used[i]) continue;
        bool reserved = false;
        for (const PaletteEntry& r : SystemColorTable)
            reserved |= r.blue == table[i].blue && r.green == table[i].green && r.red == table[i].red;
        count += !reserved;
    }
    return count;
}

ColorReduceResult ReducePictureTo256(MemHandle picture, MemHandle* result) {
    if (result) *result = nullptr;
    if (!result) return ColorReduceResult::Failed;
    int bits = 0;
    {
        dib::LockedDib d(picture);
        if (!d) return ColorReduceResult::Failed;
        bits = d.geo().bitCount;
    }
    MemHandle converted = nullptr;
    if (bits == 16 || bits == 32) {
        converted = QImageToDib24(DibToQImage(picture));
        if (!converted) return ColorReduceResult::NoMemory;
        bits = 24;
    }
    if (bits == 24) {
        CColorReducer reducer;
        ColorReduceResult outcome = ColorReduceResult::NoMemory;
        if (reducer.PrepareFrom24(converted ? converted : picture)) {
            *result = reducer.ReduceTo256();
            outcome = *result ? ColorReduceResult::Done : ColorReduceResult::Failed;
        }
        reducer.Release();
        if (converted) MemFree(converted);
        return outcome;
    }
    // Indexed pictures only change their form.
    MemHandle copy = DuplicateGlobal(picture);
    if (!copy) return ColorReduceResult::NoMemory;
    if (bits == 1) copy = ExpandMonoDib(copy);
    bool kept = false;
    MemHandle eight = ExpandDib4To8(copy, &kept);
    if (!eight) {
        if (kept) MemFree(copy);
        return ColorReduceResult::Failed;
    }
    if (dib::LockedDib d(eight); !d || d.geo().bitCount != 8) {
        MemFree(eight);
        return ColorReduceResult::Failed;
    }
    *result = eight;
    return ColorReduceResult::Done;
}

void InstallExchangeColorReducer() { SetExchangeColorReducer(ReducePictureTo256); }

CColorReducer::~CColorReducer() { Release(); }

void CColorReducer::Clear() {
    m_hSource = m_hDestination = m_hImage8 = nullptr;
    m_pSource = m_pDestination = m_pSourceBits = m_pDestinationBits = nullptr;
    m_nWidth = m_nHeight = 0;
    m_nRow24 = m_nRow8 = 0;
}

int CColorReducer::PrepareFrom24(MemHandle picture24) {
    Release();
    Status(kCheckingMemory);
    dib::DibGeometry g;
    if (!ReadBound(picture24, 24, &g)) return 0;
    m_nWidth = g.width;
    m_nHeight = g.height;
    m_nRow24 = g.PaddedRow();
    m_nRow8 = dib::LayerRowBytes(g.width);
    uint64_t size = uint64_t(m_nRow8) * uint64_t(g.height) + DIB_INFO_HEADER_SIZE + kTableBytes;
    MemHandle destination = dib::NewInfoDib(g.width, g.height, 8, size);
    if (!destination) {
        Release();
        return 0;
    }
    m_hSource = picture24;
    m_pSource = static_cast<uint8_t*>(MemLock(picture24));
    m_pSourceBits = m_pSource + g.bitsOffset;
    m_hDestination = destination;
    m_pDestination = static_cast<uint8_t*>(MemLock(destination));
    m_pDestinationBits = m_pDestination + DIB_INFO_HEADER_SIZE + kTableBytes;
    return 1;
}

MemHandle CColorReducer::ReduceTo256() {
    if (!m_pSourceBits || !m_pDestination) return nullptr;
    Status(kReducing);
    auto* palette = reinterpret_cast<PaletteEntry*>(m_pDestination + DIB_INFO_HEADER_SIZE);
    int done = ReduceImageColors(m_pSourceBits, m_pDestinationBits, m_nWidth, m_nHeight, palette, 256,
                                 24, 0);
    Status(kIdle);
    MemHandle result = m_hDestination;
    MemUnlock(m_hDestination);
    m_hDestination = nullptr;
    m_pDestination = m_pDestinationBits = nullptr;
    if (!done) {
        MemFree(result);
        return nullptr;
    }
    return result;
}

int CColorReducer::PrepareFrom8(MemHandle image8) {
    Release();
    dib::DibGeometry g;
    if (!ReadBound(image8, 8, &g)) return 0;
    m_nWidth = g.width;
    m_nHeight = g.height;
    m_nRow8 = dib::LayerRowBytes(g.width);
    m_hImage8 = image8;
    m_pSource = static_cast<uint8_t*>(MemLock(image8));
    m_pSourceBits = m_pSource + g.bitsOffset;
    return 1;
}

PaletteEntry* CColorReducer::Palette() const {
    return m_hImage8 && m_pSource ? reinterpret_cast<PaletteEntry*>(m_pSource + DIB_INFO_HEADER_SIZE)
                                  : nullptr;
}

bool CColorReducer::LockLayers(std::span<const MemHandle> layers, std::vector<uint8_t*>& pixels) {
    pixels.clear();
    for (MemHandle layer : layers) {
        auto* p = static_cast<uint8_t*>(MemLock(layer));
        if (!p || !dib::LayerFits(MemSize(layer), m_nWidth, m_nHeight)) {
            if (p) MemUnlock(layer);
            UnlockLayers(layers, pixels.size());
            pixels.clear();
            return false;
        }
        pixels.push_back(p + LAYER_HEADER_SIZE);
    }
    return true;
}

void CColorReducer::UnlockLayers(std::span<const MemHandle> layers, size_t count) {
    for (size_t i = 0; i < count; ++i) MemUnlock(layers[i]);
}

int CColorReducer::ReduceTo16(std::span<const MemHandle> layers) {
    PaletteEntry* palette = Palette();
    if (!palette) return 0;
    std::vector<uint8_t*> pixels;
    if (!LockLayers(layers, pixels)) return 0;
    pixels.insert(pixels.begin(), m_pSourceBits);
    Status(kReducing);
    int done = 0;
    if (ReducerInit(m_nWidth, m_nHeight, 16, 8)) {
        for (uint8_t* p : pixels) ReducerCollectColors(p, palette);
        if (ReducerPrepareNodes()) {
            for (uint8_t* p : pixels) ReducerWeighPixels(p, palette);
            if (ReducerMerge()) {
                for (uint8_t* p : pixels) ReducerMapPixels(p, p, palette);
                ReducerBuildPalette(palette, 0);
                done = 1;
            }
        }
        ReducerFree();
    }
    Status(kIdle);
    UnlockLayers(layers, layers.size());
    return done;
}

int CColorReducer::ReduceAllLayers(std::span<const MemHandle> layers, int colors, int bitCount,
                                   int keepReserved) {
    // Layers hold 8-bit indices whatever the image's bit count says.
    (void)bitCount;
    PaletteEntry* palette = Palette();
    std::vector<uint8_t*> pixels;
    if (!palette || !LockLayers(layers, pixels)) return 0;
    Status(kReducing);
    int done = 0;
    if (ReducerInit(m_nWidth, m_nHeight, keepReserved ? colors - 1 : colors, 8)) {
        if (keepReserved) ReducerMarkSystemColors();
        for (uint8_t* p : pixels) ReducerCollectColors(p, palette);
        if (ReducerPrepareNodes()) {
            if (keepReserved) ReducerPinSystemColors(int32_t(pixels.size()));
            for (uint8_t* p : pixels) ReducerWeighPixels(p, palette);
            if (ReducerMerge()) {
                for (uint8_t* p : pixels) ReducerMapPixels(p, p, palette);
                ReducerBuildPalette(palette, keepReserved);
                for (uint8_t* p : pixels) ReducerRemapPixels(p, keepReserved);
                done = 1;
            }
        }
    }
    ReducerFree();
    UnlockLayers(layers, layers.size());
    if (done)
        Status(kIdle);
    else
        dib::ShowImagingMessage("内存不足。");
    return done;
}

int CColorReducer::GreyAllLayers(std::span<const MemHandle> layers, int twoLevels) {
    PaletteEntry* palette = Palette();
    std::vector<uint8_t*> pixels;
    if (!palette || !LockLayers(layers, pixels)) return 0;
    Status(kReducing);
    for (size_t i = 0; i < pixels.size(); ++i)
        ConvertToGreyLevels(pixels[i], m_nWidth, m_nHeight, palette, twoLevels,
                            i + 1 < pixels.size());
    Status(kIdle);
    UnlockLayers(layers, layers.size());
    return 1;
}

void CColorReducer::Release() {
    if (m_pSource) MemUnlock(m_hSource ? m_hSource : m_hImage8);
    if (m_pDestination) MemUnlock(m_hDestination);
    if (m_hDestination) MemFree(m_hDestination);
    Clear();
}

void CColorReducer::Free() {
    MemHandle source = m_hSource;
    Release();
    if (source) MemFree(source);
}
