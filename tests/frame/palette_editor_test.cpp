// The palette editor (dialog 236) in the running editor, worked by control
// id: "＜替换", palette files, the image prompt, the colour operations and
// Cancel, which gives back the image, every layer and the colour mode.
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <vector>

#include "dialogs/flag_color_dlgs.h"
#include "dialogs/gradient_dlg.h"
#include "dialogs/palette_edit_dlg.h"
#include "dialogs/reduce_colors_dlg.h"
#include "document/clut_file.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/working_palette.h"
#include "frame_fixture.h"
#include "framework/cmd_ui.h"
#include "framework/program_globals.h"
#include "framework/support_file_dialog.h"
#include "imaging/dib.h"
#include "imaging/dib_access.h"
#include "imaging/swatch_copy.h"
#include "palettes/color_palette_bar.h"
#include "platform/memory.h"
#include "tools/pixel_access.h"
#include "view/pelmark_view.h"

namespace frametest {
namespace {

using framework::Dialog;
using Editor = CPaletteEditDlg;

QByteArray BlockBytes(MemHandle h) {
    MemLockGuard lock(h);
    return lock ? QByteArray(reinterpret_cast<const char*>(lock.get()), qsizetype(lock.size())) : QByteArray();
}

QByteArray TableBytes(MemHandle image) {
    const ColorTable t = ReadColorTable(image);
    return QByteArray(reinterpret_cast<const char*>(t.data()), qsizetype(sizeof(t)));
}

QPoint CellCentre(int cell) { return CColorGrid::CellRect(cell).center(); }

void Drag(QWidget* grid, int from, int to) {
    QTest::mousePress(grid, Qt::LeftButton, {}, CellCentre(from));
    QTest::mouseMove(grid, CellCentre(to));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, CellCentre(to));
}

// What the document holds that Cancel must give back.
struct DocState {
    QByteArray table, composite;
    std::vector<QByteArray> layers;
    uint16_t lock = 0;
    int color = 0, mode = 0;
    bool modified = false;
    bool operator==(const DocState&) const = default;
};

class PaletteEditorTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        ClearWorkingPalette();
        Editor::ClutPath().clear();
    }
    void TearDown() override {
        MemSetLimit(MEM_NO_LIMIT);
        FrameTest::TearDown();
    }

    // An 8 x 4 image with `layers` layers of distinct pixels; entries 2 and
    // 5 are used by no layer. Entry i is (5i, 255 - i, 3i, i / 2). A
    // 16-colour document (mode 1) uses entries below 16 and has the others 0;
    // any other uses 40 entries. The current colour is 7 and the document
    // is not modified.
    void MakeDocument(int layers, bool sixteen = false) {
        doc = NewDocument();
        ASSERT_TRUE(doc);
        doc->m_hImage = CreateDib8(8, 4, 0);
        for (int i = 0; i < (sixteen ? 16 : 256); ++i)
            SetDibPaletteEntry(doc->m_hImage, i, uint8_t(5 * i), uint8_t(255 - i), uint8_t(3 * i), uint8_t(i / 2));
        ASSERT_TRUE(doc->InitDib());
        std::vector<int> used;
        for (int i = 0; used.size() < (sixteen ? 14u : 40u); ++i)
            if (i != 2 && i != 5) used.push_back(i);
        for (int k = 0; k < layers; ++k) {
            ASSERT_TRUE(document::CreateLayer(*doc, k, 1));
            MemLockGuard lock(doc->m_hLayers[size_t(k)]);
            uint8_t* pixels = lock.get() + LAYER_HEADER_SIZE;
            for (int p = 0; p < 32; ++p) pixels[p] = uint8_t(used[size_t((k * 11 + p) % used.size())]);
        }
        ASSERT_TRUE(tools::RecomposeDocument(*doc));
        doc->m_nColorMode = sixteen ? 1 : 0;
        doc->m_wPaletteLock = sixteen ? 0xFFFE : 0;
        doc->m_nColor = 7;
        doc->SetModified(false);
    }
    DocState State() const {
        DocState s{TableBytes(doc->m_hImage), BlockBytes(doc->m_hImage), {}, doc->m_wPaletteLock,
                   doc->m_nColor, doc->m_nColorMode, doc->IsModified()};
        for (int i = 0; i < doc->m_nLayerCount; ++i) s.layers.push_back(BlockBytes(doc->m_hLayers[size_t(i)]));
        return s;
    }
    // Opens the editor by its command; `work` works it (and any dialog it
    // opens, by template id). The template ids seen.
    std::vector<int> Run(std::function<void(Dialog&)> work, framework::CommandId id = CPelmarkView::kPaletteEditorId) {
        std::vector<int> seen;
        framework::ScopedModalDriver driver([&](Dialog& d) {
            seen.push_back(d.TemplateId());
            work(d);
        });
        Frame()->ExecuteCommand(id);
        return seen;
    }
    static WorkingPalette Ramp(uint8_t seed) {
        WorkingPalette p{};
        for (int i = 0; i < 256; ++i) p[size_t(i)] = {uint8_t(i + seed), uint8_t(i * 7), uint8_t(255 - i), uint8_t(seed)};
        return p;
    }
    static QByteArray Bytes(const WorkingPalette& p) { return document::ClutFileBytes(p); }

    CPelmarkDoc* doc = nullptr;
    QTemporaryDir files;
};

