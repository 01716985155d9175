#include "filter_host_fixture.h"

#include <cstring>
#include <utility>

#include <QApplication>
#include <QFile>

#include "app/pelmark_app.h"
#include "document/layer_factory.h"
#include "framework/doc_template.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "plugin_host/filter_plugins.h"
#include "tools/pixel_access.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"

namespace hosttest {

FilterHostTest::FilterHostTest(QString builtPath, QString name)
    : builtPath_(std::move(builtPath)), name_(std::move(name)) {}

std::unique_ptr<framework::Application> FilterHostTest::MakeApplication() { return std::make_unique<CPelmarkApp>(); }

void FilterHostTest::SetUp() {
    HostTest::SetUp();
    plugin_host::ResetFilterMenuForTests();
    ASSERT_TRUE(QFile::link(builtPath_, ProgramDir() + name_)) << name_.toStdString();
    frame->resize(800, 600);
    frame->show();
    docTemplate = app->AddDocTemplate(framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
}

void FilterHostTest::TearDown() {
    plugin_host::ResetFilterMenuForTests();
    HostTest::TearDown();
}

PaletteEntry FilterHostTest::Grey(int i) { return {uint8_t(i), uint8_t(i), uint8_t(i), 0}; }

CPelmarkDoc* FilterHostTest::OpenDocument(int w, int h, const std::function<PaletteEntry(int)>& palette) {
    width = w;
    height = h;
    auto* d = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
    d->m_hImage = CreateDib8(w, h, 0);
    {
        MemLockGuard image(d->m_hImage);
        auto* table = reinterpret_cast<PaletteEntry*>(image.get() + 40);
        for (int i = 0; i < 256; ++i) table[i] = palette(i);
    }
    EXPECT_TRUE(d->InitDib());
    EXPECT_TRUE(document::CreateLayer(*d, 0, 1));
    {
        MemLockGuard layer(d->m_hLayers[0]);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Row(layer.get(), y)[x] = uint8_t((x * 37 + y * 91 + x * y * 5) % 256);
    }
    tools::RecomposeDocument(*d);
    framework::ChildFrame* child = docTemplate->CreateNewFrame(d);
    docTemplate->InitialUpdateFrame(child, d);
    QApplication::processEvents();
    doc = d;
    return d;
}

uint8_t* FilterHostTest::Row(uint8_t* layer, int y) const {
    return layer + LAYER_HEADER_SIZE + size_t(y) * dib::LayerRowBytes(width);
}

FilterHostTest::Pixels FilterHostTest::PixelsOf(MemHandle layerBlock) const {
    MemLockGuard layer(layerBlock);
    Pixels p;
    for (int y = 0; y < height; ++y) p.insert(p.end(), Row(layer.get(), y), Row(layer.get(), y) + width);
    return p;
}

FilterHostTest::Pixels FilterHostTest::LayerPixels() const { return PixelsOf(doc->m_hLayers[0]); }

FilterHostTest::Pixels FilterHostTest::CompositePixels() const {
    dib::LockedDib image(doc->m_hImage);
    Pixels p;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = image.bits() + size_t(y) * image.geo().PaddedRow();
        p.insert(p.end(), row, row + width);
    }
    return p;
}

FilterHostTest::Pixels FilterHostTest::FreshComposite() {
    const Pixels shown = CompositePixels();
    tools::RecomposeDocument(*doc);
    Pixels fresh = CompositePixels();
    dib::LockedDib image(doc->m_hImage);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.bits() + size_t(y) * image.geo().PaddedRow(), shown.data() + size_t(y * width), size_t(width));
    return fresh;
}

FilterHostTest::Pixels FilterHostTest::Mask() const {
    MemLockGuard mask(doc->m_hMask);
    return Pixels(mask.get(), mask.get() + mask.size());
}

void FilterHostTest::SetMask(const std::function<bool(int x, int topRow)>& selected) {
    MemLockGuard mask(doc->m_hMask);
    std::memset(mask.get(), 0, mask.size());
    const size_t rowBytes = size_t(width + 7) / 8;
    for (int t = 0; t < height; ++t)
        for (int x = 0; x < width; ++x)
            if (selected(x, t)) mask.get()[size_t(t) * rowBytes + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
}

}  // namespace hosttest
