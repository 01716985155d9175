// The application's commands and menu hooks: filter and grid preset items,
// help, About, scanner services.
#include <gtest/gtest.h>

#include <algorithm>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/about_dlg.h"
#include "app/help_page.h"
#include "framework/program_globals.h"
#include "app_fixture.h"
#include "dialogs/new_image_dlg.h"
#include "document/pelmark_doc.h"
#include "framework/cmd_ui.h"
#include "framework/command_action.h"
#include "framework/document.h"
#include "framework/dialog.h"
#include "framework/menu_builder.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/tool_palette.h"
#include "platform/message_box_recorder.h"
#include "tools/tool_dispatch.h"
#include "view/pelmark_view.h"

namespace apptest {
namespace {

using framework::CommandId;

std::vector<CommandId> Ids(QMenu* menu) {
    std::vector<CommandId> ids;
    for (QAction* action : menu->actions()) ids.push_back(framework::CommandIdOf(action));
    return ids;
}

class CommandsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(Start({"-e"}));
        using framework::MenuCommand;
        using framework::MenuPopup;
        std::vector<framework::MenuItem> menu;
        for (int i = 0; i < 7; ++i) {
            std::vector<framework::MenuItem> items = {MenuCommand(40000 + i, QString("item %1").arg(i))};
            if (i == 4) items.insert(items.begin(), MenuCommand(33000, "(无)"));
            menu.push_back(MenuPopup(QString("menu %1").arg(i), items));
        }
        app->GetMainFrame()->LoadMenuBar(menu);
    }
    QMenu* Menu(int index) { return app->GetMainFrame()->menuBar()->actions().at(index)->menu(); }
    // File New of a 16 x 16 256-colour image; the view of its frame.
    CPelmarkView* NewImageView() {
        platform::MessageBoxRecorder boxes;
        framework::ScopedModalDriver answer([](framework::Dialog& d) {
            d.SetDlgItemText(CNewImageDlg::kWidthId, "16");
            d.SetDlgItemText(CNewImageDlg::kHeightId, "16");
            d.ClickButton(CNewImageDlg::kMode256Id);
            d.ClickButton(framework::IDOK);
        });
        if (!app->ExecuteCommand(framework::ID_FILE_NEW)) return nullptr;
        return dynamic_cast<CPelmarkView*>(app->GetMainFrame()->GetActiveView());
    }
};

TEST_F(CommandsTest, FilterMenuItems) {
    EXPECT_EQ(app->GetFilterMenuCounter(), 1);
    app->RemoveFilterMenuItems();  // takes the placeholder away
    EXPECT_EQ(Ids(Menu(4)), std::vector<CommandId>{40004});
    app->AddFilterMenuItem("模糊");
    app->AddFilterMenuItem("渐变");
    EXPECT_EQ(app->GetFilterMenuCounter(), 3);
    EXPECT_EQ(Ids(Menu(4)), (std::vector<CommandId>{40004, 2001, 2002}));
    EXPECT_EQ(Menu(4)->actions().at(1)->text(), "模糊");
    // Removing again takes only the filters and starts over at 2001.
    app->RemoveFilterMenuItems();
    EXPECT_EQ(Ids(Menu(4)), std::vector<CommandId>{40004});
    app->AddFilterMenuItem("马赛克");
    EXPECT_EQ(Ids(Menu(4)), (std::vector<CommandId>{40004, 2001}));
    for (int i = 0; i < 120; ++i) app->AddFilterMenuItem(QString("f%1").arg(i));
    EXPECT_EQ(Menu(4)->actions().size(), 1 + 99);
    EXPECT_EQ(framework::CommandIdOf(Menu(4)->actions().back()), 2099u);
    for (int i : {0, 1, 2, 3, 5, 6}) EXPECT_EQ(Menu(i)->actions().size(), 1) << i;
}

TEST_F(CommandsTest, GridPresetMenuItems) {
    for (int i = 0; i < 4; ++i) app->AddGridPresetMenuItem(i, QString("%1.  16,16  8,8").arg(i + 1));
    app->AddGridPresetMenuItem(4, "out of range");
    app->AddGridPresetMenuItem(-1, "out of range");
    EXPECT_EQ(Ids(Menu(5)), (std::vector<CommandId>{40005, 32884, 32885, 32886, 32887}));
    EXPECT_EQ(Menu(5)->actions().at(1)->text(), "1.  16,16  8,8");
    app->RemoveGridPresetMenuItems();
    EXPECT_EQ(Ids(Menu(5)), std::vector<CommandId>{40005});
    EXPECT_EQ(Menu(6)->actions().size(), 1);
}

