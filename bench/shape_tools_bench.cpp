// The rectangle and ellipse tools' release on a 2048 x 2048 document with 1
// and 10 visible layers: the whole image filled as a rectangle and as an
// ellipse, and both outlines at thickness 1 and 100. With `refresh` the
// release's full recomposition of the active view is timed as well.
#include <benchmark/benchmark.h>

#include <vector>

#include "imaging/layer_stack.h"
#include "layered_target.h"
#include "tools/draw_ops.h"
#include "tools/shape_draw.h"

namespace {

using namespace tools;

using benchdraw::Document;
using benchdraw::kSize;

enum Shape { kFilledRect, kFilledEllipse, kRectOutline, kEllipseOutline };

// First argument: layers; second: the shape; third: thickness; fourth: with
// the refresh's full recomposition.
void BM_ShapeRelease(benchmark::State& state) {
    Document doc(int(state.range(0)));
    const int shape = int(state.range(1)), pen = int(state.range(2));
    const ShapeBox box{0, 0, kSize, kSize};
    for (auto _ : state) {
        switch (shape) {
        case kFilledRect: FillRectWithOutline(doc.target, box, false); break;
        case kFilledEllipse: DrawFilledEllipse(doc.target, box); break;
        case kRectOutline: DrawRectOutline(doc.target, StrokeBox(box, pen, kOutlineCentre), pen); break;
        default: DrawEllipse(doc.target, PenPathBox(StrokeBox(box, pen, kOutlineCentre), pen), pen); break;
        }
        if (state.range(3)) RecomposeLayers(doc.target.stack);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShapeRelease)
    ->ArgsProduct({{1, 10}, {kFilledRect, kFilledEllipse}, {1}, {0, 1}})
    ->ArgsProduct({{1, 10}, {kRectOutline, kEllipseOutline}, {1, 100}, {0, 1}})
    ->ArgNames({"layers", "shape", "pen", "refresh"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
