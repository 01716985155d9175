// The guide lines in the canvas view and the guide palette driven by its
// control ids: the palette's length, angle and mode edits and their limits,
// the key it reads and writes, the lines and rays on the back buffer at
// several zooms, the handle drag by mouse events, the focus timer, and the
// image left untouched.
#include <cmath>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "document/display_toggles.h"
#include "framework/application.h"
#include "framework/dialog.h"
#include "framework/program_globals.h"
#include "palettes/guide_palette.h"
#include "platform/memory.h"
#include "tools/drag_state.h"
#include "view/guide_settings.h"
#include "view/view_geometry.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using Palette = CGuidePalette;
// The pen colour of the tests; no colour of the test image.
constexpr int kPen[3] = {1, 2, 3};
constexpr QRgb kPenRgb = 0xff010203u;

class GuideViewTest : public ViewTest {
public:
    void SetUp() override {
        ViewTest::SetUp();
        // The palettes, the guide palette among them (with an empty colour
        // dictionary in the program directory).
        programDir = GetProgramDirectory();
        SetProgramDirectory(dir.path() + '/');
        QFile dictionary(dir.filePath(QStringLiteral("COLOR.DIC")));
        ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
        dictionary.write("\x1a");
        dictionary.close();
        ASSERT_TRUE(frame->LoadFrame());
        ASSERT_NE(frame->GuidePalette(), nullptr);
        GetGuideSettings() = {};
        GetViewDisplayToggles() = {};
    }
    void TearDown() override {
        tools::ProgramDragState() = {};
        ViewTest::TearDown();
        SetProgramDirectory(programDir);
        GetGuideSettings() = {};
        GetViewDisplayToggles() = {};
    }

    Palette& P() { return *frame->GuidePalette(); }

    // A w x h image at `zoom` in a view of 400 x 300, guides shown in the
    // test colour.
    void Start(int w, int h, int zoomFactor) {
        view = OpenImage(w, h);
        ASSERT_NE(view, nullptr);
        zoom = zoomFactor;
        view->SetZoom(view::ZoomCommandOf(zoom));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        GetGuideSettings().color = {kPen[0], kPen[1], kPen[2], 0};
        ASSERT_TRUE(frame->SendCommand(CPelmarkView::kGuideShownId));
        ASSERT_TRUE(GetViewDisplayToggles().guidesShown);
    }
    void SetGuide(int mode, int sx, int sy, int ex, int ey) {
        GuideSettings& g = GetGuideSettings();
        g.mode = mode;
        g.startX = sx;
        g.startY = sy;
        g.endX = ex;
        g.endY = ey;
        P().Refresh();
    }
    QImage Painted() {
        view->repaint();
        return view->BackBuffer().copy();
    }
    static bool PenNear(const QImage& img, double x, double y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                QPoint q(int(std::lround(x)) + dx, int(std::lround(y)) + dy);
                if (img.rect().contains(q) && img.pixel(q) == kPenRgb) return true;
            }
        return false;
    }

    QPoint Client(int x, int y) const { return {x * zoom + zoom / 2, y * zoom + zoom / 2}; }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::mouseMove(view, (from + to) / 2);
        QTest::mouseMove(view, to);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }

    CPelmarkView* view = nullptr;
    int zoom = 1;
    QString programDir;
};

TEST_F(GuideViewTest, AngleShownByTheDirectionOfTheEnd) {
    struct Case {
        int dx, dy, shown;
    } cases[] = {{100, 0, 360}, {0, -100, 90}, {-100, 0, 180}, {0, 100, 270}, {100, -1, 1}, {100, 1, 359}};
    for (const Case& c : cases) {
        SetGuide(0, 50, 50, 50 + c.dx, 50 + c.dy);
        EXPECT_EQ(P().GetDlgItemInt(Palette::kAngleEditId), c.shown) << c.dx << "," << c.dy;
    }
    EXPECT_EQ(P().GetDlgItemText(Palette::kStartTextId), QString::fromUtf8("始：   50,   50"));
    EXPECT_EQ(P().GetDlgItemText(Palette::kEndTextId), QString::fromUtf8("终：  150,   51"));
}

