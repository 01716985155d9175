// Edit commands as a user reaches them in the running editor: keys and the
// Edit menu on a document's canvas, the fill tool's pattern, and files
// dropped on the main window.
#include <cstring>
#include <functional>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "framework/menu_builder.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/color_palette_bar.h"
#include "palettes/tool_palette.h"
#include "platform/message_box.h"
#include "tools/pixel_access.h"
#include "test_support.h"
#include "view/pelmark_view.h"

namespace frametest {
namespace {

using Pixels = std::vector<uint8_t>;
using PixelRule = std::function<uint8_t(int x, int y)>;

constexpr int kW = 16;
constexpr int kH = 12;
constexpr int kSelectTool = 551;
constexpr int kFillTool = 556;

// Entry i of the test palettes.
QRgb EntryColor(int i) { return qRgb(i, 255 - i, (i * 37) % 256); }

class EditReachTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(QFile::link(QStringLiteral(FLOODKIT_PATH), programDir.filePath("Floodkit.so")));
        ASSERT_TRUE(QFile::link(QStringLiteral(LOOPCAST_PATH), programDir.filePath("Loopcast.FLT")));
        ASSERT_TRUE(Start());
        Frame()->resize(1000, 800);
        Frame()->show();
        Frame()->activateWindow();
        QApplication::setActiveWindow(Frame());
    }
    void TearDown() override {
        QGuiApplication::clipboard()->clear();
        FrameTest::TearDown();
    }

    // A kW x kH document with one layer of `pixel` and the test palette,
    // its canvas at zoom 1, the selection tool chosen.
    CPelmarkDoc* ImageDocument(const PixelRule& pixel) {
        CPelmarkDoc* doc = NewDocument();
        if (!doc) return nullptr;
        doc->m_hImage = CreateDib8(kW, kH, 0);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = EntryColor(i);
            SetDibPaletteEntry(doc->m_hImage, i, uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)),
                               uint8_t(255 - i));
        }
        EXPECT_TRUE(doc->InitDib());
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) Px(doc, x, y) = pixel(x, y);
        tools::RecomposeDocument(*doc);
        view = dynamic_cast<CPelmarkView*>(doc->GetViews().front());
        view->ScrollTo(0, 0);
        view->setFocus();
        EXPECT_TRUE(Frame()->SendCommand(kSelectTool));
        QApplication::processEvents();
        return doc;
    }
    static uint8_t& Px(CPelmarkDoc* doc, int x, int y) {
        MemLockGuard lock(doc->m_hLayers[size_t(doc->m_nEditLayer)]);
        return lock.get()[LAYER_HEADER_SIZE + size_t(doc->m_nHeight - 1 - y) * dib::LayerRowBytes(doc->m_nWidth) +
                          size_t(x)];
    }
    static Pixels Layer(CPelmarkDoc* doc) {
        Pixels p;
        for (int y = 0; y < doc->m_nHeight; ++y)
            for (int x = 0; x < doc->m_nWidth; ++x) p.push_back(Px(doc, x, y));
        return p;
    }
    static Pixels Model(const PixelRule& pixel) {
        Pixels p;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) p.push_back(pixel(x, y));
        return p;
    }

public:
    // Mouse and keys on the canvas (zoom 1: client point = image pixel).
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), view->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }
    void Click(QPoint at) { Drag(at, at); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(view, key, modifiers); }
protected:
    bool Enabled(framework::CommandId id) { return Frame()->QueryCommandState(id).IsEnabled(); }
    // The item of the Edit menu as the open menu shows it; chosen when it
    // is enabled. False when it is missing or disabled.
    bool ChooseFromEditMenu(framework::CommandId id) {
        QMenu* edit = Frame()->menuBar()->actions().at(1)->menu();
        if (!edit) return false;
        emit edit->aboutToShow();
        QAction* item = framework::FindCommandAction(edit, id);
        if (!item || !item->isEnabled()) return false;
        item->trigger();  // posted, as a menu command is
        QApplication::processEvents();
        return true;
    }
    CPelmarkDoc* ActiveDoc() const { return dynamic_cast<CPelmarkDoc*>(Frame()->GetActiveDocument()); }

    CPelmarkView* view = nullptr;
};

