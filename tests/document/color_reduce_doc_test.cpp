// Colour reduction of whole documents: composite, layers and palette change
// together, and a failed reduction changes nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "doc_fixture.h"
#include "document/layer_factory.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace doctest {
namespace {

using ColorReduceDocTest = DocTest;

constexpr int kW = 10, kH = 6;

uint32_t EntryRgb(MemHandle image, int index) {
    uint8_t r = 0, g = 0, b = 0;
    GetDibPaletteEntry(image, index, &r, &g, &b, nullptr);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

uint8_t* Pixels(MemHandle block, size_t offset) { return static_cast<uint8_t*>(MemLock(block)) + offset; }

// Fills the image with `colours` entries and writes a pattern into the
// composite and each of `layers` new layers.
void Fill(CPelmarkDoc& doc, int colours, int layers) {
    for (int i = 0; i < colours; ++i)
        SetDibPaletteEntry(doc.m_hImage, i, uint8_t(i * 53), uint8_t(i * 11), uint8_t(i % 7 * 30), 0);
    for (int l = 0; l < layers; ++l) ASSERT_TRUE(document::CreateLayer(doc, l, 1));
    for (int b = 0; b <= layers; ++b) {
        MemHandle block = b == 0 ? doc.m_hImage : doc.m_hLayers[size_t(b - 1)];
        uint8_t* p = Pixels(block, b == 0 ? 1064 : LAYER_HEADER_SIZE);
        for (int i = 0; i < 12 * kH; ++i) p[i] = uint8_t((i * (b + 1) + b) % colours);
        MemUnlock(block);
    }
}

// The colour of every pixel of the composite and the layers.
std::vector<uint32_t> Shown(CPelmarkDoc& doc) {
    std::vector<uint32_t> out;
    for (int b = 0; b <= doc.m_nLayerCount; ++b) {
        MemHandle block = b == 0 ? doc.m_hImage : doc.m_hLayers[size_t(b - 1)];
        const uint8_t* p = Pixels(block, b == 0 ? 1064 : LAYER_HEADER_SIZE);
        std::vector<uint8_t> row(p, p + 12 * kH);
        MemUnlock(block);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) out.push_back(EntryRgb(doc.m_hImage, row[size_t(y * 12 + x)]));
    }
    return out;
}

std::vector<uint8_t> Bytes(MemHandle block) {
    MemLockGuard l(block);
    return {l.get(), l.get() + l.size()};
}

TEST_F(ColorReduceDocTest, SixteenColoursReduceTheCompositeAndEveryLayerTogether) {
    auto doc = DocumentWithImage(kW, kH);
    Fill(*doc, 40, 2);
    std::vector<uint32_t> before = Shown(*doc);
    doc->m_nUndoIndex = 1;
    doc->m_nRedoLimit = 2;
    doc->SetModifiedFlag(false);

    ASSERT_TRUE(doc->ReduceTo16Colors());
    EXPECT_TRUE(IsSixteenColorDib(doc->m_hImage));
    EXPECT_EQ(doc->m_wPaletteLock, 0xFFFE);
    EXPECT_EQ(doc->m_nColorMode, 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    EXPECT_EQ(doc->m_nRedoLimit, -1);
    std::vector<uint32_t> after = Shown(*doc);
    std::map<uint32_t, uint32_t> mapping;
    for (size_t k = 0; k < before.size(); ++k) {
        auto [it, fresh] = mapping.emplace(before[k], after[k]);
        ASSERT_EQ(it->second, after[k]) << "pixel " << k << " shows another colour than its twins";
    }
    std::set<uint32_t> reduced;
    for (auto& [from, to] : mapping) reduced.insert(to);
    EXPECT_LE(reduced.size(), 16u);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(ColorReduceDocTest, FailedSixteenColourReductionKeepsDocumentAndHistory) {
    auto doc = DocumentWithImage(kW, kH);
    Fill(*doc, 40, 2);
    doc->m_nUndoIndex = 1;
    doc->m_nRedoLimit = 2;
    doc->SetModifiedFlag(false);
    std::vector<uint8_t> image = Bytes(doc->m_hImage), layer = Bytes(doc->m_hLayers[1]);
    MemSetLimit(MemBytesInUse() + 1000);
    EXPECT_FALSE(doc->ReduceTo16Colors());
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(Bytes(doc->m_hImage), image);
    EXPECT_EQ(Bytes(doc->m_hLayers[1]), layer);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_EQ(doc->m_nRedoLimit, 2);
    EXPECT_EQ(doc->m_nColorMode, 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"内存不足。"});
}

TEST_F(ColorReduceDocTest, SixteenColourDocumentStaysAsItIs) {
    auto doc = DocumentWithImage(kW, kH);
    Fill(*doc, 16, 1);
    doc->m_nUndoIndex = 1;
    std::vector<uint8_t> image = Bytes(doc->m_hImage);
    ASSERT_TRUE(doc->ReduceTo16Colors());
    EXPECT_EQ(Bytes(doc->m_hImage), image);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
}

TEST_F(ColorReduceDocTest, AllLayersAndGreyLevels) {
    auto doc = DocumentWithImage(kW, kH);
    Fill(*doc, 40, 2);
    ASSERT_TRUE(doc->ReduceAllLayersColors(20, 8, 1));
    EXPECT_EQ(EntryRgb(doc->m_hImage, 7), 0x808080u);
    EXPECT_EQ(EntryRgb(doc->m_hImage, 255), 0xFFFFFFu);

    SetDibPaletteEntry(doc->m_hImage, 1, 128, 128, 128, 0);
    SetDibPaletteEntry(doc->m_hImage, 2, 130, 130, 130, 0);
    for (int l = 0; l < 2; ++l) {
        uint8_t* p = Pixels(doc->m_hLayers[size_t(l)], LAYER_HEADER_SIZE);
        p[0] = 1;
        p[1] = 2;
        MemUnlock(doc->m_hLayers[size_t(l)]);
    }
    ASSERT_TRUE(doc->ConvertLayersToGrey(0, 8, 1));
    for (int l = 0; l < 2; ++l) {
        const uint8_t* p = Pixels(doc->m_hLayers[size_t(l)], LAYER_HEADER_SIZE);
        EXPECT_EQ(p[0], 0) << "(128, 128, 128) is not above 128";
        EXPECT_EQ(p[1], 1);
        MemUnlock(doc->m_hLayers[size_t(l)]);
    }
    EXPECT_EQ(EntryRgb(doc->m_hImage, 0), 0u);
    EXPECT_EQ(EntryRgb(doc->m_hImage, 1), 0xFFFFFFu);
}

}  // namespace
}  // namespace doctest
