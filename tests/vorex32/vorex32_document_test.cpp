// VRX files opened and saved by the editor's document through Vorex32.FLT,
// placed in the program directory as the program ships it.
#include <QFile>

#include <csignal>
#include <sys/resource.h>

#include "document/layer_factory.h"
#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "framework/support_file_dialog.h"
#include "host_fixture.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "plugins/vorex32/vrx_header_dialog.h"
#include "vrx_test_files.h"
#include "tests/support/file_size_limit.h"

namespace {

using D = CVrxHeaderDialog;
using Driver = framework::Dialog::ModalDriver;

struct Picture {
    int bits = 0;
    std::vector<uint8_t> indexes;  // top-down
    std::vector<uint32_t> palette;  // alpha, red, green, blue
    bool operator==(const Picture&) const = default;
};

class Vorex32Document : public hosttest::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_TRUE(QFile::link(QStringLiteral(VOREX32_PATH), ProgramDir() + "Vorex32.FLT"));
    }

    // A w x h document of `colors` (16 or 256) with a palette carrying alpha.
    std::unique_ptr<CPelmarkDoc> Document(int w, int h, int colors) {
        auto doc = DocumentWithImage(w, h, 0);
        {
            dib::LockedDib image(doc->m_hImage);
            auto* palette = reinterpret_cast<PaletteEntry*>(image.data() + image.geo().headerSize);
            for (int i = 0; i < 256; ++i)
                palette[i] = i < colors ? PaletteEntry{uint8_t(i * 5), uint8_t(i * 3), uint8_t(255 - i), uint8_t(i % 3 ? 0xFF : 0x10)}
                                        : PaletteEntry{};
            MemLockGuard layer(doc->m_hLayers[0]);
            const size_t stride = size_t(w + 3) & ~size_t(3);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint8_t v = uint8_t((x * 7 + y * 3) % colors);
                    image.Row(h - 1 - y, image.geo().PaddedRow())[x] = v;
                    layer.get()[LAYER_HEADER_SIZE + size_t(h - 1 - y) * stride + size_t(x)] = v;
                }
        }
        if (colors == 16) doc->m_nColorMode = 1;
        return doc;
    }
    static Picture Of(const CPelmarkDoc& doc) {
        dib::LockedDib image(doc.m_hImage);
        Picture p;
        const dib::DibGeometry& g = image.geo();
        p.bits = g.bitCount;
        PaletteEntry table[256];
        dib::ReadColorTable(image.data(), g, table);
        for (int i = 0; i < g.entries; ++i)
            p.palette.push_back(uint32_t(table[i].alpha) << 24 | uint32_t(table[i].red) << 16 |
                                uint32_t(table[i].green) << 8 | table[i].blue);
        std::vector<uint8_t> row(size_t(g.width));
        for (int y = g.height - 1; y >= 0; --y) {
            dib::ReadRowIndices(image.Row(y, g.PaddedRow()), g.bitCount, 0, g.width, row.data());
            p.indexes.insert(p.indexes.end(), row.begin(), row.end());
        }
        return p;
    }
    bool Save(CPelmarkDoc& doc, const QString& path, Driver driver) {
        framework::ScopedModalDriver scoped(std::move(driver));
        doc.SetModifiedFlag(true);
        return doc.OnSaveDocument(path);
    }
};

Driver Options(bool compressed, bool entry16, bool multi) {
    return [=](framework::Dialog& d) {
        d.CheckDlgButton(D::IDC_COMPRESS, compressed);
        if (entry16) d.ClickButton(D::IDC_ENTRY16);
        d.CheckDlgButton(D::IDC_MULTI_CLUT, multi);
        d.ClickButton(framework::IDOK);
    };
}

TEST_F(Vorex32Document, SavedImagesOpenWithTheirPixelsAndPalette) {
    struct Case {
        const char* name;
        int colors;
        bool compressed, entry16, multi;
    };
    const Case cases[] = {
        {"16 colours compressed", 16, true, false, false},
        {"16 colours raw", 16, false, false, false},
        {"256 colours compressed", 256, true, false, false},
        {"256 colours raw 16-bit entries", 256, false, true, false},
        {"256 colours 16-bit entries", 256, true, true, false},
        {"multi-CLUT", 256, true, false, true},
        {"multi-CLUT 16-bit entries", 256, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = Document(16, 6, c.colors);
        Picture saved = Of(*doc);
        const QString path = FilePath("round.vrx");
        ASSERT_TRUE(Save(*doc, path, Options(c.compressed, c.entry16, c.multi)));
        EXPECT_TRUE(BoxTexts().empty());
        CPelmarkDoc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(path));
        EXPECT_TRUE(BoxTexts().empty());
        Picture back = Of(reopened);

        Picture want = saved;
        if (c.multi) {
            // Opens as 16 colours with CLUT 0: the low 4 bits of each index.
            for (uint8_t& i : want.indexes) i &= 15;
            want.palette.resize(16);
        }
        if (c.colors == 16 || c.multi) EXPECT_EQ(reopened.m_nColorMode, 1);
        if (c.entry16)
            for (uint32_t& e : want.palette) e = (e & 0x80000000u) | (e & 0x00F8F8F8u);
        EXPECT_EQ(back.indexes, want.indexes);
        ASSERT_LE(want.palette.size(), back.palette.size());
        back.palette.resize(want.palette.size());
        EXPECT_EQ(back.palette, want.palette);
    }
}

