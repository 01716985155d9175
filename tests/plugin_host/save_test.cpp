// Saving documents through file-format plug-ins loaded for real.
#include <cstring>

#include <QFile>
#include <QFileInfo>

#include "host_fixture.h"
#include "document/layer_factory.h"
#include "framework/program_recent_list.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "plugin_host/file_io_state.h"

namespace hosttest {
namespace {

using SaveTest = HostTest;

// The colour count and image bit count a trivial-format file holds.
struct SavedImage {
    uint32_t colors = 0;
    int bitCount = 0;
};
SavedImage ReadSaved(const QByteArray& file) {
    SavedImage s;
    if (file.size() < 12 + 40 || !file.startsWith("KVT1")) return s;
    std::memcpy(&s.colors, file.constData() + 4, 4);
    DibInfoHeader header;
    std::memcpy(&header, file.constData() + 12, sizeof header);
    s.bitCount = header.bitCount;
    return s;
}

TEST_F(SaveTest, SixteenColourDocumentsSaveAsFourBitWhenTheyCan) {
    UsePlugins({"Trivial.FLT"});
    struct Case {
        int colorMode;
        int pixel;
        uint32_t colors;
        int bits;
    };
    const Case cases[] = {{1, 15, 16, 4}, {1, 16, 256, 8}, {0, 3, 256, 8}};
    for (const Case& c : cases) {
        auto doc = DocumentWithImage(5, 3, c.pixel);
        doc->m_nColorMode = c.colorMode;
        doc->SetModifiedFlag(true);
        QString path = FilePath("a.kvt");
        ASSERT_TRUE(doc->OnSaveDocument(path)) << c.pixel;
        SavedImage saved = ReadSaved(ReadFile(path));
        EXPECT_EQ(saved.colors, c.colors) << c.pixel;
        EXPECT_EQ(saved.bitCount, c.bits) << c.pixel;
        EXPECT_FALSE(doc->IsModified());
        dib::LockedDib image(doc->m_hImage);  // the document's own image is untouched
        EXPECT_EQ(image.geo().bitCount, 8);
    }
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(SaveTest, LayersAndCurrentLayerRoundTrip) {
    UsePlugins({"Trivial.FLT"});
    auto doc = DocumentWithImage(4, 2, 7);
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 1));
    {
        MemLockGuard layer(doc->m_hLayers[1]);
        layer.get()[LAYER_HEADER_SIZE + 1] = 9;
    }
    doc->m_nEditLayer = 1;
    QString path = FilePath("two.kvt");
    ASSERT_TRUE(doc->DoSave(path));
    EXPECT_EQ(doc->GetPathName(), path);

    auto again = std::make_unique<CPelmarkDoc>();
    ASSERT_TRUE(again->OnOpenDocument(path));
    ASSERT_EQ(again->m_nLayerCount, 2);
    EXPECT_EQ(again->m_nEditLayer, 1);
    MemLockGuard a(doc->m_hLayers[1]), b(again->m_hLayers[1]);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.get(), b.get(), a.size()), 0);
}

TEST_F(SaveTest, SaveAsTakesTheNewPath) {
    UsePlugins({"Trivial.FLT"});
    QString old = WriteFile("old.kvt", "old");
    QString target = WriteFile("new.kvt", "previous contents");
    auto doc = DocumentWithImage(3, 3);
    doc->SetPathName(old, false);
    doc->SetModifiedFlag(true);
    doc->m_bUntitled = 1;
    dialogs.Script(dialogs::FileDialogAnswer::Ok({target}));
    ASSERT_TRUE(doc->DoSave({}));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].fileName, "old");
    EXPECT_FALSE(dialogs.Requests()[0].open);
    EXPECT_EQ(doc->GetPathName(), target);
    EXPECT_EQ(doc->GetTitle(), "new.kvt");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->m_bUntitled, 0);
    EXPECT_EQ(doc->m_bFileLocked, 1);
    for (const document::UndoSlot& slot : doc->m_UndoSlots) EXPECT_EQ(slot.modifiedMark, 1);
    EXPECT_EQ(ReadSaved(ReadFile(target)).colors, 256u);
    EXPECT_TRUE(QFileInfo(target).permission(QFile::WriteUser));
    EXPECT_EQ(FilesHere(), (QStringList{"new.kvt", "old.kvt"}));  // no temporary left
}

