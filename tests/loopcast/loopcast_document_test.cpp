// GIF files opened and saved by the editor's document through Loopcast.FLT,
// placed in the program directory as the program ships it.
#include <QFile>

#include "dialogs/new_image_dlg.h"
#include "dialogs/palette_edit_dlg.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/layer_operations.h"
#include "document/palette_from_image.h"
#include "document/working_palette.h"
#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"
#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "framework/support_file_dialog.h"
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
    // The save prompt answers `typed` with the GIF filter chosen the first
    // time and is cancelled after that; every request is kept.
    void TypeInSavePrompt(const QString& typed) {
        typed_ = typed;
        requests.clear();
        if (recorder_) return;
        recorder_ = dialogs::SetFileDialogService([this](const dialogs::FileDialogRequest& r) {
            requests.push_back(r);
            if (requests.size() > 1) return dialogs::FileDialogAnswer::Cancel();
            int gif = 0;
            for (size_t i = 0; i < r.filters.size(); ++i)
                if (r.filters[i].patterns == "*.gif") gif = int(i) + 1;
            return dialogs::FileDialogAnswer::Ok({typed_}, gif);
        });
    }
    void TearDown() override {
        if (recorder_) dialogs::SetFileDialogService(std::move(recorder_));
        HostTest::TearDown();
    }
    // An untitled, modified three-colour document saved through the prompt.
    bool SaveUntitled(const QString& typed) {
        auto doc = DocumentWithImage(6, 4, 2);
        doc->m_bUntitled = 1;
        doc->SetModifiedFlag(true);
        TypeInSavePrompt(typed);
        framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
        return doc->DoSave({});
    }
    bool OpensAsGif(const QString& path) {
        CPelmarkDoc doc;
        return doc.OnOpenDocument(path) && doc.m_nWidth == 6 && doc.m_nHeight == 4;
    }
    std::vector<dialogs::FileDialogRequest> requests;
    QString typed_;
    dialogs::FileDialogService recorder_;  // the fixture's, put back at the end

    // Entries as 0x00RRGGBB.
    static std::vector<uint32_t> TableOf(MemHandle image) {
        std::vector<uint32_t> out;
        for (int i = 0; i < 256; ++i) {
            uint8_t r = 0, g = 0, b = 0;
            GetDibPaletteEntry(image, i, &r, &g, &b, nullptr);
            out.push_back(uint32_t(r) << 16 | uint32_t(g) << 8 | b);
        }
        return out;
    }
    static std::vector<uint32_t> WorkingTable() {
        std::vector<uint32_t> out;
        for (const WorkingPaletteEntry& e : GetWorkingPalette())
            out.push_back(uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue);
        return out;
    }
    // Two frames, each with a palette of its own and none for the file.
    QString GifWithFramePalettes() {
        gifpeer::Picture picture;
        picture.width = 4;
        picture.height = 2;
        picture.frames.push_back({0, 0, 4, 2, false, {0xff0000, 0x00ff00}, {0, 1, 0, 1, 1, 0, 1, 0}});
        picture.frames.push_back({1, 0, 2, 1, false, {0x0000ff, 0xffffff}, {0, 1}});
        std::vector<uint8_t> bytes = gifpeer::PeerEncode(picture);
        QString path = FilePath("frames.gif");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return path;
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

TEST_F(LoopcastDocument, ANameSavedWithoutExtensionTakesTheChosenFilters) {
    UsePlugins({"Trivial.FLT"});  // a second writer, listed before or after
    ASSERT_TRUE(SaveUntitled(FilePath("sprite")));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].fileName, "");
    EXPECT_EQ(requests[0].defaultExt, "");
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(FilesHere(), QStringList{"sprite.gif"});
    EXPECT_TRUE(OpensAsGif(FilePath("sprite.gif")));
}

TEST_F(LoopcastDocument, TheCompletedNameIsAskedAboutBeforeItIsReplaced) {
    const QByteArray mine("the user's file\0\1\2", 18);
    for (int answer : {MB_ANSWER_NO, MB_ANSWER_YES}) {
        SCOPED_TRACE(answer);
        boxes.Clear();
        QString existing = WriteFile("sprite.gif", mine);
        boxes.Script({answer});
        bool saved = SaveUntitled(FilePath("sprite"));
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Requests()[0].text, (existing + " 已存在。\n要替换它吗？").toStdString());
        EXPECT_EQ(boxes.Requests()[0].type, unsigned(MB_BTN_YESNO | MB_ICON_WARNING));
        EXPECT_EQ(FilesHere(), QStringList{"sprite.gif"});
        if (answer == MB_ANSWER_NO) {
            // The prompt comes back with the name as typed; cancelled there.
            EXPECT_FALSE(saved);
            ASSERT_EQ(requests.size(), 2u);
            EXPECT_EQ(requests[1].fileName, "sprite");
            EXPECT_EQ(requests[1].initialDir, filesDir.path());
            EXPECT_EQ(ReadFile(existing), mine);
        } else {
            EXPECT_TRUE(saved);
            EXPECT_EQ(requests.size(), 1u);
            EXPECT_TRUE(OpensAsGif(existing));
        }
    }
}

