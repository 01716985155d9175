// The region of a fill: the 4-connected pixels of the seed's index that
// are selected and inside the rectangle, reached from the seed through such
// pixels only.
#include "imaging/index_region.h"
#include "plugins/floodkit/fill_context.h"

bool FillContext::FloodFill() {
    m_bFilled = false;
    if (!m_pLayer || !m_pWork || !m_pMask) return false;
    const uint8_t seedIndex = m_pLayer->Row(m_nHeight - 1 - m_nSeedY)[m_nSeedX];
    if (!Selected(m_nSeedX, m_nSeedY)) {  // the seed itself stays unfilled
        m_pWork->Clear();
        return true;
    }
    const dib::IndexRows layer{m_pLayer->Data(), size_t(m_pLayer->GetRowInfo(true)), m_nWidth, m_nHeight, true};
    dib::RegionLimits limits{m_rcFill};
    if (m_bMaskInUse) {
        limits.allowed = m_pMask->Data();
        limits.allowedStride = size_t(m_pMask->GetRowInfo(true));
    }
    if (!dib::GrowIndexRegion(layer, m_nSeedX, m_nSeedY, limits,
                              {m_pWork->Data(), size_t(m_pWork->GetRowInfo(true))}))
        return false;
    m_bFilled = true;
    if (m_bMaskInUse) MarkUnselectedNeighbours(seedIndex);
    return true;
}

void FillContext::MarkUnselectedNeighbours(uint8_t seedIndex) {
    const int left = m_rcFill.left, right = m_rcFill.right;
    const int top = m_rcFill.top, bottom = m_rcFill.bottom;
    auto mark = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom || Selected(x, y)) return;
        if (m_pLayer->Row(m_nHeight - 1 - y)[x] != seedIndex) return;
        uint8_t* work = m_pWork->Row(y);
        work[x >> 3] = uint8_t(work[x >> 3] | (0x80 >> (x & 7)));
    };
    // The region's pixels are the selected ones of the work plane; the
    // marks set here are unselected, so they never pass for region pixels.
    for (int y = top; y < bottom; ++y) {
        const uint8_t* work = m_pWork->Row(y);
        for (int x = left; x < right; ++x) {
            if (!work[x >> 3]) {
                x |= 7;  // the rest of an empty byte
                continue;
            }
            if (!((work[x >> 3] >> (7 - (x & 7))) & 1) || !Selected(x, y)) continue;
            mark(x + 1, y);
            mark(x - 1, y);
            mark(x, y + 1);
            mark(x, y - 1);
        }
    }
}
