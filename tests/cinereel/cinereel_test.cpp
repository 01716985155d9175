// Cinereel.so through the editor's real loading path: the host starts it by
// 图像 > 制作动画 (34012) and 动画预览 (34027); the tests work its windows
// from inside the plug-in's loop by control id and by mouse.
#include "cinereel_fixture.h"

namespace hosttest {
namespace {

using namespace plugin_host;

TEST_F(CinereelTest, ExportsItsInfoAndRunsTheEditorWithTheHostDisabled) {
    platform::Module library((ProgramDir() + "Cinereel.so").toStdString());
    ASSERT_TRUE(library);
    auto info = library.symbol<PluginGetInfoFn>("GetInfo");
    ASSERT_TRUE(info);
    EXPECT_STREQ(info(), "生成动画2          /*.BMP;*.DIB");
    library.reset();

    CPelmarkDoc* doc = OpenDoc(100, 70);
    Run(34012, [&] {
        EXPECT_TRUE(IsHostFrameLocked());
        ASSERT_TRUE(Editor() && Editor()->isVisible());
        EXPECT_EQ(Editor()->windowTitle(), "生成动画");
        EXPECT_FALSE(Preview()->isVisible());
        EXPECT_EQ(List()->count(), 128);
        EXPECT_EQ(List()->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_EQ(Row(0), kEmptyRow0);
        EXPECT_EQ(List()->sizeHintForRow(0), 12);
        const std::pair<int, const char*> texts[] = {
            {14013, "结束"}, {14014, "重置"}, {14018, "预览"}, {14050, "保存列表"}, {14051, "载入"},
            {14019, "输出 GIF 动画"}, {14022, "重复"}, {14021, "背景色透明"}, {14020, "交错"},
            {14023, "帧设置"}, {14024, "选择移动范围"}, {14048, "填充登录"}, {14049, "如实登录"}};
        for (auto [id, text] : texts) EXPECT_EQ(Field(id), text) << id;
        for (int id : {14025, 14026, 14029, 14032, 14027, 14030, 14035, 14038, 14033, 14036, 14039, 14034,
                       14037, 14040, 14043, 14045, 14044, 14046, 14028, 14041, 14031, 14042, 14047})
            EXPECT_NE(Bar(16016)->GetDlgItem(id), nullptr) << id;
        for (int id = 16000; id <= 16005; ++id) EXPECT_NE(Bar(16017)->GetDlgItem(id), nullptr) << id;
        EXPECT_EQ(Bar(16017)->GetDlgItemText(14007), "anim");
        const QRect work = Editor()->screen()->availableGeometry();
        EXPECT_EQ(Editor()->pos(), QPoint(0, 0));
        EXPECT_EQ(Editor()->size(), QSize(680, std::min(580, work.height())));
        EXPECT_EQ(doc->m_bAnimState, 1);
        Grid(32, 32);
        Click(14023);
        ClickAt({40, 10});
        EXPECT_EQ(Row(0), "000   0032,0000  0032,0032  0100");
        EXPECT_TRUE(List()->item(1)->isSelected());
        Click(14013);
    });
    EXPECT_FALSE(IsHostFrameLocked());
    EXPECT_TRUE(PackedAnimIsValid(reinterpret_cast<const PackedAnimTable*>(doc->m_AnimTable.data())));
    PackedAnimFrame f = PackedAnimRead(reinterpret_cast<const PackedAnimTable*>(doc->m_AnimTable.data()), 0);
    EXPECT_EQ(f.x, 32);
    EXPECT_EQ(f.width, 32);
    Run(34012, [&] {
        EXPECT_EQ(Row(0), "000   0032,0000  0032,0032  0100");
        Click(14013);
    });
}

TEST_F(CinereelTest, StartModeOneShowsOnlyThePreviewAndClosingItHandsTheTableBack) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Run(34027, [&] {
        EXPECT_FALSE(IsHostFrameLocked());
        EXPECT_FALSE(Editor()->isVisible());
        ASSERT_TRUE(Preview()->isVisible());
        EXPECT_FALSE(PackedAnimIsValid(reinterpret_cast<const PackedAnimTable*>(doc->m_AnimTable.data())));
        WinSendMessage(AnimRecord().window2, 0x0010, 0, 0);
    });
    EXPECT_TRUE(PackedAnimIsValid(reinterpret_cast<const PackedAnimTable*>(doc->m_AnimTable.data())));
}

TEST_F(CinereelTest, FinishingWithThePreviewShownHandsTheTableBackWhenThePreviewCloses) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    auto table = [&] { return reinterpret_cast<const PackedAnimTable*>(doc->m_AnimTable.data()); };
    Run(34012, [&] {
        Text(14043, "0");
        Text(14028, "10");
        Text(14041, "10");
        Click(14049);
        Click(14018);
        EXPECT_TRUE(Preview()->isVisible());
        Click(14013);
        EXPECT_FALSE(Editor()->isVisible());
        EXPECT_FALSE(IsHostFrameLocked());
        EXPECT_FALSE(PackedAnimIsValid(table()));
        // The preview's edit button opens the editor again.
        auto* previewBar = static_cast<framework::Dialog*>(Preview()->findChild<QDialog*>("bar16018"));
        previewBar->ClickButton(16007);
        EXPECT_TRUE(Editor()->isVisible());
        EXPECT_TRUE(IsHostFrameLocked());
        EXPECT_FALSE(previewBar->GetDlgItem(16007)->isEnabled());
        Click(14013);
        previewBar->ClickButton(16007);  // enabled again once the editor is hidden
        EXPECT_TRUE(Editor()->isVisible());
        Click(14013);
        // 制作动画 while it runs opens the editor again; 动画预览 hides the
        // preview while the editor is open.
        EXPECT_TRUE(frame->ExecuteCommand(34012));
        EXPECT_TRUE(Editor()->isVisible());
        EXPECT_TRUE(frame->ExecuteCommand(34027));
        EXPECT_FALSE(Preview()->isVisible());
        EXPECT_EQ(doc->m_bAnimPreview, 0);
        Click(14018);
        EXPECT_EQ(doc->m_bAnimPreview, 1);
        Click(14013);
        EXPECT_FALSE(PackedAnimIsValid(table()));
        WinSendMessage(AnimRecord().window2, 0x0010, 0, 0);
    });
    ASSERT_TRUE(PackedAnimIsValid(table()));
    EXPECT_EQ(PackedAnimRead(table(), 0).width, 10);
}

TEST_F(CinereelTest, CellPickingAtZoomsAndScrolled) {
    OpenDoc(100, 70);
    Run(34012, [&] {
        Grid(32, 32);
        Click(14023);
        struct Case {
            int zoomIndex;
            int scrollX;
            QPoint at;
            const char* geometry;  // the row after its index
        } cases[] = {
            {0, 0, {40, 10}, "0032,0000  0032,0032  0100"},   // inside
            {0, 0, {95, 40}, "0064,0032  0032,0032  0100"},   // last whole column
            {0, 0, {97, 10}, "0000,0000  0000,0000  0100"},   // beyond it
            {0, 0, {10, 65}, "0000,0000  0000,0000  0100"},   // row 2 is not whole
            {1, 0, {130, 70}, "0064,0032  0032,0032  0100"},  // zoom 2
            {4, 200, {60, 10}, "0032,0000  0032,0032  0100"}, // zoom 8, scrolled
        };
        auto* view = Editor()->findChild<QAbstractScrollArea*>("CaView");
        int row = 0;
        for (const Case& c : cases) {
            SelectRows({row}, row);
            Zoom(c.zoomIndex);
            view->horizontalScrollBar()->setValue(c.scrollX);
            ClickAt(c.at);
            EXPECT_EQ(Row(row).substr(6), c.geometry) << c.at.x() << "," << c.at.y() << " zoom index " << c.zoomIndex;
            ++row;
        }
        Click(14013);
    });
}

TEST_F(CinereelTest, SmallCellsDrawNoGridButPickAndADragFillsARowPerCell) {
    OpenDoc(100, 70);
    Run(34012, [&] {
        Click(14023);
        auto outlined = [&] { return SheetView()->grab().toImage().pixel(0, 40) != qRgb(255, 255, 255); };
        Grid(16, 16);
        EXPECT_TRUE(outlined());
        // Cell numbers: digits of their own widths, one pixel inside the
        // cell; cell 12 (row 2) reads "1" then "2" four pixels on.
        QImage shown = SheetView()->grab().toImage();
        auto inverted = [&](int x, int y) { return shown.pixel(x, y) == qRgb(0, 0, 0); };
        EXPECT_TRUE(inverted(0, 0));
        EXPECT_FALSE(inverted(1, 1));
        EXPECT_TRUE(inverted(2, 1) && inverted(3, 1));      // "0" of cell 0
        EXPECT_TRUE(inverted(2, 33) && !inverted(3, 33));   // "1" of cell 12
        EXPECT_TRUE(!inverted(5, 33) && inverted(6, 33) && inverted(7, 33));  // its "2"
        EXPECT_FALSE(inverted(24, 24));
        ClickAt({24, 24});  // the picked cell shows inverted
        EXPECT_TRUE(SheetView()->grab().toImage().pixel(24, 24) == qRgb(0, 0, 0));
        Grid(15, 15);
        EXPECT_FALSE(outlined());
        ClickAt({20, 5});
        EXPECT_EQ(Row(1), "001   0015,0000  0015,0015  0100");
        Zoom(1);  // 30 screen pixels: the grid is back
        EXPECT_TRUE(outlined());
        Zoom(0);
        Grid(32, 32);
        SelectRows({4}, 4);
        QWidget* view = SheetView();
        QTest::mousePress(view, Qt::LeftButton, {}, {5, 5});
        QTest::mouseMove(view, {40, 5});
        QTest::mouseMove(view, {70, 5});
        QTest::mouseRelease(view, Qt::LeftButton, {}, {70, 5});
        EXPECT_EQ(Row(4), "004   0000,0000  0032,0032  0100");
        EXPECT_EQ(Row(5), "005   0032,0000  0032,0032  0100");
        EXPECT_EQ(Row(6), "006   0064,0000  0032,0032  0100");
        EXPECT_EQ(Row(7), "007   0000,0000  0000,0000  0100");
        EXPECT_TRUE(List()->item(7)->isSelected());
        // Reset asks first.
        boxes.Script({MB_ANSWER_CANCEL, MB_ANSWER_OK});
        Click(14014);
        EXPECT_EQ(Row(5), "005   0032,0000  0032,0032  0100");
        Click(14014);
        EXPECT_EQ(Row(5), "005   0000,0000  0000,0000  0100");
        EXPECT_TRUE(List()->item(0)->isSelected());
        Click(14013);
    });
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, "确实要重置吗?");
    EXPECT_EQ(boxes.Requests()[0].caption, "重置");
}