TEST_F(GuideViewTest, LengthAndAngleEditsMoveTheEnd) {
    SetGuide(0, 10, 10, 30, 10);
    P().SetDlgItemText(Palette::kLengthEditId, "100");
    EXPECT_EQ(GetGuideSettings().endX, 110);
    EXPECT_EQ(GetGuideSettings().endY, 10);
    EXPECT_EQ(GetGuideSettings().length, 100);
    P().SetDlgItemText(Palette::kAngleEditId, "90");
    EXPECT_EQ(GetGuideSettings().endX, 10);
    EXPECT_EQ(GetGuideSettings().endY, -90);
    EXPECT_EQ(P().GetDlgItemText(Palette::kEndTextId), QString::fromUtf8("终：   10,  -90"));

    // Out of range: shown and stored clamped.
    P().SetDlgItemText(Palette::kLengthEditId, "40000");
    EXPECT_EQ(P().GetDlgItemInt(Palette::kLengthEditId), 32767);
    EXPECT_EQ(GetGuideSettings().endY, 10 - 32767);
    P().SetDlgItemText(Palette::kLengthEditId, "-5");
    EXPECT_EQ(P().GetDlgItemInt(Palette::kLengthEditId), 0);
    EXPECT_EQ(GetGuideSettings().length, 0);
    P().SetDlgItemText(Palette::kLengthEditId, "50");
    P().SetDlgItemText(Palette::kAngleEditId, "-30");
    EXPECT_EQ(P().GetDlgItemInt(Palette::kAngleEditId), 0);
    EXPECT_EQ(GetGuideSettings().endX, 60);
    EXPECT_EQ(GetGuideSettings().endY, 10);

    // Radial: the length edit rests, the angle follows its rule.
    auto* mode = P().Item<QComboBox>(Palette::kModeComboId);
    ASSERT_NE(mode, nullptr);
    mode->setCurrentIndex(1);
    emit mode->activated(1);
    EXPECT_EQ(GetGuideSettings().mode, 1);
    EXPECT_FALSE(P().GetDlgItem(Palette::kLengthEditId)->isEnabled());
    EXPECT_EQ(P().GetDlgItemText(Palette::kStartTextId), QString::fromUtf8("中心点：   10,   10"));
    EXPECT_TRUE(P().GetDlgItemText(Palette::kEndTextId).isEmpty());
    for (auto [typed, stored] : {std::pair{121, 180}, {120, 120}, {-4, 0}, {45, 45}}) {
        P().SetDlgItemText(Palette::kAngleEditId, QString::number(typed));
        EXPECT_EQ(GetGuideSettings().angle, stored) << typed;
        EXPECT_EQ(P().GetDlgItemInt(Palette::kAngleEditId), stored) << typed;
    }
}

TEST_F(GuideViewTest, EnterLeavesTheEditFlagAndReclampsWhileEditing) {
    Start(64, 48, 1);
    SetGuide(0, -5, 10, 100, 10);
    // Off: the palette flips it on, the command flips it back.
    P().NotifyControl(framework::IDOK, framework::Notify::Command);
    EXPECT_FALSE(GetViewDisplayToggles().guideEdit);
    EXPECT_EQ(GetGuideSettings().startX, -5);

    ASSERT_TRUE(frame->SendCommand(CPelmarkView::kGuideEditId));
    ASSERT_TRUE(GetViewDisplayToggles().guideEdit);
    // Editing came on: the points lie in the image, the length is theirs.
    EXPECT_EQ(GetGuideSettings().startX, 0);
    EXPECT_EQ(GetGuideSettings().endX, 63);
    EXPECT_EQ(P().GetDlgItemInt(Palette::kLengthEditId), 63);

    GetGuideSettings().endY = 500;
    P().NotifyControl(framework::IDOK, framework::Notify::Command);
    EXPECT_TRUE(GetViewDisplayToggles().guideEdit);
    EXPECT_EQ(GetGuideSettings().endY, 47);
    EXPECT_EQ(P().GetDlgItemText(Palette::kEndTextId), QString::fromUtf8("终：   63,   47"));
}

