// The colour-reduction engine's merge: the cheapest colour is merged into its
// nearest neighbour until the target count remains. The nearest-colour
// search reads a bitmap of the live colours along rows, and where it reaches
// no colour, a grid of colour cells; the cost order (cheapest first, equal
// costs by decreasing key) is sorted once, the colours queued again kept in
// one list per cost.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "imaging/color_reduce_state.h"

namespace reduce {

namespace {

// The roots of 4 times the distances below 64, by which near colours lose.
struct NearRoots {
    double root[64];
    NearRoots() {
        for (int d = 0; d < 64; ++d) root[d] = std::sqrt(4.0 * double(d));
    }
};
const NearRoots kNearRoots;

// What merging a colour away would lose: its distance to its nearest
// colour, by its weight.
uint64_t MergeCost(const NodeState& node) {
    if (node.distance == kNoDistance) return kNoCost;
    if (uint64_t(node.distance) * 4 >= 256) return node.weight * node.distance / 4;
    return uint64_t(kNearRoots.root[node.distance] * double(node.weight));
}

// Grid resolution for a node count.
int GridBitsFor(size_t nodes) { return nodes <= 2048 ? 6 : nodes <= 8192 ? 7 : 8; }

// An inclusive box of cells along green, red and blue; empty when lo > hi.
struct CellBox {
    int lo[3] = {1, 1, 1};
    int hi[3] = {0, 0, 0};
    bool operator==(const CellBox&) const = default;
};

// Bits lo .. hi (inclusive, 0 .. 63) of a row's word of occupied cells.
inline uint64_t CellRange(int lo, int hi) { return (~uint64_t(0) >> (63 - hi)) & (~uint64_t(0) << lo); }

// Bits lo .. lo + 63 (lo may be below 0) of a row of 256 bits; 0 outside it.
inline uint64_t RowBits(const uint64_t* row, int lo) {
    const int word = lo >> 6, shift = lo & 63;
    if (unsigned(word) < 3) return shift ? row[word] >> shift | row[word + 1] << (64 - shift) : row[word];
    uint64_t bits = word >= 0 && word < 4 ? row[word] >> shift : 0;
    if (shift && word + 1 >= 0 && word + 1 < 4) bits |= row[word + 1] << (64 - shift);
    return bits;
}

// A row of the colour space along blue, as green and red apart from a
// colour's own, with the least distance its colours can have.
struct RowOffset {
    int8_t green;
    int8_t red;
    uint16_t distance;
};

constexpr uint32_t kNoKey = UINT32_MAX;

// How far the search along rows looks at grid resolutions 8, 7 and 6 (at
// most 960: every colour within it lies within 31 blues of the colour).
constexpr uint32_t kRowReachOf[3] = {101, 160, 288};

inline uint32_t Square(int d) { return uint32_t(d * d); }

// The live colours and the grid of colour cells over them. The live colours
// are a bitmap of the colour space, bit k for key k, so that a row of 256
// blues of one green and red is 4 words. The grid divides the space into
// cells along green, red and blue (a green cell w wide, a red one 2w and a
// blue one 4w); one word per row of cells along blue has a bit set for each
// cell that holds a live colour, so that a search passes over empty cells a
// row at a time.
class Grid {
public:
    Grid(EngineState& e, uint64_t* live, uint64_t* occupied, uint32_t* rowStarts)
        : e_(&e), live_(live), occupied_(occupied), rowStarts_(rowStarts), keys_(e.nodeKeys.data),
          nodes_(e.nodes.data), nodeCount_(e.nodeCount) {
        for (size_t row = 0; row < kColorSpace / 256; ++row) rowStarts_[row] = e.rank[row * 4];
    }

