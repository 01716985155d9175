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
#include <QMenu>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest/QTest>

#include "app/pelmark_app.h"
#include "document/layer_factory.h"
#include "document/undo_actions.h"
#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "host_fixture.h"
#include "imaging/dib_access.h"
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
constexpr int kText = 6018, kFace = 6006, kStyle = 6007, kSize = 6005, kAntiAlias = 6014, kColor = 9016,
              kBackground = 9021, kPreview = 9017, kTimerMessage = 0x0113;

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
    static int Count(const Pixels& layer, uint8_t index) {
        return int(std::count(layer.begin() + LAYER_HEADER_SIZE, layer.end(), index));
    }
    // Mono glyphs: each pixel of the text is in its own colour.
    static void Mono(Dialog& d) {
        if (d.IsDlgButtonChecked(kAntiAlias)) d.ClickButton(kAntiAlias);
    }
    static void Choose(Dialog& d, int combo, const QString& text) {
        auto* box = d.Item<QComboBox>(combo);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        d.NotifyControl(combo, framework::Notify::SelChange);
    }
    static void PutCaret(Dialog& d, int position) {
        QTextCursor c = Edit(d)->textCursor();
        c.setPosition(position);
        Edit(d)->setTextCursor(c);
    }
    // Types at the end as keys would: a caret already there keeps the
    // format set for what is typed next.
    static void Type(Dialog& d, const QString& text) {
        QTextCursor c = Edit(d)->textCursor();
        if (!c.atEnd() || c.hasSelection()) {
            c.movePosition(QTextCursor::End);
            Edit(d)->setTextCursor(c);
        }
        Edit(d)->insertPlainText(text);
    }
    // A key that types `text` (an input method's character too).
    static void Key(Dialog& d, const QString& text) {
        QTest::sendKeyEvent(QTest::Press, Edit(d), Qt::Key_unknown, text, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, Edit(d), Qt::Key_unknown, text, Qt::NoModifier);
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

// The background button's menu: item k (32771 + k) chooses colour k, which
// fills the button inside its black frame, marks the item with a white
// frame, becomes the text box's background and is stored as field 10.
TEST_F(ScribeonTest, BackgroundMenuItemsChooseTheTextBoxColour) {
    const QRgb colors[8] = {0xffffff, 0x0000ff, 0x00ffff, 0x00ff00, 0xffff00, 0xff0000, 0xff00ff, 0x000000};
    Run([&](Dialog& d) {
        QWidget* button = d.GetDlgItem(kBackground);
        auto* menu = button->findChild<QMenu*>();
        ASSERT_TRUE(menu);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 8);
        for (int k : {3, 0, 6, 1, 7, 2, 4, 5}) {
            SCOPED_TRACE(k);
            ASSERT_EQ(items[k]->data().toInt(), 32771 + k);
            items[k]->trigger();
            EXPECT_EQ(Edit(d)->palette().color(QPalette::Base).rgb() & 0xffffff, colors[k]);
            const QImage shown = button->grab().toImage();
            EXPECT_EQ(shown.pixel(0, 0) & 0xffffff, 0u);
            EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2) & 0xffffff, colors[k]);
            for (int i = 0; i < 8; ++i) {
                const QImage item = items[i]->icon().pixmap(40, 20).toImage();
                ASSERT_EQ(item.size(), QSize(40, 20));
                EXPECT_EQ(item.pixel(6, 3) & 0xffffff, i == k ? 0xffffffu : 0u);
                EXPECT_EQ(item.pixel(20, 10) & 0xffffff, colors[i]);
            }
        }
        d.ClickButton(framework::IDOK);
    });
    EXPECT_TRUE(app->GetProfileString("Settings", "Moji").endsWith(",5"));
    Run([&](Dialog& d) {
        EXPECT_EQ(Edit(d)->palette().color(QPalette::Base).rgb() & 0xffffff, colors[5]);
        d.ClickButton(framework::IDCANCEL);
    });
}

