// The layer factory and the first layer of a document.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "doc_fixture.h"
#include "document/layer_factory.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace doctest {
namespace {

using LayerFactoryTest = DocTest;

TEST_F(LayerFactoryTest, DefaultsFillTheHeader) {
    CPelmarkDoc doc;
    doc.m_nWidth = 5;
    doc.m_nHeight = 3;
    ASSERT_TRUE(document::CreateLayer(doc, 0, 1));
    ASSERT_TRUE(document::CreateLayer(doc, 7, 0));
    EXPECT_EQ(doc.m_nLayerCount, 2);

    struct Expect { int slot; int visible; const char* name; };
    for (Expect e : {Expect{0, 1, "层 000"}, Expect{7, 0, "层 007"}}) {
        SCOPED_TRACE(e.slot);
        MemHandle layer = doc.m_hLayers[size_t(e.slot)];
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(MemSize(layer), 88u + 8 * 3);
        MemLockGuard lock(layer);
        const auto* h = lock.as<LayerHeader>();
        EXPECT_EQ(h->number, e.slot);
        EXPECT_EQ(h->visible, e.visible);
        EXPECT_EQ(h->drawMode, LAYER_DRAW_INDEX0_CLEAR);
        for (uint8_t b : h->reserved) EXPECT_EQ(b, 0);
        EXPECT_STREQ(h->name, e.name);
        EXPECT_EQ(h->left, 0);
        EXPECT_EQ(h->top, 0);
        EXPECT_EQ(h->right, 5);
        EXPECT_EQ(h->bottom, 3);
        for (size_t i = 88; i < MemSize(layer); ++i) ASSERT_EQ(lock.get()[i], 0);
    }
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(LayerFactoryTest, OptionsChooseModeAndName) {
    CPelmarkDoc doc;
    document::LayerOptions options;
    options.drawMode = LAYER_DRAW_NORMAL;
    options.name = "线稿";
    ASSERT_TRUE(document::CreateLayer(doc, 1, 1, options));
    MemLockGuard lock(doc.m_hLayers[1]);
    EXPECT_EQ(lock.as<LayerHeader>()->drawMode, LAYER_DRAW_NORMAL);
    EXPECT_STREQ(lock.as<LayerHeader>()->name, "线稿");
}

TEST_F(LayerFactoryTest, LongNamesAreCutBetweenCharacters) {
    struct Case { QString name; std::string expected; };
    std::string han = "层";  // three bytes
    std::string twentyOne, twenty;
    for (int i = 0; i < 21; ++i) twentyOne += han;
    for (int i = 0; i < 20; ++i) twenty += han;
    const Case cases[] = {
        {QString::fromStdString(twentyOne + han), twentyOne},        // 66 bytes -> 63
        {QString::fromStdString("a" + twentyOne), "a" + twenty},      // 64 bytes -> 61
        {QString(70, QChar('x')), std::string(63, 'x')},
    };
    for (const Case& c : cases) {
        LayerHeader header;
        std::memset(&header, 0x7F, sizeof header);
        document::SetLayerName(header, c.name);
        EXPECT_EQ(std::string(header.name), c.expected);
        for (size_t i = c.expected.size(); i < sizeof header.name; ++i) ASSERT_EQ(header.name[i], 0);
    }
}

TEST_F(LayerFactoryTest, FromTheDialogTheFirstLayerHoldsThePicture) {
    auto doc = DocumentWithImage(6, 2);
    {
        dib::LockedDib image(doc->m_hImage);
        uint8_t* bottom = image.Row(0, 8);
        uint8_t* top = image.Row(1, 8);
        for (int x = 0; x < 6; ++x) {
            bottom[x] = uint8_t(10 + x);
            top[x] = uint8_t(20 + x);
        }
    }
    document::LayerOptions fromDialog;
    fromDialog.fromDialog = true;
    fromDialog.drawMode = LAYER_DRAW_NORMAL;
    ASSERT_TRUE(document::CreateLayer(*doc, 0, 0, fromDialog));
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 0, fromDialog));
    MemLockGuard first(doc->m_hLayers[0]);
    EXPECT_EQ(first.as<LayerHeader>()->visible, 1);
    const uint8_t* pixels = first.get() + 88;
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(pixels[x], 10 + x);
        EXPECT_EQ(pixels[8 + x], 20 + x);
    }
    MemLockGuard second(doc->m_hLayers[1]);  // a later layer starts empty
    EXPECT_EQ(second.as<LayerHeader>()->visible, 0);
    for (size_t i = 88; i < second.size(); ++i) ASSERT_EQ(second.get()[i], 0);
}

TEST_F(LayerFactoryTest, BadSlotsAreRefused) {
    CPelmarkDoc doc;
    ASSERT_TRUE(document::CreateLayer(doc, 0, 1));
    MemHandle first = doc.m_hLayers[0];
    size_t blocks = MemBlockCount();
    EXPECT_FALSE(document::CreateLayer(doc, 0, 1));
    EXPECT_FALSE(document::CreateLayer(doc, -1, 1));
    EXPECT_FALSE(document::CreateLayer(doc, 100, 1));
    EXPECT_EQ(doc.m_hLayers[0], first);
    EXPECT_EQ(doc.m_nLayerCount, 1);
    EXPECT_EQ(MemBlockCount(), blocks);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(LayerFactoryTest, AllocationFailureShowsTheWorkMemoryMessage) {
    CPelmarkDoc doc;
    doc.m_nWidth = 64;
    doc.m_nHeight = 64;
    MemSetLimit(MemBytesInUse());
    EXPECT_FALSE(document::CreateLayer(doc, 0, 1));
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(doc.m_hLayers[0], nullptr);
    EXPECT_EQ(doc.m_nLayerCount, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "工作内存不足");
    EXPECT_EQ(boxes.Requests()[0].owner, frame->WindowHandle());
}

TEST_F(LayerFactoryTest, FirstLayerOfAPastedImage) {
    auto doc = DocumentWithImage(7, 3);
    ASSERT_TRUE(doc->CreateFirstLayer());
    EXPECT_EQ(doc->m_nLayerCount, 1);
    MemLockGuard lock(doc->m_hLayers[0]);
    EXPECT_EQ(lock.as<LayerHeader>()->visible, 1);
    EXPECT_EQ(lock.as<LayerHeader>()->drawMode, LAYER_DRAW_INDEX0_CLEAR);
    EXPECT_STREQ(lock.as<LayerHeader>()->name, "层 000");
    EXPECT_EQ(lock.as<LayerHeader>()->right, 7);
    EXPECT_EQ(lock.as<LayerHeader>()->bottom, 3);
}

}  // namespace
}  // namespace doctest