TEST_F(CinereelTest, MoveRangeDragAndTrim) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    SetLayer(doc, [](int x, int y) { return x >= 30 && x < 41 && y >= 12 && y < 20 ? 3 : 0; });
    // A frame half outside the image, as a smaller image leaves it.
    auto* table = reinterpret_cast<PackedAnimTable*>(doc->m_AnimTable.data());
    PackedAnimFrame outside{90, 60, 40, 40, 100};
    PackedAnimWrite(table, 2, &outside);
    PackedAnimSetValid(table, 1);
    Run(34012, [&] {
        QWidget* view = SheetView();
        QTest::mousePress(view, Qt::LeftButton, {}, {50, 40});
        QTest::mouseMove(view, {20, 10});
        QTest::mouseRelease(view, Qt::LeftButton, {}, {20, 10});
        EXPECT_EQ(Field(14043) + "," + Field(14045) + "," + Field(14028) + "," + Field(14041), "20,10,30,30");
        QTest::mousePress(view, Qt::LeftButton, {}, {30, 20});
        QTest::mouseMove(view, {90, 20});
        QTest::mouseRelease(view, Qt::LeftButton, {}, {90, 20});
        EXPECT_EQ(Field(14043) + "," + Field(14028), "80,20");
        // Trim: the sprite's bounding box.
        QTest::mousePress(view, Qt::LeftButton, {}, {20, 5});
        QTest::mouseRelease(view, Qt::LeftButton, {}, {60, 45});
        Click(14048);
        EXPECT_EQ(Row(0), "000   0030,0012  0011,0008  0100");
        EXPECT_TRUE(List()->item(1)->isSelected());
        // Only index 0: an empty range registers nothing.
        QTest::mousePress(view, Qt::LeftButton, {}, {60, 30});
        QTest::mouseRelease(view, Qt::LeftButton, {}, {90, 60});
        Click(14048);
        EXPECT_EQ(Field(14028), "0");
        EXPECT_EQ(Row(1), "001   0000,0000  0000,0000  0100");
        // The frame half outside: only its inside is read.
        SelectRows({2}, 2);
        EXPECT_EQ(Field(14043), "90");
        SetLayer(doc, [](int x, int y) { return x == 95 && y == 65 ? 1 : 0; });
        Click(14048);
        EXPECT_EQ(Row(2), "002   0095,0065  0001,0001  0100");
        Click(14013);
    });
}