// Button 9016 takes the host's current colour again: at once for selected
// text, for what is typed next without a selection. It shows that colour.
TEST_F(ScribeonTest, ColourButtonTakesTheHostColour) {
    auto shown = [&](Dialog& d) {
        const QImage picture = d.GetDlgItem(kColor)->grab().toImage();
        return picture.pixel(picture.width() / 2, picture.height() / 2) & 0xffffff;
    };
    auto entry = [&](int index) {
        uint8_t r = 0, g = 0, b = 0;
        GetDibPaletteEntry(doc->m_hImage, index, &r, &g, &b, nullptr);
        return qRgb(r, g, b) & 0xffffffu;
    };
    Run([&](Dialog& d) {
        EXPECT_EQ(shown(d), entry(1));
        Mono(d);
        Type(d, "中");
        Tick(d, 11);
        const Pixels one = Layer();
        EXPECT_GT(Count(one, 1), 10);
        doc->m_nColor = 3;
        d.ClickButton(kColor);
        EXPECT_EQ(shown(d), entry(3));
        EXPECT_EQ(Layer(), one);  // nothing selected: nothing redrawn
        Type(d, "文");
        Tick(d, 11);
        EXPECT_EQ(Count(Layer(), 1), Count(one, 1));
        EXPECT_GT(Count(Layer(), 3), 10);
        Edit(d)->selectAll();
        doc->m_nColor = 4;
        d.ClickButton(kColor);
        const Pixels all = Layer();
        EXPECT_EQ(Count(all, 1) + Count(all, 3), 0);
        EXPECT_GT(Count(all, 4), 20);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_GT(Count(Layer(), 4), 20);
}

// The face and style combos format the selection and draw it at once;
// without a selection they set what is typed next.
TEST_F(ScribeonTest, FaceAndStyleCombosFormatTheSelection) {
    Run([&](Dialog& d) {
        Mono(d);
        Choose(d, kFace, "DejaVu Sans");
        Type(d, "HH");
        Tick(d, 11);
        const Pixels regular = Layer();
        Edit(d)->selectAll();
        Choose(d, kStyle, QString::fromUtf8("粗体"));
        const Pixels bold = Layer();
        EXPECT_GT(Inked(bold), Inked(regular) * 6 / 5);
        Choose(d, kFace, "DejaVu Serif");
        EXPECT_NE(Layer(), bold);
        const QTextCharFormat f = Edit(d)->document()->begin().begin().fragment().charFormat();
        EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"DejaVu Serif"});
        EXPECT_GE(f.fontWeight(), QFont::Bold);

        PutCaret(d, 2);
        const Pixels serif = Layer();
        Choose(d, kStyle, QString::fromUtf8("常规   "));
        EXPECT_EQ(Layer(), serif);  // nothing selected: nothing redrawn
        Type(d, "H");
        Tick(d, 11);
        const QTextCharFormat typed = Edit(d)->document()->findBlockByNumber(0).begin().fragment().charFormat();
        EXPECT_GE(typed.fontWeight(), QFont::Bold);  // the first two keep theirs
        PutCaret(d, 3);
        EXPECT_LT(Edit(d)->textCursor().charFormat().fontWeight(), QFont::Bold);
        d.ClickButton(framework::IDCANCEL);
    });
}

// Moving the caret reads the format of the character before it into the
// face and style combos and the size (twips x 0.05).
TEST_F(ScribeonTest, CaretMovesReadTheFormatIntoTheControls) {
    Run([&](Dialog& d) {
        Choose(d, kFace, "DejaVu Sans");
        Type(d, "A");
        d.SetDlgItemText(kSize, "30.5");
        Choose(d, kFace, "DejaVu Serif");
        Choose(d, kStyle, QString::fromUtf8("斜体  "));
        Type(d, "B");
        struct Expect {
            int position;
            const char* face;
            const char* style;
            const char* size;
        } cases[] = {
            {1, "DejaVu Sans", "常规   ", "20.0"},
            {2, "DejaVu Serif", "斜体  ", "30.5"},
        };
        for (int round = 0; round < 2; ++round)
            for (const Expect& e : cases) {
                SCOPED_TRACE(e.position);
                PutCaret(d, e.position);
                EXPECT_EQ(d.Item<QComboBox>(kFace)->currentText().toStdString(), e.face);
                EXPECT_EQ(d.Item<QComboBox>(kStyle)->currentText().toStdString(), e.style);
                EXPECT_EQ(d.GetDlgItemText(kSize).toStdString(), e.size);
            }
        d.ClickButton(framework::IDOK);
    });
    // The settings keep the format last read.
    EXPECT_TRUE(app->GetProfileString("Settings", "Moji").startsWith("[DejaVu Serif],2,"));
}

// A click into the text box puts the caret where no character gives a
// format (the empty box): what is typed next still takes the format in
// use, so that a later colour leaves it alone.
TEST_F(ScribeonTest, TextTypedAfterAClickIntoTheBoxKeepsItsOwnFormat) {
    Run([&](Dialog& d) {
        Mono(d);
        QTest::mouseClick(Edit(d)->viewport(), Qt::LeftButton, {}, QPoint(50, 20));
        Key(d, QString::fromUtf8("中"));
        Tick(d, 11);
        const Pixels one = Layer();
        EXPECT_GT(Count(one, 1), 10);
        doc->m_nColor = 3;
        d.ClickButton(kColor);
        Key(d, QString::fromUtf8("文"));
        Tick(d, 11);
        EXPECT_EQ(Count(Layer(), 1), Count(one, 1));
        EXPECT_GT(Count(Layer(), 3), 10);
        const QTextCharFormat f = Edit(d)->document()->begin().begin().fragment().charFormat();
        EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"WenQuanYi Micro Hei"});
        EXPECT_EQ(f.fontPointSize(), 20.0);
        d.ClickButton(framework::IDCANCEL);
    });
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