    // Sets the grid's resolution and marks the cells of the live colours.
    void SetResolution(int bits) {
        bits_ = bits;
        e_->gridBits = bits;
        dims_[0] = 1 << bits_;
        dims_[1] = 1 << (bits_ - 1);
        dims_[2] = 1 << (bits_ - 2);
        shift_[0] = 8 - bits_;
        shift_[1] = 9 - bits_;
        shift_[2] = 10 - bits_;
        // The rows around a colour, nearest first, that the search along
        // rows looks at: those within `rowReach_`, beyond which it leaves the
        // search to the cells.
        rowReach_ = std::min<uint32_t>(kRowReachOf[8 - bits_], 960);
        rowCount_ = 0;
        for (int g = -8; g <= 8; ++g)
            for (int r = -16; r <= 16; ++r)
                if (uint32_t d = uint32_t(16 * g * g + 4 * r * r); d <= rowReach_)
                    rows_[rowCount_++] = RowOffset{int8_t(g), int8_t(r), uint16_t(d)};
        std::sort(rows_, rows_ + rowCount_,
                  [](const RowOffset& a, const RowOffset& b) { return a.distance < b.distance; });
        std::fill_n(occupied_, RowWords(), uint64_t(0));
        for (size_t i = 0; i < nodeCount_; ++i) {
            if (nodes_[i].Merged()) continue;
            int c[3];
            CellOf(keys_[i], c);
            occupied_[RowIndex(c[0], c[1])] |= uint64_t(1) << c[2];
        }
    }

    // Row words the occupancy needs at a resolution.
    static size_t RowWordsFor(int bits) { return size_t(1) << (2 * bits - 1); }
    size_t RowWords() const { return RowWordsFor(bits_); }

    // Finds the nearest other live colour of node `index`: its `nearest`
    // and `distance`.
    void FindNearest(uint32_t index) const {
        const uint32_t key = keys_[index];
        uint32_t best = kNoKey;
        uint32_t bestDistance = kNoDistance;
        if (Blue(key) > 0 && Live(key - 1)) {
            // Nothing is nearer than the next blue, the one below first.
            best = key - 1, bestDistance = 1;
        } else if (Blue(key) < 255 && Live(key + 1)) {
            best = key + 1, bestDistance = 1;
        } else if (!FindNearBy(key, best, bestDistance)) {
            int c[3];
            CellOf(key, c);
            const CellBox whole = Whole();
            CellBox inner, cube;
            int half = 1;
            for (;; ++half) {
                cube = Cube(c, half);
                Scan(cube, inner, key, best, bestDistance);
                if (best != kNoKey || cube == whole) break;
                inner = cube;
            }
            if (best != kNoKey) {
                uint64_t reach = uint64_t(half) << shift_[0];
                if (16 * reach * reach < bestDistance) {
                    int far = int(uint32_t(std::sqrt(double(bestDistance / 16))) >> shift_[0]) + 1;
                    if (far > half) Scan(Cube(c, far), cube, key, best, bestDistance);
                }
            }
        }
        NodeState& node = nodes_[index];
        node.nearest = best != kNoKey ? best : NodeState::kNone;
        node.distance = best != kNoKey ? bestDistance : kNoDistance;
    }

    // Node `index` is merged away: its colour leaves the live colours.
    void Remove(uint32_t index) const {
        const uint32_t key = keys_[index];
        live_[key >> 6] &= ~(uint64_t(1) << (key & 63));
        int c[3];
        CellOf(key, c);
        if (!CellHoldsOther(c, key)) occupied_[RowIndex(c[0], c[1])] &= ~(uint64_t(1) << c[2]);
    }

    // Whether a colour is live (not merged away).
    bool Live(uint32_t key) const { return live_[key >> 6] >> (key & 63) & 1; }

    // The node of a live colour, looked up among the nodes of its row of
    // colours (in key order).
    uint32_t NodeOf(uint32_t key) const {
        const uint32_t row = key >> 8;
        const uint32_t* first = keys_ + rowStarts_[row];
        const uint32_t* last = row + 1 < kColorSpace / 256 ? keys_ + rowStarts_[row + 1] : keys_ + nodeCount_;
        return uint32_t(std::lower_bound(first, last, key) - keys_);
    }

private:
    size_t RowIndex(int g, int r) const { return size_t(g) * size_t(dims_[1]) + size_t(r); }
    size_t CellIndex(int g, int r, int b) const { return RowIndex(g, r) * size_t(dims_[2]) + size_t(b); }
    void CellOf(uint32_t key, int c[3]) const {
        c[0] = Green(key) >> shift_[0];
        c[1] = Red(key) >> shift_[1];
        c[2] = Blue(key) >> shift_[2];
    }
    CellBox Cube(const int c[3], int half) const {
        CellBox box;
        for (int a = 0; a < 3; ++a) {
            box.lo[a] = std::max(c[a] - half, 0);
            box.hi[a] = std::min(c[a] + half, dims_[a] - 1);
        }
        return box;
    }
    CellBox Whole() const {
        CellBox box;
        for (int a = 0; a < 3; ++a) box.lo[a] = 0, box.hi[a] = dims_[a] - 1;
        return box;
    }
    // The live bits of the blues of cell column `b` in the row of `red` and
    // `green`, lowest blue in bit 0.
    uint64_t CellBlues(int red, int green, int b) const {
        const int blue = b << shift_[2];
        const uint64_t mask = (uint64_t(1) << (1 << shift_[2])) - 1;
        return live_[(size_t(red) << 10 | size_t(green) << 2) + size_t(blue >> 6)] >> (blue & 63) & mask;
    }

