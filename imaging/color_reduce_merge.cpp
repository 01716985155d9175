// The colour-reduction engine's merge: a grid of colour cells bounds the
// nearest-colour search; the cheapest colour is merged into its nearest
// neighbour until the target count remains. The cost order is a binary heap
// (cheapest first; equal costs by decreasing key), so each merge costs
// O(log n).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "imaging/color_reduce_state.h"

namespace reduce {

namespace {

constexpr uint32_t kNoDistance = UINT32_MAX;
constexpr uint64_t kNoCost = UINT64_MAX;

uint64_t MergeCost(uint32_t distance, uint64_t weight) {
    if (distance == kNoDistance) return kNoCost;
    if (uint64_t(distance) * 4 >= 256) return weight * distance / 4;
    return uint64_t(std::sqrt(4.0 * double(distance)) * double(weight));
}

// Grid resolution for a node count.
int GridBitsFor(size_t nodes) { return nodes <= 2048 ? 6 : nodes <= 8192 ? 7 : 8; }

// An inclusive box of cells along green, red and blue; empty when lo > hi.
struct CellBox {
    int lo[3] = {1, 1, 1};
    int hi[3] = {0, 0, 0};
    bool Contains(int g, int r, int b) const {
        return g >= lo[0] && g <= hi[0] && r >= lo[1] && r <= hi[1] && b >= lo[2] && b <= hi[2];
    }
    bool operator==(const CellBox&) const = default;
};

// Bits lo .. hi (inclusive, 0 .. 63) of a row's word of occupied cells.
inline uint64_t CellRange(int lo, int hi) { return (~uint64_t(0) >> (63 - hi)) & (~uint64_t(0) << lo); }

// What the grid is kept in: each cell's list of the live nodes whose colour
// falls in it, as slots in increasing key order (slot i + 1 is node i, slot 0
// ends a list); one word per row of cells along blue, a bit set for each cell
// that holds a node, so that a search passes over empty cells a row at a
// time; and the nodes' keys and list links, in arrays of their own that stay
// in cache while the search runs.
struct GridStore {
    uint32_t* cells;
    uint64_t* occupied;
    const uint32_t* keys;
    uint32_t* next;
    uint64_t* live;  // 2^24 bits: colour k is a live node
};

// Bits lo .. lo + 63 (lo may be below 0) of a row of 256 bits; 0 outside it.
inline uint64_t RowBits(const uint64_t* row, int lo) {
    const int word = lo >> 6, shift = lo & 63;
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

class Grid {
public:
    Grid(EngineState& e, const GridStore& store)
        : e_(&e), cells_(store.cells), occupied_(store.occupied), keys_(store.keys), next_(store.next),
          live_(store.live), bits_(e.gridBits) {
        dims_[0] = 1 << bits_;
        dims_[1] = 1 << (bits_ - 1);
        dims_[2] = 1 << (bits_ - 2);
        shift_[0] = 8 - bits_;
        shift_[1] = 9 - bits_;
        shift_[2] = 10 - bits_;
        // Every colour within `nearReach_` of a colour lies in the cells next
        // to its own (at most one cell away along each axis): a green cell
        // is w wide, a red cell 2w and a blue cell 4w.
        const int w = 1 << shift_[0];
        nearReach_ = uint32_t(std::min({16 * (w + 1) * (w + 1), 4 * (2 * w + 1) * (2 * w + 1),
                                        (4 * w + 1) * (4 * w + 1)}) - 1);
        rowCount_ = 0;
        for (int g = -w; g <= w; ++g)
            for (int r = -2 * w; r <= 2 * w; ++r)
                if (uint32_t d = uint32_t(16 * g * g + 4 * r * r); d <= nearReach_)
                    rows_[rowCount_++] = RowOffset{int8_t(g), int8_t(r), uint16_t(d)};
        std::sort(rows_, rows_ + rowCount_,
                  [](const RowOffset& a, const RowOffset& b) { return a.distance < b.distance; });
    }

    size_t CellIndex(int g, int r, int b) const {
        return (size_t(g) * size_t(dims_[1]) + size_t(r)) * size_t(dims_[2]) + size_t(b);
    }
    void CellOf(uint32_t key, int c[3]) const {
        c[0] = Green(key) >> shift_[0];
        c[1] = Red(key) >> shift_[1];
        c[2] = Blue(key) >> shift_[2];
    }
    uint32_t& Cell(uint32_t key) const {
        int c[3];
        CellOf(key, c);
        return cells_[CellIndex(c[0], c[1], c[2])];
    }
    size_t RowIndex(int g, int r) const { return size_t(g) * size_t(dims_[1]) + size_t(r); }
    size_t RowWords() const { return size_t(dims_[0]) * size_t(dims_[1]); }
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

    // Looks at every node of the cells of `box` that lie outside `inner`.
    // Planes, rows and cells that cannot hold a strictly nearer node are
    // passed over.
    void Scan(const CellBox& box, const CellBox& inner, uint32_t self, uint32_t& best,
              uint32_t& bestDistance) const {
        const uint32_t key = keys_[self];
        const int own[3] = {Green(key), Red(key), Blue(key)};
        auto gap = [&](int axis, int cell) {
            int lo = cell << shift_[axis], hi = lo + (1 << shift_[axis]) - 1;
            int d = own[axis] < lo ? lo - own[axis] : own[axis] > hi ? own[axis] - hi : 0;
            return uint32_t(d * d);
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
                const uint32_t* row = cells_ + CellIndex(g, r, 0);
                for (; cells; cells &= cells - 1) {
                    const int b = std::countr_zero(cells);
                    if (dr + gap(2, b) >= bestDistance) continue;
                    for (uint32_t s = row[b]; s; s = next_[s]) {
                        if (s == self) continue;
                        uint32_t d = ColorDistance(key, keys_[s]);
                        if (d < bestDistance) bestDistance = d, best = s;
                    }
                }
            }
        }
    }

    // The nearest live node within `nearReach_`, looked up in the live
    // colours' bits row by row around the colour: false when there is none.
    // All such nodes lie in the cells around the node's own, where the cell
    // search below looks first and keeps the first of equal distances in
    // cell order (green, red, blue), then key order; the same node is chosen
    // here.
    bool FindNearBy(uint32_t self, uint32_t& best, uint32_t& bestDistance) const {
        const uint32_t key = keys_[self];
        const int g = Green(key), r = Red(key), b = Blue(key);
        uint32_t limit = nearReach_;
        uint64_t bestRank = UINT64_MAX;
        uint32_t bestKey = 0;
        auto consider = [&](int gg, int rr, int bb, uint32_t d) {
            if (d > limit) return;
            const uint32_t k = uint32_t(bb) | uint32_t(gg) << 8 | uint32_t(rr) << 16;
            const uint64_t rank = uint64_t(d) << 45 |
                                  uint64_t(CellIndex(gg >> shift_[0], rr >> shift_[1], bb >> shift_[2])) << 24 | k;
            if (rank < bestRank) bestRank = rank, bestKey = k, limit = d;
        };
        for (int i = 0; i < rowCount_; ++i) {
            const RowOffset& o = rows_[i];
            if (o.distance > limit) break;
            const int gg = g + o.green, rr = r + o.red;
            if (gg < 0 || gg > 255 || rr < 0 || rr > 255) continue;
            // Bit 32 is the colour's own blue.
            const uint64_t bits = RowBits(live_ + (size_t(rr) << 10 | size_t(gg) << 2), b - 32);
            if (!bits) continue;
            const bool own = o.green == 0 && o.red == 0;
            if (!own && (bits >> 32 & 1)) consider(gg, rr, b, o.distance);
            if (const uint64_t below = bits & 0xFFFFFFFFu) {
                const int db = 32 - (63 - std::countl_zero(below));
                consider(gg, rr, b - db, o.distance + uint32_t(db * db));
            }
            if (const uint64_t above = bits >> 33) {
                const int db = std::countr_zero(above) + 1;
                consider(gg, rr, b + db, o.distance + uint32_t(db * db));
            }
        }
        if (bestRank == UINT64_MAX) return false;
        best = uint32_t(FindNode(bestKey) - e_->nodes.data) + 1;
        bestDistance = limit;
        return true;
    }

    // The nearest other node in the grid, its distance and the node's cost.
    void FindNearest(ColorNode* node) const {
        const uint32_t self = SlotOf(node);
        uint32_t best = 0;
        uint32_t bestDistance = kNoDistance;
        if (FindNearBy(self, best, bestDistance)) {
            SetNearest(node, best, bestDistance);
            return;
        }
        int c[3];
        CellOf(keys_[self], c);
        const CellBox whole = Whole();
        CellBox inner, cube;
        int half = 1;
        for (;; ++half) {
            cube = Cube(c, half);
            Scan(cube, inner, self, best, bestDistance);
            if (best || cube == whole) break;
            inner = cube;
        }
        if (best) {
            uint64_t reach = uint64_t(half) << shift_[0];
            if (16 * reach * reach < bestDistance) {
                int far = int(uint32_t(std::sqrt(double(bestDistance / 16))) >> shift_[0]) + 1;
                if (far > half) Scan(Cube(c, far), cube, self, best, bestDistance);
            }
        }
        SetNearest(node, best, bestDistance);
    }
    void SetNearest(ColorNode* node, uint32_t best, uint32_t bestDistance) const {
        node->nearest = best ? &e_->nodes[best - 1] : nullptr;
        node->distance = best ? bestDistance : kNoDistance;
        node->cost = MergeCost(node->distance, node->weight);
    }

    // Nodes go in in decreasing key order, so that each list is in
    // increasing key order.
    void Insert(const ColorNode* node) const {
        const uint32_t slot = SlotOf(node);
        int c[3];
        CellOf(keys_[slot], c);
        uint32_t& cell = cells_[CellIndex(c[0], c[1], c[2])];
        next_[slot] = cell;
        cell = slot;
        occupied_[RowIndex(c[0], c[1])] |= uint64_t(1) << c[2];
    }
    void Remove(const ColorNode* node) const {
        const uint32_t slot = SlotOf(node);
        int c[3];
        CellOf(keys_[slot], c);
        const uint32_t key = keys_[slot];
        live_[key >> 6] &= ~(uint64_t(1) << (key & 63));
        uint32_t& cell = cells_[CellIndex(c[0], c[1], c[2])];
        for (uint32_t* link = &cell; *link; link = &next_[*link]) {
            if (*link == slot) {
                *link = next_[slot];
                next_[slot] = 0;
                if (!cell) occupied_[RowIndex(c[0], c[1])] &= ~(uint64_t(1) << c[2]);
                return;
            }
        }
    }
    // Empties the cells of the live nodes: the whole grid is then empty.
    void Clear() const {
        for (size_t i = e_->nodeCount; i-- > 0;)
            if (!e_->nodes[i].merged) Cell(keys_[i + 1]) = 0;
        std::fill_n(occupied_, RowWords(), uint64_t(0));
    }
    size_t CellCount() const { return size_t(dims_[0]) * size_t(dims_[1]) * size_t(dims_[2]); }

private:
    uint32_t SlotOf(const ColorNode* node) const { return uint32_t(node - e_->nodes.data) + 1; }

    EngineState* e_;
    uint32_t* cells_;
    uint64_t* occupied_;
    const uint32_t* keys_;
    uint32_t* next_;
    uint64_t* live_;
    int bits_;
    int dims_[3];
    int shift_[3];
    uint32_t nearReach_ = 0;
    int rowCount_ = 0;
    RowOffset rows_[160];
};

// Fills the grid at `bits` resolution with the live nodes. The store was
// sized for the first, finest resolution and is zero-filled when allocated;
// `grid`, when given, is the grid filled until now, emptied first.
Grid BuildGrid(EngineState& e, int bits, const GridStore& store, const Grid* grid = nullptr) {
    if (grid) grid->Clear();
    e.gridBits = bits;
    Grid built(e, store);
    for (size_t i = e.nodeCount; i-- > 0;)
        if (!e.nodes[i].merged) built.Insert(&e.nodes[i]);
    return built;
}

// One place in the cost order. An entry goes stale when its node is merged
// away or its cost rises (the node is then queued again at its new cost).
struct CostEntry {
    uint64_t cost;
    uint32_t key;
    uint32_t node;
};

// Cost order: cheapest first, equal costs by decreasing key.
inline bool Before(const CostEntry& a, const CostEntry& b) {
    return a.cost != b.cost ? a.cost < b.cost : a.key > b.key;
}
constexpr auto kBefore = [](const CostEntry& a, const CostEntry& b) { return Before(a, b); };
constexpr auto kAfter = [](const CostEntry& a, const CostEntry& b) { return Before(b, a); };

// The cost order: the first order sorted once and read from the front, and
// a heap of the nodes queued again after their cost rose. A live node's
// cost only ever rises, so its entry, at a cost not above the node's own,
// comes up no later than its true place: only then is it queued again at
// its present cost, once for however many merges raised it. Each merge
// costs O(log n).
class CostOrder {
public:
    CostOrder(CostEntry* sorted, size_t count, CostEntry* heap)
        : sorted_(sorted), count_(count), heap_(heap) {
        std::sort(sorted_, sorted_ + count_, kBefore);
    }
    // The cheapest live entry, or null when none is left.
    const CostEntry* Peek(const ColorNode* nodes) {
        for (;;) {
            const CostEntry* s = next_ < count_ ? &sorted_[next_] : nullptr;
            const CostEntry* h = heapSize_ ? &heap_[0] : nullptr;
            const CostEntry* top = !h || (s && Before(*s, *h)) ? s : h;
            if (!top) return nullptr;
            const ColorNode& node = nodes[top->node];
            if (!node.merged && node.cost == top->cost) return top;
            const uint32_t index = top->node;
            Drop(top);
            if (!node.merged) Requeue(node, index);
        }
    }
    // Removes the entry Peek gave.
    void Drop(const CostEntry* top) {
        if (top == &sorted_[next_] && next_ < count_) {
            ++next_;
        } else {
            std::pop_heap(heap_, heap_ + heapSize_, kAfter);
            --heapSize_;
        }
    }
    void Requeue(const ColorNode& node, uint32_t index) {
        heap_[heapSize_++] = CostEntry{node.cost, node.key, index};
        std::push_heap(heap_, heap_ + heapSize_, kAfter);
    }

private:
    CostEntry* sorted_;
    size_t count_;
    size_t next_ = 0;
    CostEntry* heap_;
    size_t heapSize_ = 0;
};

// The nearest survivor of any colour, through the survivors that can be
// nearest to some colour of its cell: those whose least distance to the cell
// is not above the greatest distance of the best survivor. Each cell's list
// is gathered the first time a colour of it is asked for.
class SurvivorCandidates {
public:
    SurvivorCandidates(ColorNode* const* survivors, size_t count, int gridBits)
        : survivors_(survivors), count_(count) {
        shift_[0] = 8 - gridBits;
        shift_[1] = 9 - gridBits;
        shift_[2] = 10 - gridBits;
        lists_.assign(size_t(1) << (3 * gridBits - 3), List{});
    }

