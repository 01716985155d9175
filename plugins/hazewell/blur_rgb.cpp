#include "plugins/hazewell/blur_rgb.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "plugins/kit/kit_blur_weights.h"

namespace {

// A buffer of n zeroed values; null when memory runs out.
template <class T>
std::unique_ptr<T[]> Zeroed(size_t n) {
    std::unique_ptr<T[]> p(new (std::nothrow) T[n]);
    if (p) std::fill_n(p.get(), n, T(0));
    return p;
}

struct Tap {
    int column;
    int weight;
};

// The work image spread into four planes with a border of radius pixels:
// blue x m, green x m, red x m and m, where m is 1 for a pixel that counts.
// Plane pixel (px, py) is image pixel (px - lo, py - lo); the border holds
// zeros, so every kernel position can be read without a test.
struct Planes {
    int width = 0;  // image width + radius
    std::unique_ptr<uint8_t[]> data;
    size_t planeBytes = 0;
    const uint8_t* plane(int c) const { return data.get() + size_t(c) * planeBytes; }
};

bool FillPlanes(Planes& planes, const RgbBuffer& work, int radius, const uint8_t* protectMask,
                const uint8_t* selectionMask, const PluginToolRecord* record) {
    const int lo = radius / 2;
    planes.width = work.width + radius;
    planes.planeBytes = size_t(planes.width) * size_t(work.height + radius);
    planes.data = Zeroed<uint8_t>(planes.planeBytes * 4);
    if (!planes.data) return false;
    uint8_t* b = planes.data.get();
    uint8_t* g = b + planes.planeBytes;
    uint8_t* r = g + planes.planeBytes;
    uint8_t* m = r + planes.planeBytes;
    ToolRowSpan span = ToolRowSpanOf(record, work.width, work.height);
    for (int y = span.firstRow; y < span.endRow; ++y) {
        const int topRow = work.height - 1 - y;
        const uint8_t* in = work.data + size_t(y) * size_t(work.stride);
        const size_t row = size_t(y + lo) * size_t(planes.width) + size_t(lo);
        for (int x = span.left; x < span.right; ++x) {
            if (selectionMask && !MaskBit(selectionMask, x, topRow, work.width)) continue;
            if (protectMask && MaskBit(protectMask, x, topRow, work.width)) continue;
            const size_t at = row + size_t(x);
            b[at] = in[3 * x];
            g[at] = in[3 * x + 1];
            r[at] = in[3 * x + 2];
            m[at] = 1;
        }
    }
    return true;
}

// Adds weight x the plane row to the sums of one output row (four channels).
template <class Sum>
inline void AddTap(Sum* __restrict s0, Sum* __restrict s1, Sum* __restrict s2, Sum* __restrict s3,
                   const uint8_t* __restrict p0, const uint8_t* __restrict p1, const uint8_t* __restrict p2,
                   const uint8_t* __restrict p3, int weight, int width) {
    const Sum w = Sum(weight);
    for (int x = 0; x < width; ++x) {
        s0[x] += Sum(w * p0[x]);
        s1[x] += Sum(w * p1[x]);
        s2[x] += Sum(w * p2[x]);
        s3[x] += Sum(w * p3[x]);
    }
}

template <class Sum>
inline void AddRow(int32_t* __restrict a, const Sum* __restrict s, int width) {
    for (int x = 0; x < width; ++x) a[x] += int32_t(s[x]);
}

// Output rows first .. end - 1. With narrow sums, each kernel row is summed
// in 16 bits (it cannot overflow them) and added into the 32-bit totals.
template <class Sum>
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
bool BlurRows(const Planes& planes, const std::vector<std::vector<Tap>>& kernelRows, RgbBuffer& out,
              int first, int end) {
    const int width = out.width;
    std::unique_ptr<int32_t[]> totals = Zeroed<int32_t>(size_t(width) * 4);
    std::unique_ptr<Sum[]> sums = Zeroed<Sum>(size_t(width) * 4);
    if (!totals || !sums) return false;
    int32_t* a[4];
    Sum* s[4];
    for (int c = 0; c < 4; ++c) {
        a[c] = totals.get() + size_t(c) * size_t(width);
        s[c] = sums.get() + size_t(c) * size_t(width);
    }
    for (int y = first; y < end; ++y) {
        std::fill_n(totals.get(), size_t(width) * 4, 0);
        for (size_t i = 0; i < kernelRows.size(); ++i) {
            if (kernelRows[i].empty()) continue;
            std::fill_n(sums.get(), size_t(width) * 4, Sum(0));
            const size_t row = size_t(y + int(i)) * size_t(planes.width);
            for (const Tap& tap : kernelRows[i]) {
                const size_t at = row + size_t(tap.column);
                AddTap(s[0], s[1], s[2], s[3], planes.plane(0) + at, planes.plane(1) + at,
                       planes.plane(2) + at, planes.plane(3) + at, tap.weight, width);
            }
            for (int c = 0; c < 4; ++c) AddRow(a[c], s[c], width);
        }
        uint8_t* o = out.data + size_t(y) * size_t(out.stride);
        for (int x = 0; x < width; ++x) {
            const int32_t total = a[3][x];
            if (!total) continue;
            o[3 * x] = uint8_t(a[0][x] / total);
            o[3 * x + 1] = uint8_t(a[1][x] / total);
            o[3 * x + 2] = uint8_t(a[2][x] / total);
        }
    }
    return true;
}

// Runs the rows in bands on the machine's cores; a band whose thread cannot
// be started runs here. False when a band ran out of memory.
template <class Sum>
bool BlurAllRows(const Planes& planes, const std::vector<std::vector<Tap>>& kernelRows, RgbBuffer& out) {
    const int height = out.height;
    const int cores = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    const int bands = std::clamp(height / 32, 1, cores);
    std::vector<char> done(size_t(bands), 0);
    std::vector<std::thread> threads;
    threads.reserve(size_t(bands));
    auto run = [&](int b) {
        int first = int(int64_t(height) * b / bands), end = int(int64_t(height) * (b + 1) / bands);
        done[size_t(b)] = BlurRows<Sum>(planes, kernelRows, out, first, end) ? 1 : 0;
    };
    for (int b = 1; b < bands; ++b) {
        try {
            threads.emplace_back(run, b);
        } catch (const std::system_error&) {
            run(b);
        }
    }
    run(0);
    for (std::thread& t : threads) t.join();
    return std::all_of(done.begin(), done.end(), [](char d) { return d != 0; });
}

}  // namespace