    // Looks at every live colour of the cells of `box` that lie outside
    // `inner`, cells in green, red, blue order and the colours of a cell in
    // key order, keeping the first of the least distance. Planes, rows and
    // cells that cannot hold a strictly nearer colour are passed over.
    void Scan(const CellBox& box, const CellBox& inner, uint32_t key, uint32_t& best,
              uint32_t& bestDistance) const {
        const int own[3] = {Green(key), Red(key), Blue(key)};
        auto gap = [&](int axis, int cell) {
            int lo = cell << shift_[axis], hi = lo + (1 << shift_[axis]) - 1;
            return Square(own[axis] < lo ? lo - own[axis] : own[axis] > hi ? own[axis] - hi : 0);
        };
        for (int g = box.lo[0]; g <= box.hi[0]; ++g) {
            uint32_t dg = 16 * gap(0, g);
            if (dg >= bestDistance) continue;
            bool gInside = g >= inner.lo[0] && g <= inner.hi[0];
            for (int r = box.lo[1]; r <= box.hi[1]; ++r) {
                uint32_t dr = dg + 4 * gap(1, r);
                if (dr >= bestDistance) continue;
                bool rowInside = gInside && r >= inner.lo[1] && r <= inner.hi[1];
                // The occupied cells of the row in the box and outside
                // `inner`, in increasing blue.
                uint64_t cells = occupied_[RowIndex(g, r)] & CellRange(box.lo[2], box.hi[2]);
                if (rowInside && inner.lo[2] <= inner.hi[2]) cells &= ~CellRange(inner.lo[2], inner.hi[2]);
                for (; cells; cells &= cells - 1) {
                    const int b = std::countr_zero(cells);
                    const uint32_t db = gap(2, b);
                    if (dr + db >= bestDistance) continue;
                    // The cell's colours in key order: red, then green, then blue.
                    const int red0 = r << shift_[1], green0 = g << shift_[0], blue0 = b << shift_[2];
                    for (int red = red0; red < red0 + (1 << shift_[1]); ++red) {
                        const uint32_t dRed = 4 * Square(red - own[1]);
                        for (int green = green0; green < green0 + (1 << shift_[0]); ++green) {
                            const uint32_t dRow = dRed + 16 * Square(green - own[0]);
                            if (dRow + db >= bestDistance) continue;
                            for (uint64_t blues = CellBlues(red, green, b); blues; blues &= blues - 1) {
                                const int blue = blue0 + std::countr_zero(blues);
                                const uint32_t k = uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
                                const uint32_t d = dRow + Square(blue - own[2]);
                                if (d < bestDistance && k != key) bestDistance = d, best = k;
                            }
                        }
                    }
                }
            }
        }
    }

