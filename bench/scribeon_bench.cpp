// One render of the text tool: 500 CJK characters at 24 points on a
// 2048 x 2048 image of 4 layers, from fresh copies of the layer and the
// composite, anti-aliased and not. The dialog renders at most every 100 ms
// while the user types.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "imaging/dib_create.h"
#include "plugins/scribeon/glyph_fonts.h"
#include "plugins/scribeon/glyph_writers.h"
#include "plugins/scribeon/text_render.h"

namespace {

constexpr int kSide = 2048, kStride = 2048;

MemHandle NewLayer(int number, uint8_t fill) {
    MemHandle h = MemAlloc(LAYER_HEADER_SIZE + size_t(kStride) * kSide);
    MemLockGuard l(h);
    auto* header = l.as<LayerHeader>();
    header->number = uint8_t(number);
    header->visible = 1;
    header->drawMode = LAYER_DRAW_INDEX0_CLEAR;
    header->right = kSide;
    header->bottom = kSide;
    for (size_t i = 0; i < size_t(kStride) * kSide; ++i)
        l.get()[LAYER_HEADER_SIZE + i] = uint8_t((i * 7 + fill) % 5 == 0 ? 0 : fill + i % 3);
    return h;
}

void BM_ScribeonRender(benchmark::State& state) {
    const bool antiAlias = state.range(0) != 0;
    MemHandle image = CreateDib8(kSide, kSide, 0);
    {
        MemLockGuard dib(image);
        auto* table = reinterpret_cast<PaletteEntry*>(dib.get() + 40);
        for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    }
    MemHandle layers[100] = {NewLayer(0, 20), NewLayer(1, 60), NewLayer(2, 100), NewLayer(3, 140)};
    PluginToolRecord record{};
    record.editLayer = 3;
    RgbBuffer* composite = CompositeLayersToRgb(image, layers, &record);
    RgbBuffer* copy = CopyRgbBuffer(composite);
    MemHandle work = MemAlloc(MemSize(layers[3]));
    std::vector<uint8_t> textMask(size_t(kSide / 8) * kSide), selection(textMask.size(), 0xff);
    std::vector<uint16_t> chosen(size_t(kSide) * kSide);
    PaletteEntry palette[256];
    {
        MemLockGuard dib(image);
        std::memcpy(palette, dib.get() + 40, sizeof palette);
    }
    std::vector<TextChar> text;
    for (int i = 0; i < 500; ++i) {
        TextChar c;
        c.code = (i + 1) % 50 == 0 ? U'\n' : char32_t(0x4E00 + (i * 37) % 2000);
        c.heightTwips = 480;
        c.font = {"WenQuanYi Micro Hei", false, false, 24, kJapaneseCharset};
        c.colorIndex = 7;
        text.push_back(c);
    }
    GlyphFonts fonts;
    TextLayout layout{40, 60, 0, 2, 30, antiAlias};
    for (auto _ : state) {
        MemLockGuard layer(layers[3]);
        MemLockGuard w(work);
        std::memcpy(w.get(), layer.get(), layer.size());
        CopyRgbPixels(copy, composite);
        std::fill(textMask.begin(), textMask.end(), 0);
        std::fill(chosen.begin(), chosen.end(), 0);
        RenderTarget t;
        t.width = t.height = kSide;
        t.layer = w.get() + LAYER_HEADER_SIZE;
        t.layerStride = kStride;
        t.composite = copy;
        t.textMask = textMask.data();
        t.chosen = chosen.data();
        t.selection = selection.data();
        t.span = {0, kSide, 0, kSide};
        t.palette = palette;
        t.colors = 256;
        RenderText(fonts, text, layout, t);
        benchmark::DoNotOptimize(w.get()[LAYER_HEADER_SIZE + 100]);
    }
    FreeRgbBuffer(copy);
    FreeRgbBuffer(composite);
    MemFree(work);
    for (MemHandle h : layers)
        if (h) MemFree(h);
    MemFree(image);
}
BENCHMARK(BM_ScribeonRender)->Arg(0)->Arg(1)->ArgNames({"antiAlias"})->Unit(benchmark::kMillisecond);

}  // namespace