TEST_F(CinereelTest, EditRuleRegisteringAndTheModeControls) {
    OpenDoc(300, 70);
    Run(34012, [&] {
        struct Case {
            const char* typed;
            const char* shown;
        } delays[] = {{"0", "1"}, {"12000", "9999"}, {"250", "250"}, {"12a", "250"}};
        for (const Case& c : delays) {
            Text(14047, c.typed);
            EXPECT_EQ(Field(14047), c.shown) << c.typed;
        }
        // With no row selected the fields keep what they show.
        List()->clearSelection();
        EXPECT_EQ(Field(14047), "250");
        SelectRows({0}, 0);
        Text(14047, "");
        EXPECT_EQ(Field(14047), "");
        Bar(16016)->NotifyControl(14047, framework::Notify::KillFocus);
        EXPECT_EQ(Field(14047), "1");
        Text(14025, "2000");
        EXPECT_EQ(Field(14025), "300");
        // Spins write their position into the edit, clamped to its range.
        Bar(16016)->Item<QScrollBar>(14029)->setValue(40);
        EXPECT_EQ(Field(14025), "40");
        Bar(16016)->Item<QScrollBar>(14032)->setValue(500);
        EXPECT_EQ(Field(14026), "70");

        // Move range, one row: range fields on, cell fields off.
        EXPECT_TRUE(Enabled(14043) && Enabled(14048) && Enabled(14047) && Enabled(14030));
        EXPECT_FALSE(Enabled(14025) || Enabled(14027));
        SelectRows({3, 5}, 5);  // state 2
        EXPECT_FALSE(Enabled(14043) || Enabled(14049));
        EXPECT_TRUE(Enabled(14047));
        Click(14023);
        SelectRows({3, 4, 5}, 4);  // state 1
        EXPECT_FALSE(Enabled(14025) || Enabled(14043) || Enabled(14047) || Enabled(14030));
        EXPECT_TRUE(Enabled(14027));
        Grid(32, 32);
        Text(14027, "250");
        EXPECT_EQ(Row(3), "003   0000,0000  0000,0000  0250");
        QTest::mousePress(SheetView(), Qt::LeftButton, {}, {40, 10});
        EXPECT_EQ(Row(3), "003   0000,0000  0000,0000  0250");
        EXPECT_EQ(Row(4), "004   0032,0000  0032,0032  0250");
        EXPECT_EQ(Row(5), "005   0000,0000  0000,0000  0250");
        QTest::mouseRelease(SheetView(), Qt::LeftButton, {}, {40, 10});
        SelectRows({4}, 4);  // state 0
        EXPECT_TRUE(Enabled(14025) && Enabled(14027));
        Click(14013);
    });
}