    // The nearest live colour within `rowReach_`, looked up row by row
    // around the colour: false when there is none, or when the cell search
    // could choose another. That search looks in ever larger cubes of cells
    // around the colour's own and then, for a nearer colour, in the cells
    // around that cube; it keeps the nearest colour, of equal distances the
    // first in cell order (green, red, blue), then key order, one in the
    // first cube that holds any before one outside it. When the cells next
    // to the colour's own hold another colour, that first cube is theirs,
    // and it matters only when colours lie at one distance; the same colour
    // is chosen here.
    bool FindNearBy(uint32_t key, uint32_t& best, uint32_t& bestDistance) const {
        const int g = Green(key), r = Red(key), b = Blue(key);
        int own[3];
        CellOf(key, own);
        uint32_t limit = rowReach_;
        uint32_t bestKey = kNoKey;
        bool tied = false;  // another colour lies as near as the best
        auto consider = [&](uint32_t k, uint32_t d, bool rowTied) {
            if (d > limit) return;
            if (d < limit || bestKey == kNoKey) {
                bestKey = k, limit = d, tied = rowTied;
            } else {
                tied = true;
                if (TieBefore(own, k, bestKey)) bestKey = k;
            }
        };
        for (int i = 0; i < rowCount_; ++i) {
            const RowOffset& o = rows_[i];
            if (o.distance > limit) break;
            const int gg = g + o.green, rr = r + o.red;
            if (unsigned(gg) > 255 || unsigned(rr) > 255) continue;
            // Bit 32 is the colour's own blue. The row's nearest colour,
            // without branches: a side with none (and the own blue where
            // there is none, or in the colour's own row) lies 32 blues away,
            // beyond any reach.
            const uint64_t bits = RowBits(live_ + (size_t(rr) << 10 | size_t(gg) << 2), b - 32);
            const int below = std::countl_zero((bits & 0xFFFFFFFFu) | 1) - 31;
            const int above = std::countr_zero(bits >> 33 | uint64_t(1) << 31) + 1;
            const bool mid = (o.green | o.red) && (bits >> 32 & 1);
            const uint32_t rowKey = uint32_t(gg) << 8 | uint32_t(rr) << 16;
            uint32_t d = o.distance + uint32_t(below * below), k = rowKey | uint32_t(b - below);
            const uint32_t dAbove = o.distance + uint32_t(above * above);
            if (dAbove < d) d = dAbove, k = rowKey | uint32_t(b + above);
            if (mid) d = o.distance, k = rowKey | uint32_t(b);
            if (d > limit) continue;
            // Below and above at one distance: the first of the two.
            const bool rowTied = below == above && !mid;
            if (rowTied && TieBefore(own, rowKey | uint32_t(b + above), k)) k = rowKey | uint32_t(b + above);
            consider(k, d, rowTied);
        }
        if (bestKey == kNoKey) return false;
        // Of colours at one distance the cell search might keep another
        // beyond the cells next to the colour's own when those are empty.
        if (tied && OutsideNextCells(own, bestKey) && !NextCellsHoldOther(own, key)) return false;
        best = bestKey;
        bestDistance = limit;
        return true;
    }
    // Whether colour `k` lies beyond the cells next to cell `own`.
    bool OutsideNextCells(const int own[3], uint32_t k) const {
        int c[3];
        CellOf(k, c);
        return std::abs(c[0] - own[0]) > 1 || std::abs(c[1] - own[1]) > 1 || std::abs(c[2] - own[2]) > 1;
    }
    // Whether cell `own` and the cells next to it hold a live colour other
    // than `key`.
    bool NextCellsHoldOther(const int own[3], uint32_t key) const {
        const CellBox box = Cube(own, 1);
        for (int g = box.lo[0]; g <= box.hi[0]; ++g) {
            for (int r = box.lo[1]; r <= box.hi[1]; ++r) {
                uint64_t cells = occupied_[RowIndex(g, r)] & CellRange(box.lo[2], box.hi[2]);
                if (g == own[0] && r == own[1] && (cells >> own[2] & 1)) {
                    cells &= ~(uint64_t(1) << own[2]);
                    if (CellHoldsOther(own, key)) return true;
                }
                if (cells) return true;
            }
        }
        return false;
    }
    // Whether cell `c` holds a live colour other than `key`.
    bool CellHoldsOther(const int c[3], uint32_t key) const {
        const int red = c[1] << shift_[1], green = c[0] << shift_[0];
        for (int dr = 0; dr < 1 << shift_[1]; ++dr) {
            for (int dg = 0; dg < 1 << shift_[0]; ++dg) {
                uint64_t blues = CellBlues(red + dr, green + dg, c[2]);
                if (Red(key) == red + dr && Green(key) == green + dg)
                    blues &= ~(uint64_t(1) << (Blue(key) - (c[2] << shift_[2])));
                if (blues) return true;
            }
        }
        return false;
    }
    // Of two colours at one distance from a colour of cell `own`, whether
    // `a` comes first: one in the cells next to `own` before one beyond
    // them, then cell order, then key order.
    bool TieBefore(const int own[3], uint32_t a, uint32_t b) const {
        const bool outA = OutsideNextCells(own, a), outB = OutsideNextCells(own, b);
        if (outA != outB) return outB;
        int ca[3], cb[3];
        CellOf(a, ca);
        CellOf(b, cb);
        const size_t ia = CellIndex(ca[0], ca[1], ca[2]), ib = CellIndex(cb[0], cb[1], cb[2]);
        return ia != ib ? ia < ib : a < b;
    }

