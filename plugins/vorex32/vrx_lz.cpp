#include "plugins/vorex32/vrx_lz.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr int kHashBits = 16;
// Below this size the trials run one after the other.
constexpr size_t kParallelFrom = 64 * 1024;

uint32_t Hash(const uint8_t* p) {
    uint32_t key = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    return (key * 2654435761u) >> (32 - kHashBits);
}

// Every position with a 3-byte prefix, chained to the next later position
// whose prefix has the same hash; `first` holds each chain's oldest position.
// Shared, read-only, by the trials.
struct PrefixChains {
    std::vector<uint32_t> next;
    std::vector<uint32_t> first;

    PrefixChains(const uint8_t* data, size_t size) : first(size_t(1) << kHashBits, kNone) {
        if (size < kVrxMinMatch) return;
        next.resize(size - 2);
        for (size_t i = size - 2; i-- > 0;) {
            uint32_t h = Hash(data + i);
            next[i] = first[h];
            first[h] = uint32_t(i);
        }
    }
};

// The length of the run of equal bytes starting at every position, kRunCap
// standing for that length or more. Flat areas (a sprite's background) put
// every position of a run in one chain; the runs let the search pass a whole
// run of candidates at once.
constexpr uint16_t kRunCap = UINT16_MAX;

std::vector<uint16_t> RunLengths(const uint8_t* data, size_t size) {
    std::vector<uint16_t> run(size);
    for (size_t i = size; i-- > 0;)
        run[i] = (i + 1 < size && data[i + 1] == data[i]) ? uint16_t(run[i + 1] + (run[i + 1] != kRunCap)) : 1;
    return run;
}

void PutBig16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

// One trial: walks each chain oldest first from the window's start, so the
// first candidate to reach a length is the earliest start with it, and stops
// at the longest length possible there or when no later candidate could be
// longer (a candidate may not reach the position: its length is at most its
// distance).
//
// Where the position starts a run of one byte (length r, at least 3), a
// candidate in a run of the same byte with length q matches min(q, r) bytes
// when q != r (one run ends where the other goes on), and its later
// neighbours in that run, whose chain entries follow it one by one, match
// no more than it does, except the one whose run is exactly r long (it may
// match past the run). So of each such run only its first candidate and
// that aligned one are measured; the rest of the run is passed.
std::vector<uint8_t> Body(const uint8_t* data, size_t size, int variant, const PrefixChains& chains,
                          const std::vector<uint16_t>& run) {
    const VrxLzVariant v = VrxVariant(variant);
    std::vector<uint32_t> cursor = chains.first;
    std::vector<uint8_t> out;
    out.reserve(size / 2 + 64);
    size_t flagAt = 0;
    uint32_t flags = 0;
    int items = 32;
    auto closeGroup = [&] {
        if (items == 0 || flagAt + 4 > out.size()) return;
        out[flagAt] = uint8_t(flags >> 24);
        out[flagAt + 1] = uint8_t(flags >> 16);
        out[flagAt + 2] = uint8_t(flags >> 8);
        out[flagAt + 3] = uint8_t(flags);
    };
    size_t p = 0;
    while (p < size) {
        if (items == 32) {
            closeGroup();
            flagAt = out.size();
            out.insert(out.end(), 4, 0);
            flags = 0;
            items = 0;
        }
        uint32_t best = 0, bestStart = 0;
        if (p > 2 && p + kVrxMinMatch <= size) {
            const uint32_t h = Hash(data + p);
            const size_t low = p > v.window ? p - v.window : 0;
            uint32_t s = cursor[h];
            while (s != kNone && s < low) s = chains.next[s];
            cursor[h] = s;
            const uint32_t limit = uint32_t(std::min<size_t>(v.maxMatch, size - p));
            const uint8_t* b = data + p;
            const uint32_t runHere = run[p];
            if (runHere < kVrxMinMatch) {
                for (; s != kNone && s + kVrxMinMatch <= p; s = chains.next[s]) {
                    const uint32_t cap = uint32_t(std::min<size_t>(limit, p - s));
                    if (cap <= best) break;
                    const uint8_t* a = data + s;
                    if (a[best] != b[best]) continue;
                    uint32_t len = 0;
                    while (len < cap && a[len] == b[len]) ++len;
                    if (len > best) {
                        best = len;
                        bestStart = s;
                        if (best == limit) break;
                    }
                }
            } else {
                // Measures the candidate at `from`; true when no later one
                // can be longer.
                auto measure = [&](uint32_t from) {
                    const uint32_t cap = uint32_t(std::min<size_t>(limit, p - from));
                    if (cap <= best) return true;
                    const uint8_t* a = data + from;
                    if (a[best] != b[best]) return false;
                    uint32_t len = 0;
                    // Runs of unequal lengths (a capped one stands for its
                    // length or more, so it is never taken for the other).
                    if (a[0] == b[0] && run[from] != runHere)
                        len = std::min({uint32_t(run[from]), runHere, cap});
                    else
                        while (len < cap && a[len] == b[len]) ++len;
                    if (len > best) {
                        best = len;
                        bestStart = from;
                        if (best == limit) return true;
                    }
                    return false;
                };
                while (s != kNone && s + kVrxMinMatch <= p) {
                    if (measure(s)) break;
                    const uint32_t q = run[s];
                    if (q < kVrxMinMatch || q == kRunCap || runHere == kRunCap || data[s] != b[0]) {
                        s = chains.next[s];
                        continue;
                    }
                    // s starts a run of b[0] whose positions s .. s + q - 3
                    // all start with the same three bytes, so they follow
                    // one by one in the chain.
                    if (q > runHere) {
                        const uint32_t aligned = s + (q - runHere);
                        if (aligned + kVrxMinMatch > p) break;
                        if (measure(aligned)) break;
                    }
                    s = chains.next[s + q - kVrxMinMatch];
                }
            }
        }
        if (best >= kVrxMinMatch) {
            flags |= 1u << items;
            PutBig16(out, (best - kVrxMinMatch) << v.offsetBits | uint32_t(p - bestStart));
            p += best;
        } else {
            out.push_back(data[p]);
            ++p;
        }
        ++items;
    }
    closeGroup();
    return out;
}