TEST_F(CinereelTest, WideFramesSurviveAndAnInvalidTableOpensEmpty) {
    SetMapToolSetting(1);  // images up to 4096 x 4096
    struct Restore {
        ~Restore() { SetMapToolSetting(0); }
    } restore;
    CPelmarkDoc* doc = OpenDoc(4096, 10);
    auto* table = reinterpret_cast<PackedAnimTable*>(doc->m_AnimTable.data());
    std::memset(table, 0x5a, sizeof *table);
    PackedAnimSetValid(table, 0);
    Run(34012, [&] {
        for (int i = 0; i < 128; ++i)
            EXPECT_EQ(Row(i).substr(3), "   0000,0000  0000,0000  0100") << i;
        Text(14028, "50");
        Text(14041, "10");
        Text(14043, "3000");
        Click(14049);
        EXPECT_EQ(Row(0), "000   3000,0000  0050,0010  0100");
        Click(14013);
    });
    Run(34012, [&] {
        EXPECT_EQ(Row(0), "000   3000,0000  0050,0010  0100");
        Click(14013);
    });
}

TEST_F(CinereelTest, HundredLayersImageChangedAndAnEmptyGrid) {
    OpenDoc(100, 70, 100);
    Run(34012, [&] {
        WinSendMessage(AnimRecord().window, WM_TOOL_IMAGECHANGED, 0, 0);
        // The view takes only its six zooms.
        Zoom(1);
        auto* view = Editor()->findChild<QAbstractScrollArea*>("CaView");
        WinHandle viewWindow = platform::WinFromWidget(view);
        ASSERT_TRUE(viewWindow);
        const int range = view->horizontalScrollBar()->maximum();
        for (WinWParam zoom : {0u, 3u, 32u}) EXPECT_EQ(WinSendMessage(viewWindow, 0x4CE, zoom, 0), 0);
        EXPECT_EQ(view->horizontalScrollBar()->maximum(), range);
        EXPECT_EQ(WinSendMessage(viewWindow, 0x4CE, 16, 0), 1);
        Zoom(0);
        Grid(0, 0);
        EXPECT_EQ(Field(14025), "1");
        EXPECT_EQ(Field(14026), "1");
        Click(14023);
        EXPECT_FALSE(SheetView()->grab().isNull());
        Click(14013);
    });
}

