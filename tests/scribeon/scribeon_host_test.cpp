// Scribeon.so run by the host as the text tool, its dialog driven by control
// id inside its own loop: the preview in the layer, OK and Cancel with the
// undo step, the stored settings, the number edits, the debounce timer and a
// document closed under the dialog.
#include <algorithm>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest/QTest>

#include "app/pelmark_app.h"
#include "document/layer_factory.h"
#include "document/undo_actions.h"
#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "host_fixture.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"
#include "tools/pixel_access.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"

namespace hosttest {
namespace {

using namespace plugin_host;
using Pixels = std::vector<uint8_t>;
using framework::Dialog;

constexpr int kWidth = 160, kHeight = 80;
constexpr int kText = 6018, kFace = 6006, kSize = 6005, kPreview = 9017, kTimerMessage = 0x0113;

class ScribeonTest : public HostTest {
protected:
    std::unique_ptr<framework::Application> MakeApplication() override { return std::make_unique<CPelmarkApp>(); }

    void SetUp() override {
        HostTest::SetUp();
        ASSERT_TRUE(QFile::link(QStringLiteral(SCRIBEON_PATH), ProgramDir() + "Scribeon.so"));
        frame->resize(800, 600);
        frame->show();
        docTemplate = app->AddDocTemplate(
            framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
        doc = OpenDocument();
        ToolClickX() = 20;
        ToolClickY() = 50;
    }

    // A white image (entry 0 and 1 black, 2 white) in a view; colour 1.
    CPelmarkDoc* OpenDocument() {
        auto* d = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
        d->m_hImage = CreateDib8(kWidth, kHeight, 0);
        {
            MemLockGuard image(d->m_hImage);
            auto* table = reinterpret_cast<PaletteEntry*>(image.get() + 40);
            for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
            table[1] = {0, 0, 0, 0};
            table[2] = {255, 255, 255, 0};
        }
        EXPECT_TRUE(d->InitDib());
        EXPECT_TRUE(document::CreateLayer(*d, 0, 1));
        {
            MemLockGuard layer(d->m_hLayers[0]);
            std::memset(layer.get() + LAYER_HEADER_SIZE, 2, layer.size() - LAYER_HEADER_SIZE);
        }
        d->m_nColor = 1;
        tools::RecomposeDocument(*d);
        framework::ChildFrame* child = docTemplate->CreateNewFrame(d);
        docTemplate->InitialUpdateFrame(child, d);
        QApplication::processEvents();
        return d;
    }
    Pixels Layer() const {
        MemLockGuard layer(doc->m_hLayers[0]);
        return Pixels(layer.get(), layer.get() + layer.size());
    }
    Pixels Mask() const {
        MemLockGuard mask(doc->m_hMask);
        return Pixels(mask.get(), mask.get() + mask.size());
    }
    Pixels Composite() const {
        dib::LockedDib image(doc->m_hImage);
        const uint8_t* bits = image.bits();
        return Pixels(bits, bits + size_t(dib::LayerRowBytes(kWidth)) * kHeight);
    }
    // How many rows of the layer hold text.
    static int InkedRows(const Pixels& layer) {
        const int stride = dib::LayerRowBytes(kWidth);
        int rows = 0;
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* row = layer.data() + LAYER_HEADER_SIZE + size_t(y) * stride;
            rows += std::any_of(row, row + kWidth, [](uint8_t v) { return v != 2; });
        }
        return rows;
    }
    static int Inked(const Pixels& layer) {
        int n = 0;
        for (size_t i = LAYER_HEADER_SIZE; i < layer.size(); ++i) n += layer[i] != 2;  // text pixels, blends included
        return n;
    }
    static QTextEdit* Edit(Dialog& d) { return d.Item<QTextEdit>(kText); }
    static void Type(Dialog& d, const QString& text) {
        QTextCursor c = Edit(d)->textCursor();
        c.movePosition(QTextCursor::End);
        Edit(d)->setTextCursor(c);
        Edit(d)->insertPlainText(text);
    }
    static void Tick(Dialog& d, int n) {
        for (int i = 0; i < n; ++i) d.SendWindowMessage(kTimerMessage, 1, 0);
    }
    int Run(const std::function<void(Dialog&)>& drive) {
        framework::ScopedModalDriver driver([&](Dialog& d) {
            EXPECT_EQ(d.TemplateId(), 9000);
            EXPECT_EQ(d.windowTitle(), QString("输入文本"));
            drive(d);
        });
        const int result = RunTextTool(doc);
        EXPECT_FALSE(ToolRecordHeld());
        return result;
    }