TEST_F(GuideViewTest, RaysByTheirAngleAtZoomOneAndFour) {
    struct Case {
        int angle, rays;
    } cases[] = {{45, 8}, {0, 1}, {400, 1}, {180, 2}, {7, 51}, {30, 12}};
    for (int z : {1, 4}) {
        Start(200, 160, z);
        const int cx = z == 1 ? 100 : 47, cy = z == 1 ? 80 : 35;
        SetGuide(1, cx, cy, 0, 0);
        const double ox = cx * z, oy = cy * z, d = z == 1 ? 60 : 120;
        for (const Case& c : cases) {
            GetGuideSettings().angle = c.angle;
            QImage img = Painted();
            const double step = 2 * M_PI / c.rays;
            for (int i = 0; i < c.rays; ++i) {
                const double a = i * step;
                EXPECT_TRUE(PenNear(img, ox + d * std::cos(a), oy - d * std::sin(a)))
                    << "zoom " << z << " angle " << c.angle << " ray " << i;
                const double mid = c.rays == 1 ? M_PI : a + step / 2;
                EXPECT_FALSE(PenNear(img, ox + d * std::cos(mid), oy - d * std::sin(mid)))
                    << "zoom " << z << " angle " << c.angle << " between " << i;
            }
        }
        frame->MDIGetActive()->close();
        QApplication::processEvents();
        GetViewDisplayToggles() = {};
    }
}

TEST_F(GuideViewTest, StraightLineAtZoomFourWhileScrolledAndHandlesOnlyWhileEditing) {
    Start(256, 256, 4);
    view->ScrollTo(100, 120);
    ASSERT_EQ(view->ScrollPosition(), QPoint(100, 120));
    SetGuide(0, 30, 40, 60, 40);
    QImage img = Painted();
    // Row 40 x 4 - 120, columns 30 x 4 - 100 up to (not with) 60 x 4 - 100.
    for (int x = 20; x < 140; ++x) ASSERT_EQ(img.pixel(x, 40), kPenRgb) << x;
    EXPECT_NE(img.pixel(140, 40), kPenRgb);
    EXPECT_NE(img.pixel(19, 40), kPenRgb);
    for (int x = 20; x < 140; ++x) ASSERT_NE(img.pixel(x, 41), kPenRgb) << x;

    // Handle circles of radius zoom + 2 around both ends, inverted.
    const QImage without = img;
    ASSERT_TRUE(frame->SendCommand(CPelmarkView::kGuideEditId));
    img = Painted();
    for (QPoint c : {QPoint(20, 40), QPoint(140, 40)}) {
        const QPoint top = c - QPoint(0, 6);
        EXPECT_EQ(img.pixel(top) & 0xffffffu, ~without.pixel(top) & 0xffffffu);
        EXPECT_EQ(img.pixel(c + QPoint(0, 3)), without.pixel(c + QPoint(0, 3)));
    }
    ASSERT_TRUE(frame->SendCommand(CPelmarkView::kGuideEditId));
    EXPECT_EQ(Painted(), without);
}

