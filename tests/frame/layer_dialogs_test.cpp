// The layer dialogs in the running editor: the new-layer, copy-layer,
// change-layer and merge-layers dialogs, worked by control id through the
// frame's layer commands and the layer palette.
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/change_layer_dlg.h"
#include "dialogs/copy_layer_dlg.h"
#include "dialogs/layer_set_dlg.h"
#include "dialogs/merge_layers_dlg.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/dialog.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/layer_list_box.h"
#include "palettes/layer_list_dlg.h"
#include "platform/memory.h"

namespace frametest {
namespace {

using Bytes = std::vector<uint8_t>;

struct LayerView {
    LayerHeader header{};
    Bytes pixels;
};

LayerView ReadLayer(MemHandle layer) {
    LayerView view;
    MemLockGuard lock(layer);
    if (!lock || lock.size() < LAYER_HEADER_SIZE) return view;
    view.header = *lock.as<LayerHeader>();
    view.pixels.assign(lock.get() + LAYER_HEADER_SIZE, lock.get() + lock.size());
    return view;
}

std::string NameOf(MemHandle layer) {
    const LayerHeader header = ReadLayer(layer).header;
    return std::string(header.name, strnlen(header.name, LAYER_NAME_SIZE));
}

Bytes ImagePixels(MemHandle image) {
    dib::LockedDib dib(image);
    const size_t n = dib.geo().PaddedRow() * size_t(dib.geo().height);
    return {dib.bits(), dib.bits() + n};
}

// Types into a line edit as the user would, after emptying it.
void Type(framework::Dialog& d, int id, const QString& text) {
    auto* edit = d.Item<QLineEdit>(id);
    ASSERT_TRUE(edit);
    edit->clear();
    edit->setFocus();
    // One key press for each character, as an input method commits them.
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(edit, &press);
    }
}

class LayerDialogsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
    }
    void TearDown() override {
        SetMapToolSetting(0);
        MemSetLimit(MEM_NO_LIMIT);
        FrameTest::TearDown();
    }

    // A width x height document whose composite shows a pattern (never
    // index 0), with `layers` layers, layer i filled with index 10 + i; the
    // top layer is the edit layer.
    CPelmarkDoc* Picture(int width, int height, int layers) {
        CPelmarkDoc* doc = NewDocument();
        if (!doc) return nullptr;
        doc->m_hImage = CreateDib8(width, height, 0);
        EXPECT_TRUE(doc->InitDib());
        {
            dib::LockedDib image(doc->m_hImage);
            const size_t row = image.geo().PaddedRow();
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) image.Row(y, row)[x] = uint8_t((x + 2 * y) % 7 + 1);
        }
        for (int i = 0; i < layers; ++i) {
            EXPECT_TRUE(document::CreateLayer(*doc, i, 1));
            MemLockGuard lock(doc->m_hLayers[size_t(i)]);
            std::fill(lock.get() + LAYER_HEADER_SIZE, lock.get() + lock.size(), uint8_t(10 + i));
        }
        doc->m_nEditLayer = std::max(layers - 1, 0);
        if (layers > 0) Frame()->UpdateLayerPalette(doc);
        return doc;
    }

    // Runs a layer command through the main frame; `work` drives each dialog
    // that opens (a dialog it leaves open ends as Cancel). The template ids
    // of the dialogs seen.
    std::vector<int> Run(framework::CommandId id, std::function<void(framework::Dialog&)> work) {
        std::vector<int> seen;
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            seen.push_back(d.TemplateId());
            if (work) work(d);
        });
        Frame()->ExecuteCommand(id);
        return seen;
    }
};

// ---- 290 "合并图层" ----