RgbBuffer* BlurRgbBuffer(const RgbBuffer* work, int radius, const uint8_t* protectMask,
                         const uint8_t* selectionMask, const PluginToolRecord* record) {
    if (!work || !work->data || radius < 0 || radius > kMaxBlurRadius) return nullptr;
    RgbBuffer* out = NewRgbBuffer(work->width, work->height);
    if (!out) return nullptr;
    const size_t bytes = size_t(out->stride) * size_t(out->height);
    if (radius == 0) {
        std::memcpy(out->data, work->data, bytes);
        return out;
    }
    std::memset(out->data, 0, bytes);

    const int size = radius + 1;
    std::unique_ptr<int[]> cells = Zeroed<int>(size_t(size) * size_t(size));
    std::unique_ptr<int*[]> rows(new (std::nothrow) int*[size_t(size)]);
    std::vector<std::vector<Tap>> kernelRows;
    Planes planes;
    bool ok = cells && rows;
    if (ok) {
        for (int i = 0; i < size; ++i) rows[size_t(i)] = cells.get() + size_t(i) * size_t(size);
        BuildBlurWeights(size, rows.get());
        try {
            kernelRows.resize(size_t(size));
            for (int i = 0; i < size; ++i)
                for (int j = 0; j < size; ++j)
                    if (rows[size_t(i)][j]) kernelRows[size_t(i)].push_back({j, rows[size_t(i)][j]});
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    ok = ok && FillPlanes(planes, *work, radius, protectMask, selectionMask, record);
    if (!ok) {
        FreeRgbBuffer(out);
        return nullptr;
    }
    // A kernel row's sum fits 16 bits when its weights times 255 do.
    int widestRow = 0;
    for (const auto& taps : kernelRows) {
        int sum = 0;
        for (const Tap& t : taps) sum += t.weight;
        widestRow = std::max(widestRow, sum);
    }
    bool blurred = int64_t(widestRow) * 255 <= 0xffff ? BlurAllRows<uint16_t>(planes, kernelRows, *out)
                                                      : BlurAllRows<int32_t>(planes, kernelRows, *out);
    if (blurred) return out;
    FreeRgbBuffer(out);
    return nullptr;
}
