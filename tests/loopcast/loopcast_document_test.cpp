// GIF files opened and saved by the editor's document through Loopcast.FLT,
// placed in the program directory as the program ships it.
#include <QFile>

#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "gif_peer.h"
#include "host_fixture.h"
#include "platform/memory.h"
#include "test_support.h"

namespace {

class LoopcastDocument : public hosttest::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_TRUE(QFile::link(QStringLiteral(LOOPCAST_PATH), ProgramDir() + "Loopcast.FLT"));
    }
    QString CopyTestFile(const char* name) {
        QString to = FilePath(QString::fromUtf8(name).section('/', -1));
        EXPECT_TRUE(QFile::copy(QString::fromStdString(kvtest::TestDataPath(std::string("gif/") + name)), to));
        return to;
    }
    static std::vector<uint8_t> Layer(const CPelmarkDoc& doc, int i, int width, int height) {
        MemLockGuard lock(doc.m_hLayers[size_t(i)]);
        std::vector<uint8_t> out;
        const int stride = (width + 3) & ~3;
        for (int y = height - 1; y >= 0; --y) {
            const uint8_t* row = lock.get() + LAYER_HEADER_SIZE + size_t(y) * stride;
            out.insert(out.end(), row, row + width);
        }
        return out;
    }
};

TEST_F(LoopcastDocument, OpensAnAnimatedGifAsOneLayerPerFrame) {
    CPelmarkDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CopyTestFile("pillow/chi.gif")));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(doc.m_nLayerCount, 31);
    // The first frame covers the screen: its layer is giflib's first frame.
    auto peer = gifpeer::PeerDecode(gifpeer::ReadBytes(kvtest::TestDataPath("gif/pillow/chi.gif")));
    ASSERT_TRUE(peer);
    ASSERT_EQ(peer->frames[0].width, 320);
    EXPECT_TRUE(Layer(doc, 0, 320, 240) == peer->frames[0].indices);
}

TEST_F(LoopcastDocument, SavedLayersOpenAgainUnchanged) {
    auto doc = DocumentWithImage(6, 4, 2);
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 1));
    {
        MemLockGuard lock(doc->m_hLayers[1]);
        for (int i = 0; i < 8; ++i) lock.get()[LAYER_HEADER_SIZE + size_t(i) * 3] = uint8_t(5 + i);
    }
    QString path = FilePath("two.gif");
    {
        framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
        doc->SetModifiedFlag(true);
        ASSERT_TRUE(doc->OnSaveDocument(path));
    }
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_FALSE(doc->IsModified());
    CPelmarkDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    ASSERT_EQ(reopened.m_nLayerCount, 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Layer(reopened, i, 6, 4), Layer(*doc, i, 6, 4)) << i;
}

TEST_F(LoopcastDocument, ACancelledSaveShowsNothingAndKeepsTheModifiedFlag) {
    auto doc = DocumentWithImage(6, 4, 2);
    doc->SetModifiedFlag(true);
    framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDCANCEL); });
    EXPECT_FALSE(doc->OnSaveDocument(FilePath("cancelled.gif")));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(FilesHere().isEmpty());
}

TEST_F(LoopcastDocument, AnAnimationLargerThanTheMaximumLeavesNoBlockBehind) {
    // A wide screen with small frames: every frame becomes a layer of the
    // screen's size before the size is refused.
    MaxImageSize max = GetMaxImageSize();
    gifpeer::Picture picture;
    picture.width = max.width + 1;
    picture.height = 3;
    picture.palette = {0x000000, 0xffffff};
    for (int i = 0; i < 4; ++i) picture.frames.push_back({i, 1, 1, 1, false, {}, {uint8_t(i & 1)}});
    std::vector<uint8_t> bytes = gifpeer::PeerEncode(picture);
    QString path = FilePath("wide.gif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    file.close();

    size_t before = MemBlockCount();
    auto doc = std::make_unique<CPelmarkDoc>();
    EXPECT_FALSE(doc->OnOpenDocument(path));
    std::string sizeText =
        "画面尺寸 " + std::to_string(max.width) + "x" + std::to_string(max.height) + " 过大。";
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{sizeText});
    EXPECT_EQ(doc->m_nLayerCount, 0);
    doc.reset();
    EXPECT_EQ(MemBlockCount(), before);
}

}  // namespace
