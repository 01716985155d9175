#include "view_fixture.h"

#include <QApplication>

#include "dialogs/grid_presets.h"
#include "framework/child_frame.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "platform/profile.h"

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

CPelmarkView* ViewTest::OpenSecondView(CPelmarkView* view) {
    framework::ChildFrame* child = docTemplate->CreateNewFrame(view->GetDocument());
    docTemplate->InitialUpdateFrame(child, view->GetDocument());
    return dynamic_cast<CPelmarkView*>(child->GetActiveView());
}

void ViewTest::WriteSetting(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(platform::ProfileWriteString(app->ProfileFile().toStdString(), section, key, value));
    grid::LoadGridSettings();
}

QImage ViewTest::Grab(CPelmarkView* view) {
    return view->grab(view->ClientRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

void ViewTest::SetViewSize(CPelmarkView* view, int w, int h) {
    framework::ChildFrame* child = view->GetParentFrame();
    QMargins m = child->contentsMargins();
    QSize border(m.left() + m.right(), m.top() + m.bottom());
    child->resize(border + QSize(w, h));
    QApplication::processEvents();
}

}  // namespace viewtest