    ColorNode* Nearest(uint32_t key) {
        int c[3] = {Green(key) >> shift_[0], Red(key) >> shift_[1], Blue(key) >> shift_[2]};
        size_t cell = (size_t(c[0]) << (16 - shift_[1] - shift_[2])) |
                      (size_t(c[1]) << (8 - shift_[2])) | size_t(c[2]);
        List& list = lists_[cell];
        if (list.start < 0) list = Gather(c);
        ColorNode* best = nullptr;
        uint32_t bestDistance = UINT32_MAX;
        for (int32_t i = list.start; i < list.start + list.count; ++i) {
            ColorNode* s = survivors_[pool_[size_t(i)]];
            uint32_t d = ColorDistance(key, s->key);
            if (d < bestDistance) bestDistance = d, best = s;
        }
        return best;
    }

private:
    struct List {
        int32_t start = -1;
        int32_t count = 0;
    };

    List Gather(const int c[3]) {
        static constexpr int kWeights[3] = {16, 4, 1};
        uint64_t minD[256];
        uint64_t limit = UINT64_MAX;
        for (size_t i = 0; i < count_; ++i) {
            uint32_t k = survivors_[i]->key;
            int v[3] = {Green(k), Red(k), Blue(k)};
            uint64_t least = 0, most = 0;
            for (int a = 0; a < 3; ++a) {
                int lo = c[a] << shift_[a], hi = lo + (1 << shift_[a]) - 1;
                int near = v[a] < lo ? lo - v[a] : v[a] > hi ? v[a] - hi : 0;
                int far = std::max(std::abs(v[a] - lo), std::abs(v[a] - hi));
                least += uint64_t(kWeights[a] * near * near);
                most += uint64_t(kWeights[a] * far * far);
            }
            minD[i] = least;
            limit = std::min(limit, most);
        }
        List list{int32_t(pool_.size()), 0};
        for (size_t i = 0; i < count_; ++i)
            if (minD[i] <= limit) pool_.push_back(uint8_t(i)), ++list.count;
        return list;
    }