TEST_F(LoopcastDocument, ANameWithAnExtensionIsSavedAsTyped) {
    for (const char* name : {"sprite.GIF", "a.b.gif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SaveUntitled(FilePath(name)));
        EXPECT_TRUE(BoxTexts().empty());
        EXPECT_TRUE(FilesHere().contains(name));
        EXPECT_TRUE(OpensAsGif(FilePath(name)));
    }
    EXPECT_EQ(FilesHere(), (QStringList{"a.b.gif", "sprite.GIF"}));
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

TEST_F(LoopcastDocument, AGifUnderlayIsWhatTheOpenedFileShows) {
    QString path = CopyTestFile("pillow/chi.gif");
    CPelmarkDoc opened;
    ASSERT_TRUE(opened.OnOpenDocument(path));
    const std::vector<uint8_t> composed = document::ComposeVisibleLayers(opened);
    ASSERT_FALSE(composed.empty());

    size_t before = MemBlockCount();
    auto doc = DocumentWithImage(320, 240);
    EXPECT_EQ(doc->SetUnderlay(doc->ReadUnderlayFile(path), 0), 0);  // the image's size: no question
    EXPECT_TRUE(BoxTexts().empty());
    {
        dib::LockedDib under(doc->m_hUnderlay);
        ASSERT_TRUE(under);
        ASSERT_EQ(under.geo().bitCount, 8);
        ASSERT_EQ(under.geo().PaddedRow() * 240, composed.size());
        EXPECT_EQ(std::memcmp(under.bits(), composed.data(), composed.size()), 0);
        EXPECT_NE(std::count(composed.begin(), composed.end(), 0), std::ptrdiff_t(composed.size()));
    }
    EXPECT_EQ(TableOf(doc->m_hUnderlay), TableOf(opened.m_hImage));
    doc.reset();
    EXPECT_EQ(MemBlockCount(), before);
}

TEST_F(LoopcastDocument, APaletteFromAGifWithFramePalettesIsTheMergedOne) {
    QString path = GifWithFramePalettes();
    CPelmarkDoc opened;
    boxes.Script({MB_ANSWER_YES});
    ASSERT_TRUE(opened.OnOpenDocument(path));
    const std::vector<uint32_t> merged = TableOf(opened.m_hImage);
    // The four colours of the two frames are all there.
    for (uint32_t c : {0xff0000u, 0x00ff00u, 0x0000ffu, 0xffffffu})
        EXPECT_NE(std::find(merged.begin(), merged.end(), c), merged.end()) << std::hex << c;

    boxes.Clear();
    ClearWorkingPalette();
    size_t before = MemBlockCount();
    boxes.Script({MB_ANSWER_YES});
    EXPECT_EQ(document::LoadPaletteFromImageFile(path), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"每帧存在独立的调色板。\n要对单个调色板进行减色吗?"});
    EXPECT_EQ(WorkingTable(), merged);
    EXPECT_EQ(MemBlockCount(), before);

    // Cancelled at the question: nothing said, nothing taken.
    boxes.Clear();
    ClearWorkingPalette();
    boxes.Script({MB_ANSWER_CANCEL});
    EXPECT_EQ(document::LoadPaletteFromImageFile(path), 0);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(WorkingTable(), std::vector<uint32_t>(256, 0));
    EXPECT_EQ(MemBlockCount(), before);
}

TEST_F(LoopcastDocument, ANewImageTakesTheGifsPaletteFromAPaletteFile) {
    QString path = CopyTestFile("pillow/chi.gif");
    auto peer = gifpeer::PeerDecode(gifpeer::ReadBytes(kvtest::TestDataPath("gif/pillow/chi.gif")));
    ASSERT_TRUE(peer);
    ASSERT_FALSE(peer->palette.empty());
    {
        // The dialog's size presets.
        QFile menu(ProgramDir() + "menu.txt");
        ASSERT_TRUE(menu.open(QIODevice::WriteOnly));
        menu.write("small 16 16\n");
    }
    CNewImageDlg::Kept() = {};
    framework::ScopedModalDriver driver([&path](framework::Dialog& d) {
        CNewImageDlg::Kept().paletteSource = CNewImageDlg::kPaletteFromFile;
        CNewImageDlg::Kept().palettePath = path;
        d.ClickButton(framework::IDOK);
    });
    CPelmarkDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(BoxTexts().empty());
    const std::vector<uint32_t> table = TableOf(doc.m_hImage);
    for (size_t i = 0; i < peer->palette.size() && i < 256; ++i) EXPECT_EQ(table[i], peer->palette[i]) << i;
    CNewImageDlg::Kept().paletteSource = CNewImageDlg::kPaletteNone;
    CNewImageDlg::Kept().palettePath.clear();
    ClearWorkingPalette();
}

TEST_F(LoopcastDocument, ThePaletteEditorTakesAGifsPaletteFromAnImage) {
    QString path = CopyTestFile("pillow/chi.gif");
    auto peer = gifpeer::PeerDecode(gifpeer::ReadBytes(kvtest::TestDataPath("gif/pillow/chi.gif")));
    ASSERT_TRUE(peer);
    ASSERT_FALSE(peer->palette.empty());
    ClearWorkingPalette();
    auto doc = DocumentWithImage(32, 24);
    dialogs::FileDialogRecorder prompts({dialogs::FileDialogAnswer::Ok({path})});
    std::vector<uint32_t> shown;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        d.ClickButton(CPaletteEditDlg::kFromImageId);
        shown = WorkingTable();
        d.ClickButton(framework::IDCANCEL);
    });
    CPaletteEditDlg editor(doc.get());
    editor.DoModal();
    ASSERT_EQ(prompts.Requests().size(), 1u);
    EXPECT_TRUE(BoxTexts().empty());
    ASSERT_EQ(shown.size(), 256u);
    for (size_t i = 0; i < 256; ++i)
        EXPECT_EQ(shown[i], i < peer->palette.size() ? peer->palette[i] & 0xFFFFFF : 0u) << i;
    ClearWorkingPalette();
}

}  // namespace