void PutHeader(std::vector<uint8_t>& stream, int variant, size_t body) {
    stream.push_back(uint8_t(0xA0 | variant));
    stream.push_back(uint8_t(body >> 16));
    stream.push_back(uint8_t(body >> 8));
    stream.push_back(uint8_t(body));
}

}  // namespace

std::vector<uint8_t> VrxCompressBody(const uint8_t* data, size_t size, int variant) {
    if (variant < 1 || variant > kVrxVariants) return {};
    PrefixChains chains(data, size);
    return Body(data, size, variant, chains, RunLengths(data, size));
}

bool VrxCompress(const uint8_t* data, size_t size, std::vector<uint8_t>& stream) {
    stream.clear();
    // The chains and the runs are made side by side on large inputs.
    std::vector<uint16_t> run;
    std::thread runs;
    if (size >= kParallelFrom)
        runs = std::thread([&] { run = RunLengths(data, size); });
    else
        run = RunLengths(data, size);
    PrefixChains chains(data, size);
    if (runs.joinable()) runs.join();
    std::array<std::vector<uint8_t>, kVrxVariants> bodies;
    auto trial = [&](int i) { bodies[size_t(i)] = Body(data, size, i + 1, chains, run); };
    if (size >= kParallelFrom) {
        std::vector<std::thread> threads;
        for (int i = 1; i < kVrxVariants; ++i) threads.emplace_back(trial, i);
        trial(0);
        for (std::thread& t : threads) t.join();
    } else {
        for (int i = 0; i < kVrxVariants; ++i) trial(i);
    }
    size_t chosen = 0;
    for (size_t i = 1; i < bodies.size(); ++i)
        if (bodies[i].size() < bodies[chosen].size()) chosen = i;
    const bool stored = size < bodies[chosen].size();
    const size_t body = stored ? size : bodies[chosen].size();
    if (body > kVrxMaxBody) return false;
    stream.reserve(kVrxStreamHeaderSize + body);
    PutHeader(stream, stored ? 0 : int(chosen) + 1, body);
    if (stored)
        stream.insert(stream.end(), data, data + size);
    else
        stream.insert(stream.end(), bodies[chosen].begin(), bodies[chosen].end());
    return true;
}

bool VrxDecompress(const uint8_t* in, size_t size, uint8_t* out, size_t capacity, size_t* produced) {
    size_t o = 0;
    auto finish = [&](bool ok) {
        if (produced) *produced = o;
        return ok;
    };
    if (size < kVrxStreamHeaderSize) return finish(false);
    const int variant = in[0] & 0x1F;
    if (variant > kVrxVariants) return finish(false);
    const size_t body = std::min(size_t(in[1]) << 16 | size_t(in[2]) << 8 | in[3], size - kVrxStreamHeaderSize);
    size_t pos = kVrxStreamHeaderSize;
    const size_t end = pos + body;
    if (variant == 0) {
        o = std::min(body, capacity);
        if (o) std::memcpy(out, in + pos, o);
        return finish(true);
    }
    const VrxLzVariant v = VrxVariant(variant);
    const uint32_t distanceMask = (1u << v.offsetBits) - 1;
    while (pos < end && o < capacity) {
        if (end - pos < 4) return finish(false);
        const uint32_t flags = uint32_t(in[pos]) << 24 | uint32_t(in[pos + 1]) << 16 |
                               uint32_t(in[pos + 2]) << 8 | in[pos + 3];
        pos += 4;
        for (int k = 0; k < 32 && pos < end && o < capacity; ++k) {
            if (!(flags >> k & 1)) {
                out[o++] = in[pos++];
                continue;
            }
            if (end - pos < 2) return finish(false);
            const uint32_t item = uint32_t(in[pos]) << 8 | in[pos + 1];
            pos += 2;
            const size_t distance = item & distanceMask;
            if (distance == 0 || distance > o) return finish(false);
            const size_t length = std::min<size_t>((item >> v.offsetBits) + kVrxMinMatch, capacity - o);
            // Byte by byte: a copy may overlap its own output.
            for (size_t i = 0; i < length; ++i, ++o) out[o] = out[o - distance];
        }
    }
    return finish(true);
}
