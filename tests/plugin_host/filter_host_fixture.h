// The editor around a filter plug-in under test: the editor's own
// application with its main frame shown, the plug-in in the program
// directory, the filter menu forgotten before and after each test, and a
// document open in a view (8 bits, one layer of varied pixels) with readers
// of its layer, its composite and its selection mask.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QString>

#include "host_fixture.h"
#include "imaging/dib_layout.h"
#include "platform/memory.h"

namespace framework {
class DocTemplate;
}

namespace hosttest {

class FilterHostTest : public HostTest {
protected:
    using Pixels = std::vector<uint8_t>;  // bottom-up rows of `width` indexes

    // The built plug-in at `builtPath` goes into the program directory as
    // `name`.
    FilterHostTest(QString builtPath, QString name);

    std::unique_ptr<framework::Application> MakeApplication() override;
    void SetUp() override;
    void TearDown() override;

    // Entry i of the grey table: i, i, i.
    static PaletteEntry Grey(int i);
    // A width x height image over the palette, its layer of varied pixels,
    // composed and shown in a view; it becomes `doc`.
    CPelmarkDoc* OpenDocument(int width, int height, const std::function<PaletteEntry(int)>& palette = Grey);

    // Bottom-up row y of a layer block `width` pixels wide.
    uint8_t* Row(uint8_t* layer, int y) const;
    Pixels PixelsOf(MemHandle layerBlock) const;
    Pixels LayerPixels() const;  // of the document's layer
    Pixels CompositePixels() const;
    // The composite as a fresh composition of the layers would make it; the
    // composite on show stays as it was.
    Pixels FreshComposite();
    Pixels Mask() const;
    // The mask's bit of (x, top-down row) set where `selected`, else clear.
    void SetMask(const std::function<bool(int x, int topRow)>& selected);

    framework::DocTemplate* docTemplate = nullptr;
    CPelmarkDoc* doc = nullptr;
    int width = 0, height = 0;

private:
    QString builtPath_;
    QString name_;
};

}  // namespace hosttest