TEST_F(PaletteEditorTest, ReplacingLeavesTheSixteenColourModeInOneStep) {
    MakeDocument(1, true);
    const QByteArray before = TableBytes(doc->m_hImage);
    const WorkingPalette ramp = Ramp(3);
    Run([&](Dialog& d) {
        ASSERT_EQ(d.TemplateId(), Editor::kTemplateId);
        GetWorkingPalette() = ramp;
        d.ClickButton(Editor::kReplaceId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(TableBytes(doc->m_hImage), Bytes(ramp));
    EXPECT_EQ(doc->m_nColorMode, 0);
    EXPECT_EQ(doc->m_wPaletteLock, 0);
    EXPECT_EQ(doc->m_nColor, 0);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kEditModeAction);
    EXPECT_EQ(doc->m_UndoSlots[0].label, "置换调色板");
    doc->OnEditUndo();
    EXPECT_EQ(TableBytes(doc->m_hImage), before);
    EXPECT_EQ(doc->m_nColorMode, 1);
    EXPECT_EQ(doc->m_wPaletteLock, 0xFFFE);
    EXPECT_EQ(doc->m_nColor, 7);
}

TEST_F(PaletteEditorTest, ReplacingRefusedByTheProbeChangesNothing) {
    MakeDocument(1, true);
    const DocState before = State();
    Run([&](Dialog& d) {
        GetWorkingPalette() = Ramp(3);
        MemSetLimit(MemBytesInUse() + 4096);
        d.ClickButton(Editor::kReplaceId);
        MemSetLimit(MEM_NO_LIMIT);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"工作内存不足"});
}

TEST_F(PaletteEditorTest, CancelGivesBackImageLayersAndColourMode) {
    struct Case {
        const char* name;
        bool sixteen;
        std::function<void(Dialog&)> work;
    };
    const std::vector<Case> cases = {
        {"＜替换", true,
         [](Dialog& d) {
             GetWorkingPalette() = Ramp(40);
             d.ClickButton(Editor::kReplaceId);
         }},
        {"减色 to 16", false,
         [](Dialog& d) {
             d.ClickButton(Editor::kReduceId);
         }},
        {"删除未使用色", false, [](Dialog& d) { d.ClickButton(Editor::kDeleteUnusedId); }},
        {"替换颜色 swap", false,
         [](Dialog& d) {
             d.ClickButton(Editor::kReplaceColorId);
             Drag(d.GetDlgItem(Editor::kCurrentGridId), 1, 20);
         }},
    };
    for (int layers : {3, 1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(layers) + " layers");
            MakeDocument(layers, c.sixteen);
            const DocState before = State();
            const int undoIndex = doc->m_nUndoIndex;
            bool changed = false;
            const std::vector<int> seen = Run([&](Dialog& d) {
                if (d.TemplateId() == CReduceColorsDlg::kTemplateId) {
                    d.SetDlgItemInt(CReduceColorsDlg::kTargetId, 16);
                    d.ClickButton(framework::IDOK);
                    return;
                }
                if (d.TemplateId() == CUnusedColorDlg::kTemplateId) {
                    d.ClickButton(framework::IDOK);
                    return;
                }
                c.work(d);
                changed = !(State() == before);
                d.ClickButton(framework::IDCANCEL);
            });
            EXPECT_EQ(seen.front(), Editor::kTemplateId);
            EXPECT_TRUE(changed);
            const DocState after = State();
            EXPECT_EQ(after.table, before.table);
            EXPECT_EQ(after.composite, before.composite);
            EXPECT_EQ(after.layers, before.layers);
            EXPECT_EQ(after.lock, before.lock);
            EXPECT_EQ(after.color, before.color);
            EXPECT_EQ(after.mode, before.mode);
            EXPECT_EQ(after.modified, before.modified);
            // No undo step is left of the work given back.
            EXPECT_EQ(doc->m_nUndoIndex, undoIndex);
            // The composite is that of the restored layers.
            const QByteArray composite = BlockBytes(doc->m_hImage);
            ASSERT_TRUE(tools::RecomposeDocument(*doc));
            EXPECT_EQ(BlockBytes(doc->m_hImage), composite);
            doc->SetModified(false);
            doc->OnCloseDocument();
        }
    }
}

TEST_F(PaletteEditorTest, ReplaceColourSwitchesTheGridsBetweenSelectingAndSwapping) {
    MakeDocument(1);
    Run([&](Dialog& d) {
        auto& editor = static_cast<Editor&>(d);
        QWidget* grid = d.GetDlgItem(Editor::kCurrentGridId);
        EXPECT_FALSE(editor.SwapMode());
        const QByteArray before = TableBytes(doc->m_hImage);
        Drag(grid, 3, 8);
        EXPECT_EQ(TableBytes(doc->m_hImage), before);
        EXPECT_FALSE(doc->CanUndo());
        d.ClickButton(Editor::kReplaceColorId);
        EXPECT_TRUE(editor.SwapMode());
        EXPECT_EQ(d.IsDlgButtonChecked(Editor::kReplaceColorId), 1);
        Drag(grid, 3, 8);
        uint8_t r, g, b, a;
        GetDibPaletteEntry(doc->m_hImage, 8, &r, &g, &b, &a);
        EXPECT_EQ(r, 15);
        ASSERT_EQ(doc->m_nUndoIndex, 0);
        EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kColorEditAction);
        EXPECT_EQ(doc->m_UndoSlots[0].label, "色置换");
        d.ClickButton(Editor::kReplaceColorId);
        EXPECT_FALSE(editor.SwapMode());
        d.ClickButton(framework::IDOK);
    });
}