TEST_F(LayerDialogsTest, MergeDialogOpensWithTheProposal) {
    struct Case {
        int width, height, layers;
        int mapTool;
        int columns, rows;
    };
    const Case cases[] = {
        {100, 50, 10, 0, 3, 4}, {16, 16, 5, 0, 3, 2},   {1000, 10, 3, 0, 1, 3},
        {3000, 100, 2, 1, 1, 2}, {2048, 2048, 2, 0, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", " << c.layers);
        SetMapToolSetting(c.mapTool);
        CPelmarkDoc* doc = Picture(c.width, c.height, c.layers);
        ASSERT_TRUE(doc);
        int columns = 0, rows = 0;
        const std::vector<int> seen = Run(CPelmarkDoc::kLayerExpandId, [&](framework::Dialog& d) {
            columns = d.GetDlgItemInt(CMergeLayersDlg::kColumnsId);
            rows = d.GetDlgItemInt(CMergeLayersDlg::kRowsId);
        });
        EXPECT_EQ(seen, std::vector<int>{CMergeLayersDlg::kTemplateId});
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(rows, c.rows);
        // Cancelled: the document stays.
        EXPECT_EQ(doc->m_nLayerCount, c.layers);
        EXPECT_EQ(doc->m_nWidth, c.width);
        doc->SetModified(false);
        doc->OnCloseDocument();
    }
    // Without a document.
    CMergeLayersDlg dlg(nullptr);
    int columns = 0, rows = 0;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        columns = d.GetDlgItemInt(CMergeLayersDlg::kColumnsId);
        rows = d.GetDlgItemInt(CMergeLayersDlg::kRowsId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), framework::IDOK);
    EXPECT_EQ(columns, 1);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(dlg.m_nColumns, 1);
    EXPECT_EQ(dlg.m_nRows, 1);
}