// ---- Copy, then open the copy as a new file ----------------------------------------

TEST_F(EditReachTest, CtrlCThenCtrlShiftNOpensTheCopyAsANewImage) {
    auto pixel = [](int x, int y) { return uint8_t(1 + (x + 16 * y) % 250); };
    CPelmarkDoc* source = ImageDocument(pixel);
    ASSERT_TRUE(source);
    EXPECT_FALSE(Enabled(CPelmarkApp::kOpenAsNewFileId));
    Drag({3, 2}, {8, 6});  // 6 x 5 from (3, 2)
    ASSERT_NE(source->m_hFloatImage, nullptr);
    Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(Enabled(CPelmarkApp::kOpenAsNewFileId));

    Key(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    CPelmarkDoc* made = ActiveDoc();
    ASSERT_NE(made, source);
    ASSERT_TRUE(made && made->m_hImage);
    EXPECT_EQ(made->m_nWidth, 6);
    EXPECT_EQ(made->m_nHeight, 5);
    // Its window is fitted to the image, which it shows whole.
    auto* shown = dynamic_cast<CPelmarkView*>(made->GetViews().front());
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->ClientRect().contains(QRect(0, 0, 6, 5))) << shown->ClientRect().width() << "x"
                                                                 << shown->ClientRect().height();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(Px(made, x, y), pixel(3 + x, 2 + y)) << x << "," << y;
    for (int i = 0; i < 256; ++i) {
        uint8_t r, g, b, a;
        ASSERT_TRUE(GetDibPaletteEntry(made->m_hImage, i, &r, &g, &b, &a));
        ASSERT_EQ(qRgb(r, g, b), EntryColor(i)) << i;
        ASSERT_EQ(a, 255 - i) << i;
    }

    // Another program's copy replaces the program's own.
    QImage other(4, 4, QImage::Format_RGB32);
    other.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(other);
    EXPECT_FALSE(Enabled(CPelmarkApp::kOpenAsNewFileId));
}

// ---- The pattern of the fill tool ---------------------------------------------------

TEST_F(EditReachTest, ASelectionDefinedAsPatternIsWhatThePatternFillPaints) {
    // Index 0 everywhere but a 4 x 3 block of 11.. at (2, 2).
    auto block = [](int x, int y) { return uint8_t(11 + (x - 2) + 4 * (y - 2)); };
    auto pixel = [&](int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 5 ? block(x, y) : uint8_t(0); };
    CPelmarkDoc* doc = ImageDocument(pixel);
    ASSERT_TRUE(doc);
    EXPECT_FALSE(ChooseFromEditMenu(CPelmarkDoc::kDefinePatternCommand));  // nothing selected
    Drag({2, 2}, {5, 4});
    ASSERT_TRUE(ChooseFromEditMenu(CPelmarkDoc::kDefinePatternCommand));
    Key(Qt::Key_D, Qt::ControlModifier);  // select none: the fill is not held to the selection

    ASSERT_TRUE(Frame()->SendCommand(kFillTool));
    auto* source = qobject_cast<QComboBox*>(Frame()->ToolPalette()->Control(442));
    ASSERT_TRUE(source);
    source->setCurrentIndex(1);  // "模型"
    ASSERT_EQ(Layer(doc), Model(pixel));
    Click({10, 8});
    // The pattern tiles the index-0 area from the clicked pixel on.
    Pixels want = Model(pixel);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (want[size_t(y * kW + x)] == 0)
                want[size_t(y * kW + x)] = block(2 + ((x - 10) % 4 + 4) % 4, 2 + ((y - 8) % 3 + 3) % 3);
    EXPECT_EQ(Layer(doc), want);
}

// ---- Delete ---------------------------------------------------------------------------