TEST_F(Vorex32Document, SavingOverTheFilePresetsItsHeader) {
    auto doc = Document(8, 2, 256);
    const QString path = FilePath("again.vrx");
    ASSERT_TRUE(Save(*doc, path, [](framework::Dialog& d) {
        d.CheckDlgButton(D::IDC_EVERY_FRAME, 1);
        d.ClickButton(D::IDC_LOD_FIXED);
        d.SetDlgItemText(D::IDC_LOD_L, "3");
        d.SetDlgItemText(D::IDC_LOD_K, "12");
        d.SetDlgItemText(D::IDC_HEIGHT, "345");
        d.SetDlgItemText(D::IDC_SECOND_K, "4095");
        d.CheckDlgButton(D::IDC_COMPRESS, 0);
        d.ClickButton(framework::IDOK);
    }));
    std::vector<QString> seen;
    EXPECT_FALSE(Save(*doc, path, [&](framework::Dialog& d) {
        for (int id : {int(D::IDC_LOD_L), int(D::IDC_LOD_K), int(D::IDC_HEIGHT), int(D::IDC_SECOND_K)})
            seen.push_back(d.GetDlgItemText(id));
        seen.push_back(QString::number(d.IsDlgButtonChecked(D::IDC_EVERY_FRAME)));
        seen.push_back(QString::number(d.IsDlgButtonChecked(D::IDC_LOD_FIXED)));
        seen.push_back(QString::number(d.IsDlgButtonChecked(D::IDC_COMPRESS)));
        d.ClickButton(framework::IDCANCEL);
    }));
    EXPECT_EQ(seen, (std::vector<QString>{"3", "12", "345", "4095", "1", "1", "0"}));
    // Cancelled: no message, the file as it was.
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(Vorex32Document, ADirectColourFileGoesThroughTheReduction) {
    const vrxtest::Bytes file = vrxtest::DirectVrx(VRX_PIXELS_24BIT, 8, 4, true);
    const QString path = WriteFile("direct.vrx", QByteArray(reinterpret_cast<const char*>(file.data()), int(file.size())));
    CPelmarkDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"减色开始。"});
    Picture p = Of(doc);
    EXPECT_EQ(p.bits, 8);
    // Pixel (x, y) had red x * 8, green y * 8, blue 64: reduced, the corners differ.
    EXPECT_NE(p.indexes.front(), p.indexes.back());
}

TEST_F(Vorex32Document, ATwoLayerDocumentIsNotOfferedVrx) {
    auto doc = Document(8, 2, 256);
    ASSERT_TRUE(document::CreateLayer(*doc, 1, 1));
    std::vector<dialogs::FileDialogRequest> requests;
    auto previous = dialogs::SetFileDialogService([&](const dialogs::FileDialogRequest& r) {
        requests.push_back(r);
        return dialogs::FileDialogAnswer::Cancel();
    });
    EXPECT_FALSE(doc->DoSave({}));
    dialogs::SetFileDialogService(std::move(previous));
    ASSERT_EQ(requests.size(), 1u);
    for (const auto& f : requests[0].filters) EXPECT_NE(f.patterns.toLower(), "*.vrx");
    // One layer: offered.
    auto single = Document(8, 2, 256);
    requests.clear();
    previous = dialogs::SetFileDialogService([&](const dialogs::FileDialogRequest& r) {
        requests.push_back(r);
        return dialogs::FileDialogAnswer::Cancel();
    });
    EXPECT_FALSE(single->DoSave({}));
    dialogs::SetFileDialogService(std::move(previous));
    ASSERT_EQ(requests.size(), 1u);
    bool offered = false;
    for (const auto& f : requests[0].filters) offered |= f.patterns.compare("*.vrx", Qt::CaseInsensitive) == 0;
    EXPECT_TRUE(offered);
}

TEST_F(Vorex32Document, AFailedSaveLeavesTheOldFileAsItWas) {
    const QByteArray mine("the user's own file", 19);
    {
        // Refused before anything is written: the width message.
        const QString path = WriteFile("old.vrx", mine);
        auto doc = Document(6, 2, 256);
        EXPECT_FALSE(Save(*doc, path, Options(true, false, false)));
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"不能写入宽度不是 4 的倍数的 256 色数据到 vrx 中。",
                                                        "文件读取失败。"}));
        EXPECT_EQ(ReadFile(path), mine);
    }
    boxes.Clear();
    {
        // A short write.
        const QString path = WriteFile("old2.vrx", mine);
        auto doc = Document(64, 64, 256);
        {
            dib::LockedDib image(doc->m_hImage);
            vrxtest::Bytes noise = vrxtest::Random(64 * 64, 4);
            std::memcpy(image.bits(), noise.data(), noise.size());
        }
        bool saved = kvtest::WithFileSizeLimit(1000, [&] { return Save(*doc, path, Options(false, false, false)); });
        EXPECT_FALSE(saved);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"文件写入失败。"});
        EXPECT_EQ(ReadFile(path), mine);
    }
    EXPECT_EQ(FilesHere(), (QStringList{"old.vrx", "old2.vrx"}));
}

}  // namespace
