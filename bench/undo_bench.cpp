// Opening undo steps on a large document: ten steps on a 2048 x 2048 image
// with 40 layers, each step after a change of one layer. The snapshots share
// the blocks of unchanged layers; the baseline copies every layer each step.
// Counters: history_MB, the bytes the ten snapshots hold.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "imaging/dib.h"
#include "platform/memory.h"

namespace {

constexpr int kSize = 2048;
constexpr int kLayers = 40;
constexpr int kSteps = 10;

std::unique_ptr<CPelmarkDoc> MakeDocument() {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(kSize, kSize, 0);
    doc->InitDib();
    for (int i = 0; i < kLayers; ++i) document::CreateLayer(*doc, i, 1);
    return doc;
}

// The edit between two steps: one pixel row of one layer.
void ChangeLayer(CPelmarkDoc& doc, int step) {
    MemLockGuard lock(doc.m_hLayers[size_t(step % kLayers)]);
    for (int x = 0; x < kSize; ++x) lock.get()[LAYER_HEADER_SIZE + size_t(x)] = uint8_t(step + 1);
}

void BM_PushUndoSharedBlocks(benchmark::State& state) {
    double historyBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = MakeDocument();
        size_t before = MemBytesInUse();
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step) {
            benchmark::DoNotOptimize(doc->PushUndo(554, "钢笔", true));
            state.PauseTiming();
            ChangeLayer(*doc, step);
            state.ResumeTiming();
        }
        state.PauseTiming();
        historyBytes = double(MemBytesInUse() - before);
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["history_MB"] = historyBytes / 1e6;
}

void BM_PushUndoFullCopies(benchmark::State& state) {
    double historyBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = MakeDocument();
        size_t before = MemBytesInUse();
        std::vector<MemHandle> history;
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step) {
            for (MemHandle layer : doc->m_hLayers)
                if (layer) history.push_back(DuplicateGlobal(layer));
            state.PauseTiming();
            ChangeLayer(*doc, step);
            state.ResumeTiming();
        }
        state.PauseTiming();
        historyBytes = double(MemBytesInUse() - before);
        for (MemHandle h : history) MemFree(h);
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["history_MB"] = historyBytes / 1e6;
}

BENCHMARK(BM_PushUndoSharedBlocks)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PushUndoFullCopies)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