TEST_F(EditReachTest, DeleteClearsTheSelectedPixelsAsOneStep) {
    auto pixel = [](int x, int y) { return uint8_t(1 + (x * 7 + y * 13) % 250); };
    const Pixels original = Model(pixel);
    auto cleared = [&](QRect r) {
        Pixels p = original;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) p[size_t(y * kW + x)] = 0;
        return p;
    };
    struct Case {
        const char* name;
        std::function<void(EditReachTest&)> select;
        Pixels after;
    } cases[] = {
        {"Ctrl+A", [](EditReachTest& t) { t.Key(Qt::Key_A, Qt::ControlModifier); }, cleared({0, 0, kW, kH})},
        {"a rectangle", [](EditReachTest& t) { t.Drag({2, 3}, {6, 8}); }, cleared({2, 3, 5, 6})},
        {"a moved rectangle",
         [](EditReachTest& t) {
             t.Drag({2, 3}, {6, 8});
             t.Drag({4, 5}, {9, 6});
         },
         cleared({2, 3, 5, 6})},
        {"a pasted copy",
         [](EditReachTest& t) {
             t.Drag({2, 3}, {6, 8});
             t.Key(Qt::Key_C, Qt::ControlModifier);
             t.Click({14, 1});  // puts the selection down
             t.Key(Qt::Key_V, Qt::ControlModifier);
         },
         original},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPelmarkDoc* doc = ImageDocument(pixel);
        ASSERT_TRUE(doc);
        c.select(*this);
        ASSERT_NE(doc->m_hFloatImage, nullptr);
        const Pixels before = Layer(doc);
        const int steps = doc->m_nUndoIndex;
        Key(Qt::Key_Delete);
        EXPECT_EQ(Layer(doc), c.after);
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(doc->m_nUndoIndex, steps + 1);
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Layer(doc), before);
        EXPECT_NE(doc->m_hFloatImage, nullptr);
        doc->OnCloseDocument();
    }
}

// ---- Dropped files --------------------------------------------------------------------

// Answers every question Yes as a user of a file manager does: the drop
// comes while another program is active, and the question's box brings the
// editor to the front before it is answered.
class ModalYes {
public:
    explicit ModalYes(QWidget* editor) {
        QApplication::setActiveWindow(nullptr);
        QEvent away(QEvent::ApplicationDeactivate);
        QApplication::sendEvent(qApp, &away);
        previous_ = platform::SetMessageBoxService([this, editor](const platform::MessageBoxRequest& r) {
            questions.push_back(r.text);
            QEvent back(QEvent::ApplicationActivate);
            QApplication::sendEvent(qApp, &back);
            QApplication::setActiveWindow(editor);
            QApplication::processEvents();
            return MB_ANSWER_YES;
        });
    }
    ~ModalYes() { platform::SetMessageBoxService(previous_); }
    std::vector<std::string> questions;

private:
    platform::MessageBoxService previous_;
};

TEST_F(EditReachTest, ADroppedFileIsCopiedAndOpensWithItsPaletteShown) {
    const QString gif = programDir.filePath("frames.gif");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(kvtest::TestDataPath("gif/wuffs/animated-red-blue.gif")), gif));
    CColorPaletteBar* bar = Frame()->ColorPalette();
    ASSERT_TRUE(bar);
    bar->show();
    QApplication::processEvents();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(gif)});
    ModalYes answers(Frame());
    // A file manager's drag with Shift held proposes a move; the frame
    // takes a copy.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(300, 300), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(enter.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDragMoveEvent over(QPoint(310, 300), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(Frame(), &over);
    EXPECT_TRUE(over.isAccepted());
    EXPECT_EQ(over.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(310, 300), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(Frame(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_TRUE(QFile::exists(gif));
    ASSERT_EQ(answers.questions.size(), 1u);

    CPelmarkDoc* doc = ActiveDoc();
    ASSERT_TRUE(doc && doc->m_hImage);
    QApplication::processEvents();
    // What the window shows on the screen: every swatch in the colour of
    // its entry of the document's palette.
    const QImage shown = bar->screen()->grabWindow(bar->winId()).toImage();
    int wrong = 0;
    for (int i = 0; i < 256; ++i) {
        uint8_t r, g, b, a;
        ASSERT_TRUE(GetDibPaletteEntry(doc->m_hImage, i, &r, &g, &b, &a));
        if (QColor(shown.pixel(bar->CellRect(i).topLeft() + QPoint(2, 2))) != QColor(r, g, b)) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace frametest