    EngineState* e_;
    uint64_t* live_;
    uint64_t* occupied_;
    uint32_t* rowStarts_;  // per row of 256 blues: its first node
    const uint32_t* keys_;
    NodeState* nodes_;
    size_t nodeCount_;
    int bits_ = 0;
    int dims_[3] = {};
    int shift_[3] = {};
    uint32_t rowReach_ = 0;
    int rowCount_ = 0;
    RowOffset rows_[17 * 33];
};

// One place in the cost order. An entry goes stale when its node's cost
// rises (the node is then queued again at its present cost).
struct CostEntry {
    uint64_t cost;
    uint32_t node;
};

// Cost order: cheapest first, equal costs by decreasing key (the nodes are
// in increasing key order).
inline bool Before(const CostEntry& a, const CostEntry& b) {
    return a.cost != b.cost ? a.cost < b.cost : a.node > b.node;
}
constexpr auto kAfter = [](const CostEntry& a, const CostEntry& b) { return Before(b, a); };

// Sorts `entries`, given in decreasing node order, by increasing cost:
// sorting by digits of the cost from the lowest, each pass stable, keeps
// equal costs in decreasing node order. `spare` holds as many entries; the
// sorted entries end in either, which `entries` then points to.
void SortByCost(CostEntry*& entries, CostEntry*& spare, size_t count) {
    constexpr int kDigitBits = 11;
    constexpr size_t kBuckets = size_t(1) << kDigitBits;
    uint64_t any = 0;
    for (size_t i = 0; i < count; ++i) any |= entries[i].cost;
    const int digits = (std::bit_width(any) + kDigitBits - 1) / kDigitBits;
    std::vector<uint32_t> counts(size_t(digits) * kBuckets);
    for (size_t i = 0; i < count; ++i)
        for (int d = 0; d < digits; ++d) ++counts[size_t(d) * kBuckets + (entries[i].cost >> (d * kDigitBits) & (kBuckets - 1))];
    for (int d = 0; d < digits; ++d) {
        uint32_t* bucket = &counts[size_t(d) * kBuckets];
        const int shift = d * kDigitBits;
        if (bucket[entries[0].cost >> shift & (kBuckets - 1)] == count) continue;  // one digit for all
        uint32_t start = 0;
        for (size_t b = 0; b < kBuckets; ++b) start += std::exchange(bucket[b], start);
        for (size_t i = 0; i < count; ++i) spare[bucket[entries[i].cost >> shift & (kBuckets - 1)]++] = entries[i];
        std::swap(entries, spare);
    }
}

// The cost order: the first order sorted once and read from the front, and
// the nodes queued again after their cost rose. A live node's cost only ever
// rises, so its entry, at a cost not above the node's own, comes up no later
// than its true place: only then is it queued again at its present cost,
// once for however many merges raised it. So a live node has at most one
// entry, a node merged away none, and a node is queued again above the cost
// that comes up. Costs below kCostLists are queued in one list per cost,
// linked through the nodes, and a list is put in order when its cost comes
// up; dearer ones in a heap.
class CostOrder {
public:
    static constexpr size_t kCostLists = size_t(1) << 16;

    struct Store {
        CostEntry* heap;         // as many entries as nodes
        uint32_t* heads;         // kCostLists: node + 1 first in the list of a cost, 0 for none
        uint64_t* held;          // kCostLists bits: the list of a cost holds a node
        uint32_t* links;         // per node: node + 1 next in its list
        uint32_t* comingUp;      // as many as nodes
    };
    CostOrder(const CostEntry* sorted, size_t count, const Store& store)
        : sorted_(sorted), count_(count), store_(store) {}