TEST_F(GuideViewTest, KeyReadWithElevenNumbersClampedAndWrittenFromTheControls) {
    const QString key = QStringLiteral("GaidPalettePos");
    auto create = [&](const char* value) {
        WriteSetting("Settings", "GaidPalettePos", value);
        GetGuideSettings() = {};
        auto* palette = new CGuidePalette;
        EXPECT_TRUE(palette->CreatePalette(frame, {0, 0}));
        return palette;
    };
    delete create("10,20,200,160,1,2,3,4,1,50");
    EXPECT_EQ(GetGuideSettings(), GuideSettings{});

    CGuidePalette* p = create("10,20,200,160,1,2,3,4,1,50,30");
    EXPECT_EQ(GetGuideSettings().color, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(GetGuideSettings().mode, 1);
    EXPECT_EQ(p->Item<QComboBox>(Palette::kModeComboId)->currentIndex(), 1);
    EXPECT_EQ(p->GetDlgItemInt(Palette::kAngleEditId), 30);
    EXPECT_GE(p->width(), 200);
    delete p;

    p = create("10,20,1,1,-9,300,128,0,7,-50,-3");
    EXPECT_EQ(GetGuideSettings().color, (std::array<int, 4>{0, 255, 128, 0}));
    EXPECT_EQ(GetGuideSettings().mode, 0);
    EXPECT_EQ(GetGuideSettings().length, 0);
    EXPECT_EQ(p->Item<QComboBox>(Palette::kModeComboId)->currentIndex(), 0);
    // Never smaller than the template.
    EXPECT_EQ(p->size(), QSize(180, 150));
    delete p;
    p = create("10,20,200,160,1,2,3,4,1,50,500");
    EXPECT_EQ(GetGuideSettings().angle, 180);
    delete p;

    // Written when the palette goes: mode, length, angle from the controls.
    p = create("10,20,200,160,1,2,3,4,0,50,30");
    p->SetDlgItemText(Palette::kLengthEditId, "77");
    p->SetDlgItemText(Palette::kAngleEditId, "45");
    GetGuideSettings().color = {9, 8, 7, 6};
    delete p;
    const QStringList n = app->GetProfileString(QStringLiteral("Settings"), key).split(',');
    ASSERT_EQ(n.size(), 11);
    EXPECT_EQ(n.mid(4).join(','), QStringLiteral("9,8,7,6,0,77,45"));
}

TEST_F(GuideViewTest, HandleDragMovesTheEndAndThePaletteFollowsTheImageStays) {
    for (int z : {1, 8}) {
        Start(40, 30, z);
        CPelmarkDoc* doc = view->GetDocument();
        auto bytes = [](MemHandle h) {
            MemLockGuard lock(h);
            return std::string(reinterpret_cast<const char*>(lock.get()), MemSize(h));
        };
        const std::string composite = bytes(doc->m_hImage);
        std::vector<std::string> layers;
        for (int l = 0; l < doc->m_nLayerCount; ++l) layers.push_back(bytes(doc->m_hLayers[size_t(l)]));

        SetGuide(0, 5, 5, 20, 5);
        ASSERT_TRUE(frame->SendCommand(CPelmarkView::kGuideEditId));
        EXPECT_EQ(P().GetDlgItemInt(Palette::kLengthEditId), 15);
        Drag(Client(20, 5), Client(25, 17));
        EXPECT_EQ(GetGuideSettings().endX, 25) << z;
        EXPECT_EQ(GetGuideSettings().endY, 17) << z;
        EXPECT_EQ(GetGuideSettings().startX, 5);
        EXPECT_EQ(view->GuideDragHandle(), -1);
        EXPECT_EQ(P().GetDlgItemText(Palette::kEndTextId), QString::fromUtf8("终：   25,   17"));
        // The length follows the line, so an angle edit turns this line.
        EXPECT_EQ(P().GetDlgItemInt(Palette::kLengthEditId), 23);
        P().SetDlgItemText(Palette::kAngleEditId, "360");
        EXPECT_EQ(GetGuideSettings().endX, 28);
        EXPECT_EQ(GetGuideSettings().endY, 5);
        // The start moves too; far from both nothing is taken.
        Drag(Client(5, 5), Client(2, 3));
        EXPECT_EQ(GetGuideSettings().startX, 2);
        EXPECT_EQ(GetGuideSettings().startY, 3);
        Drag(Client(15, 25), Client(30, 28));
        EXPECT_EQ(GetGuideSettings().startX, 2);
        EXPECT_EQ(GetGuideSettings().endX, 28);
        Painted();

        EXPECT_EQ(bytes(doc->m_hImage), composite);
        for (int l = 0; l < doc->m_nLayerCount; ++l) EXPECT_EQ(bytes(doc->m_hLayers[size_t(l)]), layers[size_t(l)]);
        EXPECT_FALSE(doc->IsModified());
        frame->MDIGetActive()->close();
        QApplication::processEvents();
        GetViewDisplayToggles() = {};
    }
}

TEST_F(GuideViewTest, FocusTimerGivesBackOnlyThePalettesOwnFocus) {
    Start(40, 30, 1);
    P().show();
    P().activateWindow();
    QWidget* length = P().GetDlgItem(Palette::kLengthEditId);
    length->setFocus();
    QTest::qWait(40);
    EXPECT_EQ(QApplication::focusWidget(), length);
    P().setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &P());
    QTest::qWait(40);
    EXPECT_EQ(QApplication::focusWidget(), view);
}

TEST_F(GuideViewTest, CloseBoxClearsTheShownFlag) {
    Start(40, 30, 1);
    P().show();
    ASSERT_TRUE(frame->GuidePaletteFlag());
    P().close();
    EXPECT_TRUE(P().isHidden());
    EXPECT_FALSE(frame->GuidePaletteFlag());
}

}  // namespace
}  // namespace viewtest