TEST_F(LayerDialogsTest, MergeDialogOkLaysTheSheetOut) {
    CPelmarkDoc* doc = Picture(100, 50, 10);
    ASSERT_TRUE(doc);
    Run(CPelmarkDoc::kLayerExpandId, [](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
    EXPECT_EQ(doc->m_nWidth, 300);
    EXPECT_EQ(doc->m_nHeight, 200);
    ASSERT_EQ(doc->m_nLayerCount, 1);
    // Layer 9 sits in the bottom row's first cell; the cells after it stay 0.
    const LayerView sheet = ReadLayer(doc->m_hLayers[0]);
    const size_t row = dib::LayerRowBytes(300);
    EXPECT_EQ(sheet.pixels[0 * row + 0], 19);
    EXPECT_EQ(sheet.pixels[0 * row + 100], 0);
    EXPECT_EQ(sheet.pixels[199 * row + 299], 12);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(LayerDialogsTest, MergeDialogChecksTheCountsOnOk) {
    const std::string wide2048 = "图像横尺寸超过2048，\n可能有一部分图像会消失\n您确认吗？";
    const std::string wide4096 = "图像横尺寸超过4096，\n可能有一部分图像会消失\n您确认吗？";
    const std::string high2048 = "图像纵尺寸超过2048，\n可能有一部分图像会消失\n您确认吗？";
    const std::string cells = "格子数少于图层数，\n多出的图层会消失\n您确认吗？";
    struct Case {
        const char* what;
        int mapTool;
        QString columns, rows;
        std::vector<int> answers;
        std::vector<std::string> boxes;
        bool closes;
        int width = 0, height = 0;  // the sheet when it closes
    };
    const Case cases[] = {
        {"no columns", 0, "0", "4", {}, {"横尺寸请输入 1 以上的数值。"}, false},
        {"negative columns", 0, "-1", "4", {}, {"横尺寸请输入 1 以上的数值。"}, false},
        {"no rows", 0, "3", "0", {}, {"纵尺寸请输入 1 以上的数值。"}, false},
        {"negative rows", 0, "3", "-1", {}, {"纵尺寸请输入 1 以上的数值。"}, false},
        {"too wide, cancelled", 0, "21", "1", {MB_ANSWER_CANCEL}, {wide2048}, false},
        {"too wide, confirmed", 0, "21", "1", {MB_ANSWER_OK}, {wide2048}, true, 2048, 50},
        {"too wide with MapTool", 1, "41", "1", {MB_ANSWER_CANCEL}, {wide4096}, false},
        {"wide enough with MapTool", 1, "40", "1", {}, {}, true, 4000, 50},
        {"too high, cancelled", 0, "1", "41", {MB_ANSWER_CANCEL}, {high2048}, false},
        {"too high, confirmed", 0, "1", "41", {MB_ANSWER_OK}, {high2048}, true, 100, 2048},
        {"too few cells, cancelled", 0, "2", "2", {MB_ANSWER_CANCEL}, {cells}, false},
        {"too few cells, confirmed", 0, "2", "2", {MB_ANSWER_OK}, {cells}, true, 200, 100},
        {"a count that overflows 32 bits", 0, "42949673", "1", {MB_ANSWER_CANCEL}, {wide2048}, false},
        {"every question, the last cancelled", 0, "21", "41", {MB_ANSWER_OK, MB_ANSWER_CANCEL},
         {wide2048, high2048}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetMapToolSetting(c.mapTool);
        CPelmarkDoc* doc = Picture(100, 50, 10);
        ASSERT_TRUE(doc);
        doc->SetModified(false);
        bool stillOpen = false;
        Run(CPelmarkDoc::kLayerExpandId, [&](framework::Dialog& d) {
            d.SetDlgItemText(CMergeLayersDlg::kColumnsId, c.columns);
            d.SetDlgItemText(CMergeLayersDlg::kRowsId, c.rows);
            boxes.Clear();
            for (int answer : c.answers) boxes.Script(answer);
            d.ClickButton(framework::IDOK);
            stillOpen = d.IsModalRunning();
        });
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(stillOpen, !c.closes);
        if (c.closes) {
            EXPECT_EQ(doc->m_nWidth, c.width);
            EXPECT_EQ(doc->m_nHeight, c.height);
            EXPECT_EQ(doc->m_nLayerCount, 1);
        } else {
            EXPECT_EQ(doc->m_nWidth, 100);
            EXPECT_EQ(doc->m_nLayerCount, 10);
            EXPECT_FALSE(doc->IsModified());
        }
        doc->SetModified(false);
        doc->OnCloseDocument();
    }
}

// ---- 226 "新建图层" ----

TEST_F(LayerDialogsTest, TheFirstNewLayerHoldsThePictureAndLaterOnesAreEmpty) {
    CPelmarkDoc* doc = Picture(64, 64, 0);
    ASSERT_TRUE(doc);
    const Bytes picture = ImagePixels(doc->m_hImage);
    QString name, mode;
    std::vector<int> seen = Run(CPelmarkDoc::kLayerNewId, [&](framework::Dialog& d) {
        name = d.GetDlgItemText(CLayerSetDlg::kNameId);
        mode = d.Item<QComboBox>(CLayerSetDlg::kDrawModeId)->currentText();
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(seen, std::vector<int>{CLayerSetDlg::kTemplateId});
    EXPECT_EQ(name, "层 000");
    EXPECT_EQ(mode, "背景透明");
    ASSERT_EQ(doc->m_nLayerCount, 1);
    LayerView first = ReadLayer(doc->m_hLayers[0]);
    EXPECT_EQ(first.pixels, picture);
    EXPECT_EQ(first.header.visible, 1);
    EXPECT_EQ(first.header.drawMode, LAYER_DRAW_INDEX0_CLEAR);
    EXPECT_EQ(NameOf(doc->m_hLayers[0]), "层 000");
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "新建层");

    // A second layer: empty, transparent background unless "标准" is chosen.
    for (int choice : {1, 0}) {
        SCOPED_TRACE(choice);
        const int slot = doc->m_nLayerCount;
        Run(CPelmarkDoc::kLayerNewId, [&](framework::Dialog& d) {
            name = d.GetDlgItemText(CLayerSetDlg::kNameId);
            d.Item<QComboBox>(CLayerSetDlg::kDrawModeId)->setCurrentIndex(choice);
            Type(d, CLayerSetDlg::kNameId, choice ? "云" : "地面");
            d.ClickButton(framework::IDOK);
        });
        EXPECT_EQ(name, QStringLiteral("层 %1").arg(slot, 3, 10, QLatin1Char('0')));
        ASSERT_EQ(doc->m_nLayerCount, slot + 1);
        EXPECT_EQ(doc->m_nEditLayer, slot);
        const LayerView layer = ReadLayer(doc->m_hLayers[size_t(slot)]);
        EXPECT_EQ(layer.pixels, Bytes(picture.size(), 0));
        EXPECT_EQ(layer.header.drawMode, choice);
        EXPECT_EQ(layer.header.visible, 1);
        EXPECT_EQ(NameOf(doc->m_hLayers[size_t(slot)]), choice ? "云" : "地面");
    }
    // Cancel makes nothing.
    const int steps = doc->m_nUndoIndex;
    Run(CPelmarkDoc::kLayerNewId, [](framework::Dialog& d) { d.ClickButton(framework::IDCANCEL); });
    EXPECT_EQ(doc->m_nLayerCount, 3);
    EXPECT_EQ(doc->m_nUndoIndex, steps);
}

TEST_F(LayerDialogsTest, NameFieldsStopAtTheHeadersSize) {
    CPelmarkDoc* doc = Picture(8, 8, 1);
    ASSERT_TRUE(doc);
    // 30 characters of three bytes each: 21 of them fill the 63 bytes.
    const QString typed = QString(30, QChar(0x56FE));
    QString shown;
    Run(CPelmarkDoc::kLayerNewId, [&](framework::Dialog& d) {
        Type(d, CLayerSetDlg::kNameId, typed);
        shown = d.GetDlgItemText(CLayerSetDlg::kNameId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(shown, QString(21, QChar(0x56FE)));
    ASSERT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(QString::fromStdString(NameOf(doc->m_hLayers[1])), shown);

    // A prefilled copy name longer than the header is stored cut before the
    // character that does not fit: 60 bytes + "复" fill 63, "制" stays out.
    document::SetLayerName(*static_cast<LayerHeader*>(MemLock(doc->m_hLayers[1])), QString(60, 'a'));
    MemUnlock(doc->m_hLayers[1]);
    QString prefilled;
    Run(CPelmarkDoc::kLayerDuplicateId, [&](framework::Dialog& d) {
        prefilled = d.GetDlgItemText(CCopyLayerDlg::kNameId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(prefilled, QString(60, 'a') + "复制");
    ASSERT_EQ(doc->m_nLayerCount, 3);
    EXPECT_EQ(NameOf(doc->m_hLayers[2]), std::string(60, 'a') + "复");
}

TEST_F(LayerDialogsTest, AFailedProbeMakesNoLayer) {
    CPelmarkDoc* doc = Picture(8, 8, 2);
    ASSERT_TRUE(doc);
    const int steps = doc->m_nUndoIndex;
    for (framework::CommandId id : {CPelmarkDoc::kLayerNewId, CPelmarkDoc::kLayerDuplicateId}) {
        SCOPED_TRACE(id);
        bool closed = false;
        Run(id, [&](framework::Dialog& d) {
            // The memory runs short while the dialog is open.
            MemSetLimit(MemBytesInUse());
            d.ClickButton(framework::IDOK);
            MemSetLimit(MEM_NO_LIMIT);
            closed = !d.IsModalRunning();
        });
        EXPECT_TRUE(closed);
        EXPECT_EQ(doc->m_nLayerCount, 2);
        EXPECT_EQ(doc->m_nUndoIndex, steps);
        EXPECT_EQ(BoxTexts().back(), "工作内存不足");
    }
}

TEST_F(LayerDialogsTest, WithoutADocumentTheLayerSizeIsAnError) {
    CLayerSetDlg newLayer;
    EXPECT_FALSE(newLayer.ComputeLayerSize());
    CCopyLayerDlg copy;
    EXPECT_FALSE(copy.ComputeLayerSize());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"错误", "错误"}));
    CPelmarkDoc* doc = Picture(5, 3, 1);
    ASSERT_TRUE(doc);
    newLayer.SetDocument(doc);
    ASSERT_TRUE(newLayer.ComputeLayerSize());
    EXPECT_EQ(newLayer.m_nLayerSize, size_t(88 + 8 * 3));
}

// ---- 227 "复制图层" ----

TEST_F(LayerDialogsTest, TheCopyEqualsItsSourceAndBecomesCurrent) {
    CPelmarkDoc* doc = Picture(8, 4, 3);
    ASSERT_TRUE(doc);
    doc->m_nEditLayer = 1;
    {
        MemLockGuard lock(doc->m_hLayers[1]);
        auto* header = lock.as<LayerHeader>();
        header->visible = 0;
        header->drawMode = LAYER_DRAW_NORMAL;
        header->reserved[0] = 7;
        lock.get()[LAYER_HEADER_SIZE + 5] = 99;
    }
    const LayerView source = ReadLayer(doc->m_hLayers[1]);
    QString name, sourceName;
    Run(CPelmarkDoc::kLayerDuplicateId, [&](framework::Dialog& d) {
        name = d.GetDlgItemText(CCopyLayerDlg::kNameId);
        sourceName = d.GetDlgItemText(CCopyLayerDlg::kSourceNameId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(name, "层 001复制");
    EXPECT_EQ(sourceName, "层 001");
    ASSERT_EQ(doc->m_nLayerCount, 4);
    EXPECT_EQ(doc->m_nEditLayer, 3);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "复制层");
    const LayerView copy = ReadLayer(doc->m_hLayers[3]);
    EXPECT_EQ(copy.pixels, source.pixels);
    EXPECT_EQ(copy.header.visible, 1);
    LayerHeader expected = source.header;
    expected.visible = 1;
    document::SetLayerName(expected, "层 001复制");
    EXPECT_EQ(std::memcmp(&copy.header, &expected, sizeof expected), 0);
    EXPECT_EQ(Frame()->LayerPalette()->GetCurSel(), 0);
}

TEST_F(LayerDialogsTest, TheCopyDialogDeletesTheEditLayer) {
    CPelmarkDoc* doc = Picture(4, 2, 3);
    ASSERT_TRUE(doc);
    const MemHandle kept[] = {doc->m_hLayers[0], doc->m_hLayers[2]};
    CCopyLayerDlg dlg;
    dlg.SetDocument(doc);
    doc->m_nEditLayer = 1;
    EXPECT_EQ(dlg.DeleteCurrentLayer(), 1);
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(doc->m_hLayers[0], kept[0]);
    EXPECT_EQ(doc->m_hLayers[1], kept[1]);
    EXPECT_EQ(doc->m_hLayers[2], nullptr);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "消除层");
    // The top layer, current: the new top becomes current.
    EXPECT_EQ(dlg.DeleteCurrentLayer(), 1);
    EXPECT_EQ(doc->m_nLayerCount, 1);
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_TRUE(doc->IsModified());
}

// ---- 228 "更改图层" ----

TEST_F(LayerDialogsTest, ADoubleClickChangesTheLayersNameAndMode) {
    CPelmarkDoc* doc = Picture(4, 4, 2);
    ASSERT_TRUE(doc);
    // Layer 1 (the top row) covers layer 0 where it is not 0.
    {
        MemLockGuard lock(doc->m_hLayers[1]);
        std::fill(lock.get() + LAYER_HEADER_SIZE, lock.get() + lock.size(), uint8_t(0));
        lock.get()[LAYER_HEADER_SIZE] = 30;
    }
    Frame()->UpdateLayerPalette(doc);
    CLayerListDlg* palette = Frame()->LayerPalette();
    palette->show();
    CLayerListBox* list = palette->List();
    const QPoint row0 = list->ItemRect(0).center() + QPoint(60, 0);
    doc->SetModified(false);

    // Cancel first: nothing changes.
    const LayerView before = ReadLayer(doc->m_hLayers[1]);
    const Bytes composite = ImagePixels(doc->m_hImage);
    QString name, mode;
    {
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            name = d.GetDlgItemText(CChangeLayerDlg::kNameId);
            mode = d.Item<QComboBox>(CChangeLayerDlg::kDrawModeId)->currentText();
            Type(d, CChangeLayerDlg::kNameId, "改");
            d.Item<QComboBox>(CChangeLayerDlg::kDrawModeId)->setCurrentIndex(0);
            d.ClickButton(framework::IDCANCEL);
        });
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row0);
    }
    EXPECT_EQ(name, "层 001");
    EXPECT_EQ(mode, "背景透明");
    const LayerView cancelled = ReadLayer(doc->m_hLayers[1]);
    EXPECT_EQ(std::memcmp(&cancelled.header, &before.header, LAYER_HEADER_SIZE), 0);
    EXPECT_EQ(ImagePixels(doc->m_hImage), composite);
    EXPECT_FALSE(doc->IsModified());

    // OK: the name and "标准" are written; layer 1 now covers everything.
    {
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            EXPECT_EQ(d.TemplateId(), CChangeLayerDlg::kTemplateId);
            Type(d, CChangeLayerDlg::kNameId, "天空");
            d.Item<QComboBox>(CChangeLayerDlg::kDrawModeId)->setCurrentIndex(0);
            d.ClickButton(framework::IDOK);
        });
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row0);
    }
    EXPECT_EQ(NameOf(doc->m_hLayers[1]), "天空");
    EXPECT_EQ(ReadLayer(doc->m_hLayers[1]).header.drawMode, LAYER_DRAW_NORMAL);
    EXPECT_TRUE(doc->IsModified());
    const Bytes shown = ImagePixels(doc->m_hImage);
    EXPECT_EQ(shown, ReadLayer(doc->m_hLayers[1]).pixels);
    EXPECT_EQ(list->RowAt(0).text, "　　　　　　　天空＜标准＞");
}

}  // namespace
}  // namespace frametest