    // The cheapest entry that stands at its node's cost, or false when none
    // is left.
    bool Peek(const NodeState* nodes, CostEntry& top) {
        for (;;) {
            const CostEntry* s = next_ < count_ ? &sorted_[next_] : nullptr;
            CostEntry queued;
            const Source from = FirstQueued(s, queued);
            if (s && (from == Source::None || Before(*s, queued))) {
                top = *s;
                source_ = Source::Sorted;
            } else if (from != Source::None) {
                top = queued;
                source_ = from;
            } else {
                return false;
            }
            const uint64_t cost = MergeCost(nodes[top.node]);
            if (cost == top.cost) return true;
            Drop();
            Queue(top.node, cost);
        }
    }
    // Removes the entry Peek gave.
    void Drop() {
        switch (source_) {
            case Source::Sorted: ++next_; break;
            case Source::ComingUp: --comingUpSize_; break;
            case Source::Heap:
                std::pop_heap(store_.heap, store_.heap + heapSize_, kAfter);
                --heapSize_;
                break;
            case Source::List:
            case Source::None: break;
        }
    }

private:
    enum class Source { None, Sorted, ComingUp, List, Heap };

    void Queue(uint32_t node, uint64_t cost) {
        if (cost < kCostLists) {
            store_.links[node] = store_.heads[cost];
            store_.heads[cost] = node + 1;
            store_.held[cost >> 6] |= uint64_t(1) << (cost & 63);
            heldWords_[cost >> 12] |= uint64_t(1) << (cost >> 6 & 63);
            lowestList_ = std::min(lowestList_, size_t(cost));
        } else {
            store_.heap[heapSize_++] = CostEntry{cost, node};
            std::push_heap(store_.heap, store_.heap + heapSize_, kAfter);
        }
    }
    // The first of the queued entries in `first`. A list is put in order
    // only when its cost is not above the first sorted entry's `s`: no node
    // is queued again at that cost after, so it stays in order.
    Source FirstQueued(const CostEntry* s, CostEntry& first) {
        if (comingUpSize_) {
            first = CostEntry{comingUpCost_, store_.comingUp[comingUpSize_ - 1]};
            return Source::ComingUp;
        }
        lowestList_ = FirstHeldList(lowestList_);
        if (lowestList_ < kCostLists) {
            first = CostEntry{lowestList_, 0};
            if (s && s->cost < lowestList_) return Source::List;  // the sorted entry comes first
            // Equal costs come by decreasing node: the list in increasing
            // node order, taken from its end.
            for (uint32_t at = std::exchange(store_.heads[lowestList_], 0u); at; at = store_.links[at - 1])
                store_.comingUp[comingUpSize_++] = at - 1;
            uint64_t& word = store_.held[lowestList_ >> 6];
            word &= ~(uint64_t(1) << (lowestList_ & 63));
            if (!word) heldWords_[lowestList_ >> 12] &= ~(uint64_t(1) << (lowestList_ >> 6 & 63));
            std::sort(store_.comingUp, store_.comingUp + comingUpSize_);
            comingUpCost_ = lowestList_;
            first.node = store_.comingUp[comingUpSize_ - 1];
            return Source::ComingUp;
        }
        if (heapSize_) {
            first = store_.heap[0];
            return Source::Heap;
        }
        return Source::None;
    }

    // The first cost from `from` on whose list holds a node; kCostLists for
    // none.
    size_t FirstHeldList(size_t from) const {
        if (from >= kCostLists) return kCostLists;
        size_t word = from >> 6;
        if (const uint64_t bits = store_.held[word] & ~uint64_t(0) << (from & 63))
            return word << 6 | size_t(std::countr_zero(bits));
        for (size_t group = (word + 1) >> 6; group < kHeldGroups; ++group) {
            uint64_t words = heldWords_[group];
            if (group == (word + 1) >> 6) words &= (word + 1) & 63 ? ~uint64_t(0) << ((word + 1) & 63) : ~uint64_t(0);
            if (words) {
                word = group << 6 | size_t(std::countr_zero(words));
                return word << 6 | size_t(std::countr_zero(store_.held[word]));
            }
        }
        return kCostLists;
    }

    static constexpr size_t kHeldGroups = kCostLists / 64 / 64;

