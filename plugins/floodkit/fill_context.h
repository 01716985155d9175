// The fill of one click: the region of the current layer that has the
// clicked pixel's index, limited by the selection and the tool rectangle,
// painted with the current colour or a pattern tiled from the click,
// thinned by a 4 x 4 tone pattern and, with an edge width, blended toward
// the fill colour near the region's edge.
//
// All points are image pixels, y from the top. The layer plane is the
// current layer's rows as they lie (bottom-up): image row y is plane row
// height - 1 - y. The mask, work and weight planes are top-down.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/floodkit/bit_plane.h"
#include "plugins/kit/kit_dib.h"

class PaletteSearch;

// The 16-bit tone masks by density 15 - tone level (0 to 15).
uint16_t ToneMaskOf(int density);

class FillContext {
public:
    // Reads the record and the info: nothing is locked or allocated yet.
    FillContext(const PluginToolRecord* record, const PluginToolInfo* info);
    ~FillContext();
    FillContext(const FillContext&) = delete;
    FillContext& operator=(const FillContext&) = delete;

    // Locks the blocks and makes the planes. False, holding nothing, when
    // the image, the current layer or a plane (including an own plane that
    // cannot be allocated) is missing, or the seed lies outside the
    // rectangle.
    bool Prepare();
    // The region into the work plane; false when its memory cannot be had
    // (the work plane is then cleared).
    bool FloodFill();
    // Whether the region holds no pixel PaintRegion may write (the seed is
    // not selected, or FloodFill failed).
    bool RegionEmpty() const { return !m_bFilled; }
    // The edge weights of the region (edge width > 0); false when their
    // memory cannot be had.
    bool SoftenEdges();
    // Writes the region into the current layer; false, with nothing
    // written, when the softened paint cannot get its colour search.
    bool PaintRegion();
    // Whether PaintRegion changed a pixel of the layer.
    bool Painted() const { return m_bPainted; }

    // NearestPaletteIndex over the image's colour table.
    int NearestIndex(int red, int green, int blue) const;

    // The parts, for the tests' probes.
    const BitPlane* WorkPlane() const { return m_pWork.get(); }
    const BitPlane* WeightPlane() const { return m_pWeights.get(); }
    bool MaskInUse() const { return m_bMaskInUse; }
    const DibRect& Rect() const { return m_rcFill; }
    int EdgeWidth() const { return m_nEdgeWidth; }

private:
    bool Selected(int x, int y) const;
    bool Filled(int x, int y) const { return (m_pWork->Row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
    // Seed-index pixels next to the region but outside the selection get
    // their work bit too (they count as filled for the edge weights).
    void MarkUnselectedNeighbours(uint8_t seedIndex);
    void ReleaseAll();

    const PluginToolRecord* m_pRecord;
    const PluginToolInfo* m_pInfo;
    std::unique_ptr<PaletteDibInfo> m_pImage;
    std::unique_ptr<BitPlane> m_pMask;
    bool m_bMaskInUse = false;
    bool m_bFilled = false;
    bool m_bPainted = false;
    std::unique_ptr<BitPlane> m_pWork;
    std::unique_ptr<BitPlane> m_pPattern;
    std::unique_ptr<BitPlane> m_pLayer;
    std::unique_ptr<BitPlane> m_pWeights;
    int m_nFillColor = 0;
    uint16_t m_wToneMask = 0xffff;
    int m_nEdgeWidth = 0;
    DibRect m_rcFill{};  // clipped to the image, never empty after Prepare
    int m_nSeedX = 0;
    int m_nSeedY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    // The blocks locked by Prepare.
    MemHandle m_hLockedImage = nullptr;
    MemHandle m_hLockedMask = nullptr;
    MemHandle m_hLockedLayer = nullptr;
    MemHandle m_hLockedPattern = nullptr;
};