TEST_F(PaletteEditorTest, TheColourBarsEditorReloadsTheWorkingPaletteUnlessOk) {
    MakeDocument(1);
    CColorPaletteBar* bar = Frame()->ColorPalette();
    bar->show();
    auto* button = qobject_cast<QPushButton*>(bar->Control(CColorPaletteBar::kEditorId));
    ASSERT_TRUE(button);
    const WorkingPalette ramp = Ramp(9);
    std::vector<int> seen;
    {
        framework::ScopedModalDriver driver([&](Dialog& d) {
            seen.push_back(d.TemplateId());
            GetWorkingPalette() = ramp;
            d.ClickButton(framework::IDCANCEL);
        });
        button->click();
    }
    EXPECT_EQ(seen, std::vector<int>{Editor::kTemplateId});
    EXPECT_EQ(Bytes(GetWorkingPalette()), TableBytes(doc->m_hImage));
    {
        framework::ScopedModalDriver driver([&](Dialog& d) {
            GetWorkingPalette() = ramp;
            d.ClickButton(framework::IDOK);
        });
        button->click();
    }
    EXPECT_EQ(Bytes(GetWorkingPalette()), Bytes(ramp));
}

TEST_F(PaletteEditorTest, TheCommandIsDisabledUnderItsLock) {
    MakeDocument(1);
    EXPECT_TRUE(Frame()->QueryCommandState(CPelmarkView::kPaletteEditorId).IsEnabled());
    Frame()->LockSelectCommands(0);
    EXPECT_FALSE(Frame()->QueryCommandState(CPelmarkView::kPaletteEditorId).IsEnabled());
    EXPECT_TRUE(Run([](Dialog& d) { d.ClickButton(framework::IDCANCEL); }).empty());
    Frame()->ClearCommandLocks();
    EXPECT_TRUE(Frame()->QueryCommandState(CPelmarkView::kPaletteEditorId).IsEnabled());
}