    const CostEntry* sorted_;
    size_t count_;
    size_t next_ = 0;
    Store store_;
    uint64_t heldWords_[kHeldGroups] = {};  // bit w: word w of `held` is not 0
    size_t heapSize_ = 0;
    size_t lowestList_ = kCostLists;
    size_t comingUpSize_ = 0;
    uint64_t comingUpCost_ = 0;
    Source source_ = Source::None;
};

// The nearest survivor of any colour (the first of equal distances),
// through the survivors that can be nearest to some colour of its cell:
// those whose least distance to the cell is not above the greatest distance
// of the best survivor. Each cell's list is gathered the first time a colour
// of it is asked for, from the list of the cell twice as wide around it
// (none of the others can be nearest in the smaller cell either), the
// coarsest from all survivors.
class SurvivorCandidates {
public:
    SurvivorCandidates(const uint32_t* survivorKeys, size_t count, int gridBits) : count_(count) {
        for (int bits = std::max(gridBits - 2, 2); bits <= gridBits; ++bits) {
            Level& level = levels_.emplace_back();
            level.bits = bits;
            level.shift[0] = 8 - bits;
            level.shift[1] = 9 - bits;
            level.shift[2] = 10 - bits;
            level.lists.assign(size_t(1) << (3 * bits - 3), List{});
        }
        for (size_t i = 0; i < count_; ++i) all_[i] = survivorKeys[i] << 8 | uint32_t(i);
    }

    // The survivor's place in the list given; -1 when there is none.
    int Nearest(uint32_t key) {
        const List& list = ListOf(levels_.size() - 1, key);
        const uint32_t* pool = levels_.back().pool.data() + list.start;
        // The least distance, of equal ones the first survivor.
        uint64_t best = UINT64_MAX;
        for (int32_t i = 0; i < list.count; ++i)
            best = std::min(best, uint64_t(ColorDistance(key, pool[i] >> 8)) << 8 | (pool[i] & 0xFF));
        return best == UINT64_MAX ? -1 : int(best & 0xFF);
    }

private:
    struct List {
        int32_t start = -1;
        int32_t count = 0;
    };
    // Cells of one size; each survivor in a list as key << 8 | place.
    struct Level {
        int bits = 0;
        int shift[3] = {};
        std::vector<List> lists;
        std::vector<uint32_t> pool;
    };

    const List& ListOf(size_t depth, uint32_t key) {
        Level& level = levels_[depth];
        const int c[3] = {Green(key) >> level.shift[0], Red(key) >> level.shift[1], Blue(key) >> level.shift[2]};
        const size_t cell = size_t(c[0]) << (2 * level.bits - 3) | size_t(c[1]) << (level.bits - 2) | size_t(c[2]);
        if (level.lists[cell].start < 0) {
            if (depth == 0) {
                level.lists[cell] = Gather(level, c, all_, count_);
            } else {
                const List& wider = ListOf(depth - 1, key);
                level.lists[cell] = Gather(level, c, levels_[depth - 1].pool.data() + wider.start, size_t(wider.count));
            }
        }
        return level.lists[cell];
    }

    List Gather(Level& level, const int c[3], const uint32_t* candidates, size_t count) {
        static constexpr int kWeights[3] = {16, 4, 1};
        uint64_t minD[256];
        uint64_t limit = UINT64_MAX;
        for (size_t i = 0; i < count; ++i) {
            uint32_t k = candidates[i] >> 8;
            int v[3] = {Green(k), Red(k), Blue(k)};
            uint64_t least = 0, most = 0;
            for (int a = 0; a < 3; ++a) {
                int lo = c[a] << level.shift[a], hi = lo + (1 << level.shift[a]) - 1;
                int near = v[a] < lo ? lo - v[a] : v[a] > hi ? v[a] - hi : 0;
                int far = std::max(std::abs(v[a] - lo), std::abs(v[a] - hi));
                least += uint64_t(kWeights[a] * near * near);
                most += uint64_t(kWeights[a] * far * far);
            }
            minD[i] = least;
            limit = std::min(limit, most);
        }
        List list{int32_t(level.pool.size()), 0};
        for (size_t i = 0; i < count; ++i)
            if (minD[i] <= limit) level.pool.push_back(candidates[i]), ++list.count;
        return list;
    }