    framework::DocTemplate* docTemplate = nullptr;
    CPelmarkDoc* doc = nullptr;
};

TEST_F(ScribeonTest, CancelAfterPreviewsLeavesLayerAndEmptyMaskAsTheyWere) {
    {
        MemLockGuard mask(doc->m_hMask);
        std::memset(mask.get(), 0, mask.size());
    }
    const Pixels layer = Layer(), mask = Mask();
    Run([&](Dialog& d) {
        Type(d, "中文");
        EXPECT_GT(Inked(Layer()), 20);  // shown at once after the pause
        ToolClickX() = 60;
        d.SendWindowMessage(WM_TOOL_CANVASCLICK, 0, 0);
        d.ClickButton(framework::IDCANCEL);
    });
    EXPECT_EQ(Layer(), layer);
    EXPECT_EQ(Mask(), mask);
    EXPECT_EQ(doc->m_nUndoIndex, -1);
}

TEST_F(ScribeonTest, OkKeepsTheTextAsOneStepAndTheSettingsComeBack) {
    const Pixels before = Layer();
    Run([&](Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kSize), QString("20.0"));
        d.SetDlgItemText(kSize, "12.5");
        EXPECT_EQ(d.GetDlgItemText(kSize), QString("12.5"));
        d.SetDlgItemText(kSize, "12.55");
        EXPECT_EQ(d.GetDlgItemText(kSize), QString("12.5"));
        d.SetDlgItemText(kSize, "1300");
        EXPECT_EQ(d.GetDlgItemText(kSize), QString("12.5"));
        ASSERT_EQ(BoxTexts().size(), 1u);
        EXPECT_EQ(BoxTexts()[0], " 请输入 1～1296 之间的数值");
        d.SetDlgItemText(kSize, "");
        EXPECT_EQ(d.GetDlgItemText(kSize), QString("1.0"));
        d.SetDlgItemText(kSize, "30.0");
        d.ClickButton(9013);  // vertical, centred
        Edit(d)->selectAll();
        Type(d, "文字");
        d.ClickButton(framework::IDOK);
    });
    const Pixels after = Layer();
    EXPECT_GT(Inked(after), 30);
    ASSERT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kTextToolAction);
    EXPECT_TRUE(doc->IsModified());
    const QString stored = app->GetProfileString("Settings", "Moji");
    EXPECT_TRUE(stored.endsWith(",4,1,1,30.00,20.00,0.00,0")) << stored.toStdString();
    Run([&](Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kSize), QString("30.0"));
        EXPECT_TRUE(d.IsDlgButtonChecked(9013));
        d.ClickButton(framework::IDCANCEL);
    });
    doc->OnEditUndo();
    EXPECT_EQ(Layer(), before);
}

TEST_F(ScribeonTest, FastTypingRendersOnceAfterAPauseWithTheLastCharacter) {
    Run([&](Dialog& d) {
        Type(d, "中");
        const Pixels one = Layer();
        EXPECT_GT(Inked(one), 10);
        Type(d, "文");
        Type(d, "字");
        EXPECT_EQ(Layer(), one);  // typing on: nothing yet
        Tick(d, 10);
        EXPECT_EQ(Layer(), one);
        Tick(d, 1);  // more than 9 ticks without a change
        const Pixels three = Layer();
        EXPECT_GT(Inked(three), Inked(one) * 2);
        Tick(d, 20);  // once only
        EXPECT_EQ(Layer(), three);
        // After the pause a change shows at once, its last character too.
        Type(d, "体");
        EXPECT_GT(Inked(Layer()), Inked(three));
        d.ClickButton(framework::IDOK);
    });
    EXPECT_GT(Inked(Layer()), 40);
}

// The format starts on a face the user can read: a stored face that is not
// installed gives way to fontconfig's match for it (with the language of its
// character set), and without stored settings the text box's own face is
// matched; never simply the first family of the list.
TEST_F(ScribeonTest, StartFaceIsFontconfigsMatchForTheStoredFace) {
    struct Case {
        const char* stored;
        const char* face;
    } cases[] = {
        {"[宋体],0,1,0,1,0,20.00,20.00,0.00,0", "WenQuanYi Micro Hei"},
        {"[ＭＳ Ｐゴシック],0,128,0,1,0,20.00,20.00,0.00,0", "WenQuanYi Micro Hei"},
        {"[DejaVu Serif],0,1,0,1,0,20.00,20.00,0.00,0", "DejaVu Serif"},
        {"", "WenQuanYi Micro Hei"},  // the text box's sans-serif face for Chinese
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        app->WriteProfileString("Settings", "Moji", QString::fromUtf8(c.stored));
        Run([&](Dialog& d) {
            EXPECT_EQ(d.Item<QComboBox>(kFace)->currentText().toStdString(), c.face);
            Type(d, "H");
            EXPECT_GE(InkedRows(Layer()), 12);  // a 20-point capital, not a speck
            d.ClickButton(framework::IDOK);
        });
        EXPECT_TRUE(app->GetProfileString("Settings", "Moji").startsWith(QString("[%1],").arg(QString::fromUtf8(c.face))));
        doc->OnEditUndo();
    }
}

// Keys typed into the text box reach the canvas through the dialog's own
// timer: the first at once, the rest once typing pauses, recomposed into
// the image the view paints.
TEST_F(ScribeonTest, TypedTextReachesTheImageThroughTheRealTimer) {
    const Pixels composite = Composite();
    Run([&](Dialog& d) {
        QTest::keyClicks(Edit(d), "Hi");
        QTest::keyClick(Edit(d), Qt::Key_Return);
        QTest::keyClicks(Edit(d), "Hi");
        const Pixels first = Layer();
        EXPECT_GE(InkedRows(first), 12);  // "H" at once
        QTest::qWait(300);
        EXPECT_GE(InkedRows(Layer()), InkedRows(first) + 12);  // the second line after the pause
        const Pixels layer = Layer();
        EXPECT_EQ(Composite(), Pixels(layer.begin() + LAYER_HEADER_SIZE,
                                      layer.begin() + LAYER_HEADER_SIZE + long(Composite().size())));
        EXPECT_NE(Composite(), composite);
        d.ClickButton(framework::IDOK);
    });
    ASSERT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kTextToolAction);
    doc->OnEditUndo();
    EXPECT_EQ(Composite(), composite);
}

TEST_F(ScribeonTest, DocumentClosedUnderTheDialogEndsItAsCancel) {
    framework::ChildFrame* child = nullptr;
    Run([&](Dialog& d) {
        Type(d, "中");
        delete doc;  // the document goes with the dialog still open
        doc = nullptr;
        EXPECT_FALSE(d.isVisible());
        (void)child;
    });
    EXPECT_FALSE(ToolRecordHeld());
    doc = OpenDocument();
    Run([&](Dialog& d) {
        Type(d, "字");
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(doc->m_nUndoIndex, 0);
}

}  // namespace
}  // namespace hosttest