TEST_F(PaletteEditorTest, PaletteFilesLoadSaveAndFail) {
    MakeDocument(1);
    const QString loaded = files.filePath("ramp.clt");
    const QString saved = files.filePath("saved.clt");
    ASSERT_TRUE(document::WriteClutFile(loaded, Ramp(5)));
    dialogs::FileDialogRecorder prompts({dialogs::FileDialogAnswer::Ok({loaded}),
                                         dialogs::FileDialogAnswer::Ok({saved}),
                                         dialogs::FileDialogAnswer::Ok({files.filePath("none.clt")}),
                                         dialogs::FileDialogAnswer::Ok({files.filePath("no/dir/x.clt")})});
    QByteArray afterLoad;
    Run([&](Dialog& d) {
        d.ClickButton(Editor::kOpenClutId);
        afterLoad = Bytes(GetWorkingPalette());
        // Saving right after loading writes the document's palette.
        d.ClickButton(Editor::kSaveClutId);
        GetWorkingPalette() = Ramp(77);
        d.ClickButton(Editor::kOpenClutId);
        EXPECT_EQ(Bytes(GetWorkingPalette()), Bytes(Ramp(77)));
        d.ClickButton(Editor::kSaveClutId);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(afterLoad, Bytes(Ramp(5)));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), TableBytes(doc->m_hImage));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{(files.filePath("none.clt") + " 无法打开").toStdString(),
                                                    (files.filePath("no/dir/x.clt") + " 无法保存").toStdString()}));
    ASSERT_EQ(prompts.Requests().size(), 4u);
    for (const auto& request : prompts.Requests()) {
        ASSERT_EQ(request.filters.size(), 1u);
        EXPECT_EQ(request.filters[0].name, QStringLiteral("调色板文件 (*.CLT)"));
        EXPECT_EQ(request.filters[0].patterns, QStringLiteral("*.clt;*.Clt;*.CLT"));
    }
    EXPECT_TRUE(prompts.Requests()[0].open);
    EXPECT_FALSE(prompts.Requests()[1].open);
    EXPECT_EQ(Editor::ClutPath(), files.filePath("no/dir/x.clt"));
}

TEST_F(PaletteEditorTest, ThePaletteFromAnImageAsksForAnExistingFileAndKeepsTheLastOpenedPath) {
    MakeDocument(1);
    const QString image = files.filePath("picture.gif");
    QFile(image).open(QIODevice::WriteOnly);
    SetLastOpenedPath(QStringLiteral("/somewhere/last.gif"));
    dialogs::FileDialogRecorder prompts({dialogs::FileDialogAnswer::Ok({image})});
    const WorkingPalette ramp = Ramp(1);
    Run([&](Dialog& d) {
        GetWorkingPalette() = ramp;
        d.ClickButton(Editor::kFromImageId);
        d.ClickButton(framework::IDOK);
    });
    ASSERT_EQ(prompts.Requests().size(), 1u);
    EXPECT_TRUE(prompts.Requests()[0].open);
    EXPECT_TRUE(prompts.Requests()[0].flags & dialogs::OFN_FILEMUSTEXIST);
    EXPECT_EQ(GetLastOpenedPath(), QStringLiteral("/somewhere/last.gif"));
    // The file gives no palette: the working palette stays.
    EXPECT_EQ(Bytes(GetWorkingPalette()), Bytes(ramp));
}

TEST_F(PaletteEditorTest, TheGradientStartsFromTheEditorWithTheDocument) {
    MakeDocument(1);
    Run([&](Dialog& d) {
        EXPECT_EQ(Editor::OpenEditor(), &d);
        d.ClickButton(Editor::kGradationId);
        CGradientDlg* gradient = Frame()->GradientDialog();
        EXPECT_TRUE(gradient->isVisible());
        EXPECT_EQ(gradient->Document(), doc);
        EXPECT_EQ(gradient->OwnerEditor(), &d);
        EXPECT_TRUE(CGradientDlg::StartedFromPaletteEditor());
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(Editor::OpenEditor(), nullptr);
    EXPECT_FALSE(CGradientDlg::StartedFromPaletteEditor());
    Frame()->GradientDialog()->hide();
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

// While the editor is open (the colour bar lent to it by 制作渐变), the
// bar's 设定 opens no second editor.
TEST_F(PaletteEditorTest, TheColourBarOpensNoSecondEditor) {
    MakeDocument(1);
    CColorPaletteBar* bar = Frame()->ColorPalette();
    ASSERT_TRUE(bar);
    bar->show();
    int editors = 0;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        if (d.TemplateId() != Editor::kTemplateId) return;
        ++editors;
        if (editors > 1) return d.ClickButton(framework::IDCANCEL);
        d.ClickButton(Editor::kGradationId);
        QTest::mouseClick(bar->Control(CColorPaletteBar::kEditorId), Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        d.ClickButton(framework::IDCANCEL);
    });
    QTest::mouseClick(bar->Control(CColorPaletteBar::kEditorId), Qt::LeftButton);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(editors, 1);
}

}  // namespace
}  // namespace frametest