TEST_F(CinereelTest, NewImageAfterAResizeIsCopiedAndRepainted) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Run(34012, [&] {
        Text(14028, "90");
        MemHandle old = doc->m_hImage;
        MemHandle oldLayer = doc->m_hLayers[0];
        doc->m_hImage = CreateDib8(50, 30, 0);
        ASSERT_TRUE(doc->InitDib());
        doc->m_hLayers[0] = nullptr;
        doc->m_nLayerCount = 0;
        ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
        MemFree(old);
        MemFree(oldLayer);
        frame->SendImageToPluginWnd();  // its info block lives on the frame's stack
        EXPECT_TRUE(boxes.Requests().empty());
        QImage shown = SheetView()->grab().toImage();
        EXPECT_EQ(shown.pixel(60, 10), qRgb(255, 255, 255));
        Text(14028, "80");
        EXPECT_EQ(Field(14028), "50");
        // An image that cannot be read: the messages, and nothing drawn.
        PluginToolInfo none{};
        WinSendMessage(AnimRecord().window, WM_TOOL_NEWIMAGE, WinWParam(&none), WinLParam(&AnimRecord()));
        WinSendMessage(AnimRecord().window, WM_TOOL_IMAGECHANGED, 0, 0);
        EXPECT_FALSE(SheetView()->grab().isNull());
        Click(14013);
    });
    std::vector<std::pair<std::string, std::string>> shown;
    for (const auto& r : boxes.Requests()) shown.push_back({r.text, r.caption});
    EXPECT_EQ(shown, (std::vector<std::pair<std::string, std::string>>{{"Reload error", "animation tool"},
                                                                       {"palette ", "error"}}));
}

TEST_F(CinereelTest, TheDocumentClosedUnderThePreviewEndsTheCall) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Run(34027, [&] {
        ASSERT_TRUE(Preview()->isVisible());
        doc->OnCloseDocument();
    });
    EXPECT_EQ(AnimDocument(), nullptr);
    EXPECT_FALSE(IsHostFrameLocked());
}

}  // namespace
}  // namespace hosttest
