#include "document/unused_colors.h"

#include "document/pelmark_doc.h"
#include "document/undo_actions.h"
#include "document/used_colors.h"
#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"

namespace document {

namespace {

bool sameEntry(const RgbaEntry& a, const RgbaEntry& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

std::array<RgbaEntry, 256> TableOf(const CPelmarkDoc& doc) {
    std::array<RgbaEntry, 256> table{};
    for (int i = 0; i < 256; ++i) {
        RgbaEntry& e = table[size_t(i)];
        GetDibPaletteEntry(doc.m_hImage, i, &e.red, &e.green, &e.blue, &e.alpha);
    }
    return table;
}

}  // namespace

UnusedColorPlan PlanUnusedColorRemoval(const std::array<RgbaEntry, 256>& table,
                                       const ColorFlagTable& used, uint16_t lockedRows,
                                       const ColorFlagTable* keep) {
    // Where each entry's pixels go before the closing up: a used entry to the
    // first used entry equal to it.
    std::array<int, 256> target{};
    std::array<bool, 256> stays{};
    for (int i = 0; i < 256; ++i) {
        target[size_t(i)] = i;
        const bool locked = (lockedRows >> (i / 16)) & 1;
        bool firstOfItsColour = used[size_t(i)] != 0;
        if (firstOfItsColour)
            for (int j = 0; j < i; ++j)
                if (used[size_t(j)] && sameEntry(table[size_t(j)], table[size_t(i)])) {
                    firstOfItsColour = false;
                    if (!locked) target[size_t(i)] = j;
                    break;
                }
        stays[size_t(i)] = locked || firstOfItsColour;
        if (keep && (*keep)[size_t(i)]) {
            stays[size_t(i)] = true;
            target[size_t(i)] = i;
        }
    }
    UnusedColorPlan plan;
    for (size_t i = 0; i < 256; ++i) plan.stays[i] = stays[i] ? 1 : 0;
    std::array<int, 256> position{};
    int next = 0;
    for (int i = 0; i < 256; ++i) {
        if (!stays[size_t(i)]) continue;
        position[size_t(i)] = next;
        plan.table[size_t(next++)] = table[size_t(i)];
    }
    plan.removed = 256 - next;
    for (int i = 0; i < 256; ++i) plan.map[size_t(i)] = uint8_t(position[size_t(target[size_t(i)])]);
    return plan;
}

ColorFlagTable OfferedUnusedColors(const CPelmarkDoc& doc) {
    ColorFlagTable offered{};
    if (!doc.m_hImage) return offered;
    const UnusedColorPlan plan = PlanUnusedColorRemoval(TableOf(doc), ScanLayerColors(doc).flags, doc.m_wPaletteLock);
    for (size_t i = 0; i < 256; ++i) offered[i] = plan.stays[i] ? 0 : 1;
    return offered;
}

bool RemoveUnusedColors(CPelmarkDoc& doc, const ColorFlagTable* keep) {
    if (!doc.m_hImage || doc.m_nWidth <= 0 || doc.m_nHeight <= 0) return false;
    const std::array<RgbaEntry, 256> table = TableOf(doc);
    const std::array<uint8_t, 256> used = ScanLayerColors(doc).flags;
    const UnusedColorPlan plan = PlanUnusedColorRemoval(table, used, doc.m_wPaletteLock, keep);
    // Only empty entries closing up behind each other change nothing.
    bool changes = false;
    for (int i = 0; i < 256 && !changes; ++i)
        changes = !sameEntry(plan.table[size_t(i)], table[size_t(i)]) || (used[size_t(i)] && plan.map[size_t(i)] != i);
    if (!changes) return false;
    if (!doc.PushUndo(kRecolorAction, QStringLiteral("消除未使用色"), true)) return false;
    doc.SetModified(true);
    const size_t n = dib::LayerRowBytes(doc.m_nWidth) * size_t(doc.m_nHeight);
    for (MemHandle layer : doc.m_hLayers) {
        MemLockGuard lock(layer);
        if (!lock || lock.size() < LAYER_HEADER_SIZE + n) continue;
        uint8_t* p = lock.get() + LAYER_HEADER_SIZE;
        for (size_t i = 0; i < n; ++i) p[i] = plan.map[p[i]];
    }
    for (int i = 0; i < 256; ++i) {
        const RgbaEntry& e = plan.table[size_t(i)];
        SetDibPaletteEntry(doc.m_hImage, i, e.red, e.green, e.blue, e.alpha);
    }
    doc.InitDib();
    doc.NoteContentChange();
    return true;
}

}  // namespace document