TEST_F(SaveTest, OpenAndSaveAsAddToTheProgramsRecentFiles) {
    UsePlugins({"Trivial.FLT"});
    auto recent = [] { return std::vector<QString>{ProgramRecentFile(1), ProgramRecentFile(2), ProgramRecentFile(3)}; };
    QString a = FilePath("a.kvt");
    QString b = FilePath("b.kvt");
    auto doc = DocumentWithImage(3, 3);
    ASSERT_TRUE(doc->DoSave(a, false));  // a copy: the document keeps its path
    EXPECT_EQ(recent(), (std::vector<QString>{"", "", ""}));
    ASSERT_TRUE(doc->DoSave(b));
    EXPECT_EQ(recent(), (std::vector<QString>{b, "", ""}));
    auto opened = std::make_unique<CPelmarkDoc>();
    ASSERT_TRUE(opened->OnOpenDocument(a));
    EXPECT_EQ(recent(), (std::vector<QString>{b, QFileInfo(a).canonicalFilePath(), ""}));
    auto failed = std::make_unique<CPelmarkDoc>();
    EXPECT_FALSE(failed->OnOpenDocument(WriteFile("c.kvt", "not an image")));
    EXPECT_EQ(ProgramRecentFile(3), "");
}

TEST_F(SaveTest, FailedSavesLeaveTheUsersFileAsItWas) {
    UsePlugins({"CancelOut.FLT", "FailWrite.FLT", "Trivial.FLT"});
    struct Case {
        const char* name;
        const char* message;
        bool stopped;
    };
    const Case cases[] = {
        {"mine.cnl", "文件不能保存。", true},    // the options dialog stopped it
        {"mine.flw", "文件写入失败。", false},  // half written, then an error
        {"mine.xyz", "", false},                // no plug-in for it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.Clear();
        QString old = WriteFile("doc.kvt", "document");
        QString target = WriteFile(c.name, QByteArray("the user's file\0\1\2", 18));
        auto doc = DocumentWithImage(3, 3);
        doc->SetPathName(old, false);
        doc->SetModifiedFlag(true);
        dialogs.Script(dialogs::FileDialogAnswer::Ok({target}));
        EXPECT_FALSE(doc->DoSave({}));
        ASSERT_EQ(boxes.Count(), 1u);
        if (*c.message) {
            EXPECT_EQ(boxes.Requests()[0].text, c.message);
        }
        EXPECT_EQ(plugin_host::SaveStopped(), c.stopped);
        EXPECT_EQ(ReadFile(target), QByteArray("the user's file\0\1\2", 18));
        EXPECT_EQ(doc->GetPathName(), old);
        EXPECT_EQ(doc->GetTitle(), "doc.kvt");
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->m_bFileLocked, 1);  // its own file is held again
        EXPECT_EQ(FilesHere(), (QStringList{"doc.kvt", c.name}));
        doc.reset();
        QFile::remove(target);
    }
}

TEST_F(SaveTest, CancelledPromptSavesNothing) {
    UsePlugins({"Trivial.FLT"});
    auto doc = DocumentWithImage(3, 3);
    doc->SetModifiedFlag(true);
    EXPECT_FALSE(doc->DoSave({}));
    EXPECT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].fileName, "");  // untitled: no name proposed
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(FilesHere().isEmpty());
}

TEST_F(SaveTest, FormatsWithoutLayersAreOfferedOnlyForOneLayer) {
    UsePlugins({"NoCheck.FLT", "Flat.FLT", "Trivial.FLT"});
    auto doc = DocumentWithImage(3, 3);
    ASSERT_TRUE(doc->OnSaveDocument(FilePath("one.nck")));
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 1));
    boxes.Clear();
    EXPECT_FALSE(doc->OnSaveDocument(FilePath("two.nck")));
    EXPECT_FALSE(doc->OnSaveDocument(FilePath("two.fla")));
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_TRUE(doc->OnSaveDocument(FilePath("two.kvt")));
    EXPECT_EQ(FilesHere(), (QStringList{"one.nck", "two.kvt"}));
}

TEST_F(SaveTest, OpeningAfterSaveAsOffersEveryReader) {
    UsePlugins({"NoCheck.FLT", "Trivial.FLT"});
    auto doc = DocumentWithImage(3, 3);
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 1));
    EXPECT_FALSE(doc->DoSave({}));  // the prompt is cancelled
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].filters.size(), 1u);  // only the layer-keeping writer
    auto opened = std::make_unique<CPelmarkDoc>();
    ASSERT_TRUE(DocumentWithImage(2, 2)->OnSaveDocument(FilePath("dropped.nck")));
    EXPECT_TRUE(opened->OnOpenDocument(FilePath("dropped.nck")));
    EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
}  // namespace hosttest
