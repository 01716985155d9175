#include "fill_reference.h"

#include <algorithm>

#include "plugins/kit/kit_blur_weights.h"

namespace floodtest {

namespace {

constexpr uint16_t kTones[16] = {0xFFFF, 0xEFFF, 0xEFBF, 0xAFBF, 0xAFAF, 0xADAF, 0xADA7, 0xA5A7,
                                 0xA5A5, 0x85A5, 0x8525, 0x0525, 0x0505, 0x0405, 0x0401, 0x0001};

bool MaskInUse(const Scene& s) { return std::find(s.mask.begin(), s.mask.end(), 1) != s.mask.end(); }

bool Target(const Scene& s, const std::vector<uint8_t>& work, int x, int y) {
    const size_t i = size_t(y * s.width + x);
    return work[i] && (!MaskInUse(s) || s.mask[i]);
}

}  // namespace

std::vector<uint8_t> ReferenceFill(const Scene& s) {
    std::vector<uint8_t> work(size_t(s.width * s.height), 0);
    const bool inUse = MaskInUse(s);
    const uint8_t seed = s.pixel(s.seedX, s.seedY);
    struct P {
        int x, y;
    };
    std::vector<P> stack{{s.seedX, s.seedY}};
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < s.width && y < s.height; };
    while (!stack.empty()) {
        const P p = stack.back();
        stack.pop_back();
        if (!inside(p.x, p.y) || (inUse && !s.mask[size_t(p.y * s.width + p.x)])) continue;
        work[size_t(p.y * s.width + p.x)] = 1;
        const P next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
        for (const P& n : next) {
            if (!inside(n.x, n.y)) continue;
            const size_t i = size_t(n.y * s.width + n.x);
            if (s.layer[i] != seed || work[i]) continue;
            work[i] = 1;
            stack.push_back(n);
        }
    }
    return work;
}

std::vector<int> ReferenceWeights(const Scene& s, const std::vector<uint8_t>& work) {
    const int a = s.edge, size = a + 1, lo = a / 2;
    std::vector<int> cells(size_t(size * size));
    std::vector<int*> rows;
    for (int i = 0; i < size; ++i) rows.push_back(cells.data() + i * size);
    BuildBlurWeights(size, rows.data());
    const int e = a % 2 == 0 ? a / 2 + 1 : (a + 1) / 2;
    std::vector<int> weights(size_t(s.width * s.height), 0);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            if (!Target(s, work, x, y)) continue;
            int h = e;
            for (int i = 0; i < size; ++i)
                for (int j = 0; j < size; ++j) {
                    const int px = x + j - lo, py = y + i - lo;
                    const bool out = px < 0 || py < 0 || px >= s.width || py >= s.height;
                    if (out || !work[size_t(py * s.width + px)]) h = std::min(h, e - rows[size_t(i)][j]);
                }
            weights[size_t(y * s.width + x)] = std::max(h, 1) * 255 / e;
        }
    return weights;
}

std::vector<uint8_t> ReferencePaint(const Scene& s) {
    const std::vector<uint8_t> work = ReferenceFill(s);
    const std::vector<int> weights = s.edge > 0 ? ReferenceWeights(s, work) : std::vector<int>{};
    std::vector<uint8_t> out = s.layer;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            if (!Target(s, work, x, y)) continue;
            if (!((kTones[s.density] >> ((x % 4) + 4 * (y % 4))) & 1)) continue;
            const size_t i = size_t(y * s.width + x);
            if (s.edge == 0) {
                out[i] = uint8_t(s.color);
                continue;
            }
            const int w = weights[i];
            out[i] = uint8_t((s.layer[i] * (255 - w) + s.color * w) / 255);
        }
    return out;
}

}  // namespace floodtest