    ColorNode* const* survivors_;
    size_t count_;
    int shift_[3];
    std::vector<List> lists_;
    std::vector<uint8_t> pool_;
};

}  // namespace

bool MergeNodes() {
    EngineState& e = Engine();
    const size_t n = e.nodeCount;
    const size_t target = size_t(e.target);
    if (n == 0 || target == 0) return false;

    // Slot i + 1 is node i.
    EngineBlock<uint32_t> keys, next;
    EngineBlock<uint64_t> occupied, live;
    if (!keys.Allocate(n + 1) || !next.Allocate(n + 1) || !live.Allocate(e.usedBits.count)) return false;
    std::copy_n(e.usedBits.data, e.usedBits.count, live.data);
    for (size_t i = 0; i < n; ++i) keys[i + 1] = e.nodes[i].key;
    e.gridBits = GridBitsFor(n);
    {
        Grid sizing(e, GridStore{});
        if (!e.grid.Allocate(sizing.CellCount()) || !occupied.Allocate(sizing.RowWords())) return false;
    }
    const GridStore store{e.grid.data, occupied.data, keys.data, next.data, live.data};
    Grid grid = BuildGrid(e, e.gridBits, store);
    for (size_t i = 0; i < n; ++i) grid.FindNearest(&e.nodes[i]);

    EngineBlock<CostEntry> sorted, requeued;
    EngineBlock<uint32_t> run;
    if (!sorted.Allocate(n) || !requeued.Allocate(n) || !run.Allocate(n)) return false;
    for (size_t i = 0; i < n; ++i) sorted[i] = CostEntry{e.nodes[i].cost, e.nodes[i].key, uint32_t(i)};
    CostOrder order(sorted.data, n, requeued.data);

    size_t remaining = n;
    while (remaining > target) {
        // The run: every node of the smallest cost, but never past the
        // target; taken from the end of the order, last first.
        const CostEntry* top = order.Peek(e.nodes.data);
        if (!top) break;
        const uint64_t runCost = top->cost;
        size_t runLength = 0;
        for (; top && runLength < remaining - target && top->cost == runCost; top = order.Peek(e.nodes.data)) {
            run[runLength++] = top->node;
            order.Drop(top);
        }
        for (size_t k = 0; k < runLength; ++k) {
            ColorNode* node = &e.nodes[run[k]];
            if (!node->nearest || node->nearest->merged) grid.FindNearest(node);
            ColorNode* into = node->nearest;
            if (!into) continue;  // the only node left
            into->weight += node->weight;
            uint64_t cost = MergeCost(into->distance, into->weight);
            grid.Remove(node);
            node->merged = true;
            node->weight = 0;
            node->cost = 0;
            into->cost = cost;
            --remaining;
            if (remaining == 8192 && e.gridBits > 7) grid = BuildGrid(e, 7, store, &grid);
            else if (remaining == 2048 && e.gridBits > 6) grid = BuildGrid(e, 6, store, &grid);
        }
    }
    sorted.Release();
    requeued.Release();
    run.Release();
    keys.Release();
    next.Release();
    occupied.Release();
    live.Release();

    // The survivors in cost order take the palette indices 0 .. target - 1.
    size_t survivors = 0;
    for (size_t i = 0; i < n && survivors < 256; ++i)
        if (!e.nodes[i].merged) e.survivors[survivors++] = &e.nodes[i];
    std::sort(e.survivors, e.survivors + survivors, [](const ColorNode* a, const ColorNode* b) {
        return a->cost != b->cost ? a->cost > b->cost : a->key < b->key;
    });
    for (size_t i = 0; i < survivors; ++i) e.survivors[i]->position = int32_t(i);
    e.target = int32_t(survivors);

    // Every merged colour takes the index of its nearest survivor.
    try {
        SurvivorCandidates nearest(e.survivors, survivors, e.gridBits);
        for (size_t i = 0; i < n; ++i) {
            ColorNode* node = &e.nodes[i];
            if (!node->merged) continue;
            ColorNode* s = nearest.Nearest(node->key);
            node->position = s ? s->position : 0;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace reduce