    size_t count_;
    uint32_t all_[256] = {};
    std::vector<Level> levels_;
};

}  // namespace

bool MergeNodes() {
    EngineState& e = Engine();
    const size_t n = e.nodeCount;
    const size_t target = size_t(e.target);
    if (n == 0 || target == 0) return false;
    NodeState* nodes = e.nodes.data;
    const uint32_t* keys = e.nodeKeys.data;

    const int firstBits = GridBitsFor(n);
    EngineBlock<uint64_t> occupied, held;
    EngineBlock<CostEntry> sorted, spare;
    EngineBlock<uint32_t> run, heads, links, comingUp, rowStarts;
    if (!occupied.Allocate(Grid::RowWordsFor(firstBits)) || !sorted.Allocate(n) || !spare.Allocate(n) ||
        !run.Allocate(n) || !heads.Allocate(CostOrder::kCostLists) || !links.Allocate(n) || !comingUp.Allocate(n) ||
        !held.Allocate(CostOrder::kCostLists / 64) || !rowStarts.Allocate(kColorSpace / 256))
        return false;
    // The used colours' bits are the live colours while the merge runs, and
    // are set again for every node when it ends, however it ends.
    struct UsedBitsBack {
        EngineState& e;
        ~UsedBitsBack() {
            for (size_t i = 0; i < e.nodeCount; ++i) e.usedBits[e.nodeKeys[i] >> 6] |= uint64_t(1) << (e.nodeKeys[i] & 63);
        }
    } usedBitsBack{e};
    Grid grid(e, e.usedBits.data, occupied.data, rowStarts.data);
    grid.SetResolution(firstBits);
    for (size_t i = 0; i < n; ++i) grid.FindNearest(uint32_t(i));

    CostEntry* order0 = sorted.data;
    CostEntry* heap = spare.data;
    try {
        for (size_t i = 0; i < n; ++i) order0[i] = CostEntry{MergeCost(nodes[n - 1 - i]), uint32_t(n - 1 - i)};
        SortByCost(order0, heap, n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    CostOrder order(order0, n, CostOrder::Store{heap, heads.data, held.data, links.data, comingUp.data});

    size_t remaining = n;
    while (remaining > target) {
        // The run: every node of the smallest cost, but never past the
        // target; taken from the end of the order, last first.
        CostEntry top;
        if (!order.Peek(nodes, top)) break;
        const uint64_t runCost = top.cost;
        size_t runLength = 0;
        for (bool more = true; more && runLength < remaining - target && top.cost == runCost;
             more = order.Peek(nodes, top)) {
            run[runLength++] = top.node;
            order.Drop();
        }
        for (size_t k = 0; k < runLength; ++k) {
            const uint32_t index = run[k];
            NodeState& node = nodes[index];
            if (node.nearest == NodeState::kNone || !grid.Live(node.nearest)) grid.FindNearest(index);
            if (node.nearest == NodeState::kNone) continue;  // the only node left
            nodes[grid.NodeOf(node.nearest)].weight += node.weight;
            grid.Remove(index);
            node.nearest = NodeState::kMergedAway;
            node.weight = 0;
            --remaining;
            if (remaining == 8192 && e.gridBits > 7) grid.SetResolution(7);
            else if (remaining == 2048 && e.gridBits > 6) grid.SetResolution(6);
        }
    }
    sorted.Release();
    spare.Release();
    run.Release();
    heads.Release();
    held.Release();
    links.Release();
    comingUp.Release();
    occupied.Release();
    rowStarts.Release();

    // The survivors, costliest first (equal costs by increasing key), take
    // the palette indices 0 .. target - 1.
    size_t survivors = 0;
    for (size_t i = 0; i < n && survivors < 256; ++i)
        if (!nodes[i].Merged()) e.survivors[survivors++] = uint32_t(i);
    std::sort(e.survivors, e.survivors + survivors, [&](uint32_t a, uint32_t b) {
        const uint64_t ca = MergeCost(nodes[a]), cb = MergeCost(nodes[b]);
        return ca != cb ? ca > cb : a < b;
    });
    uint32_t survivorKeys[256];
    for (size_t i = 0; i < survivors; ++i) {
        e.positions[e.survivors[i]] = uint8_t(i);
        survivorKeys[i] = keys[e.survivors[i]];
    }
    e.target = int32_t(survivors);

    // Every merged colour takes the index of its nearest survivor.
    try {
        SurvivorCandidates nearest(survivorKeys, survivors, e.gridBits);
        for (size_t i = 0; i < n; ++i) {
            if (!nodes[i].Merged()) continue;
            const int s = nearest.Nearest(keys[i]);
            e.positions[i] = s >= 0 ? uint8_t(s) : 0;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace reduce
