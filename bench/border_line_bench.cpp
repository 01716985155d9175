// The border line on a 2048 x 2048 image with one layer and a selection of
// the whole image less a 16-pixel margin: the traced points, each stamped
// with the border stamp of the width (widths 1 and 100, centre and outside).
#include <benchmark/benchmark.h>

#include <vector>

#include "document/selection_mask.h"
#include "imaging/layer_stack.h"
#include "tools/border_trace.h"
#include "tools/draw_ops.h"
#include "tools/pen_stamps.h"

namespace {

using namespace tools;

constexpr int kSize = 2048;
constexpr int kMargin = 16;

void BM_BorderLine(benchmark::State& state) {
    const int width = int(state.range(0));
    const int position = int(state.range(1));
    std::vector<uint8_t> maskBytes(document::MaskRowBytes(kSize) * kSize);
    document::MaskBits mask{maskBytes.data(), maskBytes.size(), kSize, kSize};
    document::MaskFillRect(mask, kMargin, kMargin, kSize - kMargin, kSize - kMargin);

    std::vector<uint8_t> layer(LAYER_HEADER_SIZE + size_t(kSize) * kSize);
    auto* header = reinterpret_cast<LayerHeader*>(layer.data());
    header->visible = 1;
    header->drawMode = LAYER_DRAW_NORMAL;
    header->right = header->bottom = kSize;
    std::vector<uint8_t> composite(size_t(kSize) * kSize);
    PaletteEntry palette[256] = {};
    DrawTarget target;
    target.stack.composite = composite.data();
    target.stack.width = target.stack.height = kSize;
    target.stack.stride = kSize;
    target.stack.hasLayers = true;
    target.stack.current = 0;
    target.stack.layers.push_back({header, layer.data() + LAYER_HEADER_SIZE});
    target.colors = palette;
    target.SetTone(0, true, 9, 0);

    StampContext context;
    context.borderLine = true;
    context.borderWidth = width;
    const PenStamp stamp = ChooseStamp(context);
    size_t points = 0;
    for (auto _ : state) {
        const std::vector<BorderPoint> trace = TraceBorder(mask, width, position);
        for (const BorderPoint& p : trace) StampPen(target, stamp, p.x, p.y, false);
        points = trace.size();
        benchmark::ClobberMemory();
    }
    state.counters["points"] = double(points);
}
BENCHMARK(BM_BorderLine)
    ->ArgsProduct({{1, 100}, {kBorderCentre, kBorderOutside}})
    ->ArgNames({"width", "position"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