TEST_F(CommandsTest, HelpOpensTheProgramsPage) {
    std::vector<QUrl> urls;
    bool handlerWorks = true;
    UrlOpener previous = SetUrlOpener([&](const QUrl& url) {
        urls.push_back(url);
        return handlerWorks;
    });
    platform::MessageBoxRecorder boxes;
    // No page: "错误" without asking the desktop.
    EXPECT_TRUE(app->ExecuteCommand(CPelmarkApp::kHelpContextId));
    EXPECT_TRUE(urls.empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "错误");

    QFile page(programDir.filePath("index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    QUrl expected = QUrl::fromLocalFile(GetProgramDirectory() + "index.html");
    for (CommandId id : {CPelmarkApp::kHelpContextId, CPelmarkApp::kHelpSearchId, CPelmarkApp::kHelpId}) {
        EXPECT_TRUE(app->QueryCommandState(id).IsEnabled());
        EXPECT_TRUE(app->ExecuteCommand(id));
    }
    EXPECT_EQ(urls, (std::vector<QUrl>{expected, expected, expected}));
    EXPECT_EQ(boxes.Count(), 1u);
    handlerWorks = false;
    app->ExecuteCommand(CPelmarkApp::kHelpSearchId);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[1].text, "错误");
    SetUrlOpener(previous);
}

TEST_F(CommandsTest, AboutBox) {
    QString product, version;
    int runs = 0;
    framework::ScopedModalDriver driver([&](framework::Dialog& dialog) {
        ++runs;
        EXPECT_EQ(dialog.TemplateId(), CAboutDlg::kTemplateId);
        product = dialog.GetDlgItemText(CAboutDlg::kProductTextId);
        version = dialog.GetDlgItemText(CAboutDlg::kVersionTextId);
        dialog.ClickButton(framework::IDOK);
    });
    EXPECT_TRUE(app->ExecuteCommand(framework::ID_APP_ABOUT));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(product, "Kavolt");
    EXPECT_EQ(version, "版本 1.00.11");
}

TEST_F(CommandsTest, ScannerServicesWithoutADocument) {
    MemHandle picture = CreateDib8(5, 4, 0);
    EXPECT_EQ(app->ScaleToActiveImage(picture), picture);  // unchanged, still ours
    EXPECT_EQ(app->ConvertAcquiredImage(picture), nullptr);
    EXPECT_TRUE(MemIsValid(picture));
    MemFree(picture);
    size_t blocks = MemBlockCount();
    app->SetUnderlayFromScan(CreateDib8(5, 4, 0));
    EXPECT_EQ(MemBlockCount(), blocks);
    app->OnScanAsNewFile(nullptr);
    EXPECT_TRUE(app->Documents().empty());
}

TEST_F(CommandsTest, AScannedUnderlayGoesToTheActiveDocument) {
    app->OnScanAsNewFile(CreateDib8(5, 4, 0));
    auto* doc = dynamic_cast<CPelmarkDoc*>(app->GetMainFrame()->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    ASSERT_GT(doc->m_nLayerCount, 0);
    // A scanned picture arrives converted: another size is kept when not scaled.
    platform::MessageBoxRecorder boxes({MB_ANSWER_NO});
    app->SetUnderlayFromScan(CreateDib8(7, 3, 0));
    EXPECT_EQ(boxes.Count(), 1u);
    ASSERT_NE(doc->m_hUnderlay, nullptr);
    EXPECT_EQ(doc->m_bHasUnderlay, 1);
    EXPECT_EQ(doc->m_nUnderlayWidth, 7);
    EXPECT_EQ(doc->m_nUnderlayHeight, 3);
}

TEST_F(CommandsTest, FileOpenOpensEveryChosenFileInOrder) {
    platform::MessageBoxRecorder boxes;
    EXPECT_TRUE(app->ExecuteCommand(framework::ID_FILE_OPEN));  // cancelled
    EXPECT_TRUE(app->opened.empty());
    QString a = MakeFile("a.gif"), b = MakeFile("b.gif"), c = MakeFile("c.gif");
    app->promptAnswer = {c, a, b};
    app->ExecuteCommand(framework::ID_FILE_OPEN);
    EXPECT_EQ(app->opened, (std::vector<QString>{c, a, b}));
    EXPECT_TRUE(GetOpenedPaths().isEmpty());
    app->opened.clear();
    app->promptAnswer = {a};
    app->ExecuteCommand(framework::ID_FILE_OPEN);
    EXPECT_EQ(app->opened, std::vector<QString>{a});
}

TEST_F(CommandsTest, FileNewAndReopen) {
    {
        // File New asks for the size in the new-image dialog.
        platform::MessageBoxRecorder boxes;
        framework::ScopedModalDriver answer([](framework::Dialog& d) {
            ASSERT_EQ(d.TemplateId(), CNewImageDlg::kTemplateId);
            d.SetDlgItemText(CNewImageDlg::kWidthId, "24");
            d.SetDlgItemText(CNewImageDlg::kHeightId, "40");
            d.ClickButton(CNewImageDlg::kMode16Id);
            d.ClickButton(framework::IDOK);
        });
        EXPECT_TRUE(app->ExecuteCommand(framework::ID_FILE_NEW));
        EXPECT_EQ(boxes.Count(), 1u);  // the program directory has no "menu.txt"
    }
    ASSERT_EQ(app->Documents().size(), 1u);
    auto* made = dynamic_cast<CPelmarkDoc*>(app->Documents()[0]);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->m_nWidth, 24);
    EXPECT_EQ(made->m_nHeight, 40);
    EXPECT_EQ(made->m_nColorMode, 1);
    framework::Document standIn;
    app->fakeDocument = &standIn;
    QString path = MakeFile("again.gif");
    EXPECT_EQ(app->ReopenDocument(path), &standIn);
    Flush();
    // The active document was closed before the path was opened.
    EXPECT_TRUE(app->Documents().empty());
    EXPECT_EQ(app->opened, std::vector<QString>{path});
    EXPECT_EQ(GetLastOpenedPath(), path);
}

TEST_F(CommandsTest, FileNewThenThePenDrawsAndUndoTakesItBack) {
    CPelmarkView* view = NewImageView();
    ASSERT_NE(view, nullptr);
    CPelmarkDoc* doc = view->GetDocument();
    doc->SetEditMode(tools::kPenTool);
    doc->m_nColor = 2;
    auto index = [&](int x, int y) {
        dib::LockedDib dib(doc->m_hImage);
        return dib.bits()[size_t(15 - y) * 16 + size_t(x)];
    };
    ASSERT_NE(index(3, 4), 2);
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseMove(view, QPoint(9, 4));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(9, 4));
    for (int x = 3; x <= 9; ++x) EXPECT_EQ(index(x, 4), 2) << x;
    EXPECT_TRUE(app->GetMainFrame()->SendCommand(framework::ID_EDIT_UNDO));
    EXPECT_NE(index(5, 4), 2);
    EXPECT_TRUE(app->GetMainFrame()->SendCommand(framework::ID_EDIT_REDO));
    EXPECT_EQ(index(5, 4), 2);
}

TEST_F(CommandsTest, TheLineButtonWithTheFourPointListDrawsACurveAtTheFourthClick) {
    CMainFrame* frame = app->Frame();
    CPelmarkView* view = NewImageView();
    ASSERT_NE(view, nullptr);
    CPelmarkDoc* doc = view->GetDocument();
    ASSERT_TRUE(frame->SendCommand(tools::kLineTool));
    EXPECT_EQ(doc->m_nToolId, tools::kLineTool);
    auto* lineType = qobject_cast<QComboBox*>(frame->ToolPalette()->Control(412));
    ASSERT_NE(lineType, nullptr);
    lineType->setCurrentIndex(1);  // "４点式"
    EXPECT_EQ(frame->GetToolOption(3), 1);
    doc->m_nColor = 2;
    auto inked = [&] {
        dib::LockedDib dib(doc->m_hImage);
        return std::count(dib.bits(), dib.bits() + 16 * 16, uint8_t(2));
    };
    const QPoint clicks[] = {{1, 1}, {12, 1}, {12, 12}, {1, 12}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(inked(), 0) << i;
        QTest::mouseClick(view, Qt::LeftButton, {}, clicks[i]);
    }
    EXPECT_GT(inked(), 20);
}

}  // namespace
}  // namespace apptest
