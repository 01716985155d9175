#include "view_fixture.h"

#include <QApplication>

#include "framework/program_globals.h"
#include "view/grid_presets.h"
#include "dialogs/new_image_dlg.h"
#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "platform/message_box_recorder.h"
#include "framework/child_frame.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "platform/profile.h"
#include "tools/drag_state.h"
#include "view/selection_tools.h"
#include "view/view_globals.h"

namespace viewtest {

void ViewTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    app = std::make_unique<framework::Application>();
    app->SetAppName("Kavolt");
    app->SetProfileFile(dir.filePath("pm32.ini"));
    frame = new CMainFrame;
    app->SetMainFrame(frame);
    frame->resize(1000, 800);
    frame->show();
    docTemplate = app->AddDocTemplate(
        framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
    grid::LoadGridSettings();
}

void ViewTest::TearDown() {
    // The program-wide tool state a test may have left behind.
    if (frame) frame->ToolOptionValues().SetControls(nullptr);
    tools::ProgramDragState() = {};
    view::ProgramSelectionDrag() = {};
    view::SelectionModeIndex() = 0;
    app.reset();
    grid::LoadGridSettings();
}

CPelmarkView* ViewTest::OpenImage(int width, int height) {
    auto* doc = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
    EXPECT_TRUE(doc);
    MemHandle image = CreateDib8(width, height, 0);
    for (int i = 0; i < 256; ++i) {
        QRgb c = EntryColor(i);
        SetDibPaletteEntry(image, i, uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)), uint8_t(255 - i));
    }
    {
        dib::LockedDib dib(image);
        size_t stride = dib::LayerRowBytes(width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) dib.bits()[size_t(height - 1 - y) * stride + size_t(x)] = uint8_t(PatternIndex(x, y));
    }
    doc->m_hImage = image;
    EXPECT_TRUE(doc->InitDib());
    framework::ChildFrame* child = docTemplate->CreateNewFrame(doc);
    EXPECT_TRUE(child);
    docTemplate->InitialUpdateFrame(child, doc);
    return dynamic_cast<CPelmarkView*>(child->GetActiveView());
}

CPelmarkView* ViewTest::NewDocument(int width, int height) {
    platform::MessageBoxRecorder boxes;
    framework::ScopedModalDriver answer([&](framework::Dialog& d) {
        d.SetDlgItemText(CNewImageDlg::kWidthId, QString::number(width));
        d.SetDlgItemText(CNewImageDlg::kHeightId, QString::number(height));
        d.ClickButton(CNewImageDlg::kMode256Id);
        d.ClickButton(framework::IDOK);
    });
    const size_t before = app->Documents().size();
    app->OnFileNew();
    if (app->Documents().size() != before + 1) return nullptr;
    auto* doc = dynamic_cast<CPelmarkDoc*>(app->Documents().back());
    if (!doc || doc->GetViews().empty()) return nullptr;
    return dynamic_cast<CPelmarkView*>(doc->GetViews().front());
}

CPelmarkView* ViewTest::OpenSecondView(CPelmarkView* view) {
    framework::ChildFrame* child = docTemplate->CreateNewFrame(view->GetDocument());
    docTemplate->InitialUpdateFrame(child, view->GetDocument());
    return dynamic_cast<CPelmarkView*>(child->GetActiveView());
}

void ViewTest::WriteSetting(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(platform::ProfileWriteString(app->ProfileFile().toStdString(), section, key, value));
    LoadGeneralSettings();
    grid::LoadGridSettings();
}

QImage ViewTest::Grab(CPelmarkView* view) {
    return view->grab(view->ClientRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

void ViewTest::SetViewSize(CPelmarkView* view, int w, int h) {
    framework::ChildFrame* child = view->GetParentFrame();
    QMargins m = child->contentsMargins();
    QSize border(m.left() + m.right(), m.top() + m.bottom());
    // The rulers take their strips beside the view.
    if (auto* frame = dynamic_cast<CChildFrame*>(child)) border += frame->RulerStrips();
    child->resize(border + QSize(w, h));
    QApplication::processEvents();
}

namespace {
uint8_t At(MemHandle block, size_t offset, int width, int height, int x, int y) {
    MemLockGuard lock(block);
    return lock.get()[offset + size_t(height - 1 - y) * dib::LayerRowBytes(width) + size_t(x)];
}
}  // namespace

uint8_t Composite(const CPelmarkDoc& d, int x, int y) {
    return At(d.m_hImage, 1064, d.m_nWidth, d.m_nHeight, x, y);
}
uint8_t Layer(const CPelmarkDoc& d, int l, int x, int y) {
    return At(d.m_hLayers[size_t(l)], LAYER_HEADER_SIZE, d.m_nWidth, d.m_nHeight, x, y);
}

}  // namespace viewtest
