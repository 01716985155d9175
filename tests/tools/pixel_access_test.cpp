// A drawing operation on a real document: what Begin takes from the
// document, writes into the current layer and the composite, the repaint
// sink, and that End leaves nothing locked.
#include <gtest/gtest.h>

#include <memory>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "imaging/dib.h"
#include "tools/draw_ops.h"
#include "tools/pixel_access.h"

namespace {

using namespace tools;

// A document with an 8-bit image and `layers` layers (layer 0 normal, the
// others with index 0 clear), without the program around it.
std::unique_ptr<CPelmarkDoc> MakeDoc(int width, int height, int layers) {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(width, height, 0);
    doc->m_nWidth = width;
    doc->m_nHeight = height;
    for (int i = 0; i < layers; ++i) {
        document::LayerOptions options;
        options.drawMode = i == 0 ? LAYER_DRAW_NORMAL : LAYER_DRAW_INDEX0_CLEAR;
        EXPECT_TRUE(document::CreateLayer(*doc, i, 1, options));
    }
    return doc;
}

uint8_t Pixel(MemHandle block, size_t offset, int width, int height, int x, int y) {
    MemLockGuard lock(block);
    return lock.get()[offset + size_t(height - 1 - y) * ((size_t(width) + 3) & ~size_t(3)) + size_t(x)];
}
uint8_t CompositeAt(const CPelmarkDoc& d, int x, int y) {
    return Pixel(d.m_hImage, 1064, d.m_nWidth, d.m_nHeight, x, y);
}
uint8_t LayerAt(const CPelmarkDoc& d, int layer, int x, int y) {
    return Pixel(d.m_hLayers[size_t(layer)], LAYER_HEADER_SIZE, d.m_nWidth, d.m_nHeight, x, y);
}
bool Unlocked(MemHandle h) {
    MemLock(h);
    return MemUnlock(h) == 0;
}

class Sink : public RepaintSink {
public:
    void RepaintImageRect(const DibRect& r, bool) override { rects.push_back(r); }
    std::vector<DibRect> rects;
};

TEST(PixelAccessTest, BeginTakesPenColoursAndToneFromTheDocument) {
    auto doc = MakeDoc(10, 6, 1);
    doc->m_nPenId = 603;
    doc->m_nColor = 12;
    doc->m_nColor2 = 4;
    doc->m_bTone = 1;
    doc->m_nColorMode = 1;
    PixelAccess access;
    ASSERT_TRUE(access.Begin(doc.get(), 0, nullptr));
    const DrawTarget& t = access.target();
    EXPECT_EQ(t.penId, 603);
    EXPECT_EQ(t.color, 12);
    EXPECT_EQ(t.color2, 4);
    EXPECT_TRUE(t.directWrite);
    EXPECT_EQ(t.paletteEntries, 16);
    EXPECT_EQ(t.stack.width, 10);
    EXPECT_EQ(t.stack.stride, 12u);
    EXPECT_EQ(t.stack.layers.size(), 1u);
    ASSERT_TRUE(access.Begin(doc.get(), 4, nullptr));  // a second Begin starts afresh
    EXPECT_FALSE(access.target().directWrite);
    EXPECT_EQ(access.target().color2, 0);
    access.End();
    EXPECT_TRUE(Unlocked(doc->m_hImage));
    EXPECT_TRUE(Unlocked(doc->m_hLayers[0]));
}

TEST(PixelAccessTest, NothingToDrawOnGivesNoOperation) {
    PixelAccess access;
    EXPECT_FALSE(access.Begin(nullptr, 0, nullptr));
    CPelmarkDoc empty;
    EXPECT_FALSE(access.Begin(&empty, 0, nullptr));
    FillSpan(access.target(), 0, 0, 5);  // a write without an operation does nothing
    auto doc = MakeDoc(4, 4, 0);
    MemFree(doc->m_hImage);
    doc->m_hImage = CreateDib8(4, 4, 3);  // not an 8-bit picture
    EXPECT_FALSE(access.Begin(doc.get(), 0, nullptr));
    EXPECT_FALSE(access.active());
}

TEST(PixelAccessTest, StrokesWriteTheCurrentLayerAndRecomposeTheComposite) {
    auto doc = MakeDoc(32, 32, 3);
    doc->m_nEditLayer = 1;
    doc->m_nPenId = 601;
    doc->m_nColor = 7;
    Sink sink;
    PixelAccess access;
    ASSERT_TRUE(access.Begin(doc.get(), 0, &sink));
    PenStamp stamp = ChooseStamp({kToolPen, doc->m_nPenId});
    StampPenLine(access.target(), stamp, 4, 4, 10, 4, true);
    access.End();
    EXPECT_EQ(LayerAt(*doc, 1, 4, 3), 7);
    EXPECT_EQ(LayerAt(*doc, 1, 10, 5), 7);
    EXPECT_EQ(LayerAt(*doc, 0, 4, 4), 0);
    EXPECT_EQ(LayerAt(*doc, 2, 4, 4), 0);
    EXPECT_EQ(CompositeAt(*doc, 7, 4), 7);
    EXPECT_EQ(CompositeAt(*doc, 4, 6), 0);
    EXPECT_EQ(sink.rects.size(), 7u);
    EXPECT_TRUE(Unlocked(doc->m_hImage));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Unlocked(doc->m_hLayers[size_t(i)]));
}

TEST(PixelAccessTest, TheLayerTableEndsAtItsFirstMissingBlock) {
    auto doc = MakeDoc(8, 8, 3);
    MemFree(doc->m_hLayers[1]);
    doc->m_hLayers[1] = nullptr;
    doc->m_nEditLayer = 2;
    doc->m_nColor = 5;
    PixelAccess access;
    ASSERT_TRUE(access.Begin(doc.get(), 0, nullptr));
    EXPECT_EQ(access.target().stack.layers.size(), 1u);
    FillSpan(access.target(), 0, 0, 8);  // layer 2 is past the gap: nothing happens
    access.End();
    EXPECT_EQ(LayerAt(*doc, 2, 0, 0), 0);
    EXPECT_EQ(CompositeAt(*doc, 0, 0), 0);
}

TEST(PixelAccessTest, RecomposeDocumentRebuildsFromTheLayers) {
    auto doc = MakeDoc(8, 8, 2);
    {
        MemLockGuard lock(doc->m_hLayers[1]);
        lock.get()[LAYER_HEADER_SIZE + 3] = 9;  // bottom row, x 3
    }
    {
        MemLockGuard lock(doc->m_hImage);
        lock.get()[1064 + 5] = 66;  // stale
    }
    EXPECT_TRUE(RecomposeDocument(*doc));
    EXPECT_EQ(CompositeAt(*doc, 3, 7), 9);
    EXPECT_EQ(CompositeAt(*doc, 5, 7), 0);
    CPelmarkDoc empty;
    EXPECT_FALSE(RecomposeDocument(empty));
}

}  // namespace
