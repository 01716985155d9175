// Times the magic wand's press and release on 4096 x 4096 layers against
// ImageMagick's flood fill on the same pictures.
//
//   wand_compare [work directory]
//
// The layers of wand_scenes.h, each in a document of one layer shown in a
// canvas view. Ours: OnWandToolDown and OnWandToolUp at the scene's point
// (the undo step, the grow, the edge points, the bounding rectangle, the
// lift and the recomposition), the selection put down between the runs;
// beside it the grow, edge points and bounding rectangle alone. Best of
// five. ImageMagick: "convert in.bmp -fill red -draw 'color x,y floodfill'
// out.bmp" beside a plain "convert in.bmp out.bmp" (its file work), best of
// three. Prints a Markdown table.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "bench_timing.h"
#include "document/floating_selection.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask.h"
#include "document/wand_region.h"
#include "framework/application.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "tools/drag_state.h"
#include "tools/tool_dispatch.h"
#include "view/pelmark_view.h"
#include "view/selection_tools.h"
#include "wand_scenes.h"

namespace {

using benchwand::kSize;

// A document of the scene in one layer (a grey palette), in a view of its
// own, the wand current.
struct Document {
    std::unique_ptr<CPelmarkDoc> doc = std::make_unique<CPelmarkDoc>();
    std::unique_ptr<CPelmarkView> view = std::make_unique<CPelmarkView>();
    explicit Document(const benchwand::Scene& scene) {
        doc->SetAutoDelete(false);
        doc->m_hImage = CreateDib8(kSize, kSize, 0);
        for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), uint8_t(i), uint8_t(i), 0);
        doc->InitDib();
        document::CreateLayer(*doc, 0, 1);
        doc->m_nEditLayer = 0;
        {
            MemLockGuard lock(doc->m_hLayers[0]);
            const size_t stride = dib::LayerRowBytes(kSize);
            for (int y = 0; y < kSize; ++y)
                std::memcpy(lock.get() + LAYER_HEADER_SIZE + size_t(kSize - 1 - y) * stride,
                            scene.pixels.data() + size_t(y) * kSize, kSize);
        }
        doc->AddView(view.get());
        doc->SetEditMode(tools::kWandTool);
        view->RefreshAfterEdit(1);
    }
    ~Document() { doc->RemoveView(view.get()); }
    // The selection put down, as before the first click.
    void Drop() const {
        document::FreeFloating(*doc);
        doc->m_rcSelection = {};
        doc->m_rcFloatTarget = {};
        tools::ProgramDragState() = {};
        view::ProgramSelectionDrag() = {};
    }
};


}  // namespace

using benchtiming::BestOfTimes;
using benchtiming::BestRun;
using benchtiming::Cell;
using benchtiming::Times;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    QTemporaryDir profile;
    framework::Application program;
    program.SetProfileFile(profile.filePath("pm32.ini"));
    SetMapToolSetting(1);  // images up to 4096 x 4096
    QDir work(argc > 1 ? argv[1] : QDir::tempPath());
    const QString convert = benchtiming::ImageMagickConvert();

    std::printf("| %d x %d layer | press and release | of which grow, edges, rectangle | selected pixels |\n"
                "|---|---|---|---|\n",
                kSize, kSize);
    for (benchwand::Scene (*make)() : {benchwand::WholeLayer, benchwand::Serpentine, benchwand::RandomMaze}) {
        const benchwand::Scene scene = make();
        Document d(scene);
        const Times all = BestOfTimes(5, [&] { d.Drop(); }, [&] {
            d.view->OnWandToolDown(scene.x, scene.y, scene.x, scene.y);
            d.view->OnWandToolUp(scene.x, scene.y);
            return d.doc->m_hFloatImage != nullptr;
        });
        const DibRect r = d.doc->m_rcSelection;

        const size_t stride = dib::LayerRowBytes(kSize);
        std::vector<uint8_t> layer(stride * kSize);
        for (int y = 0; y < kSize; ++y)
            std::memcpy(layer.data() + size_t(kSize - 1 - y) * stride, scene.pixels.data() + size_t(y) * kSize,
                        kSize);
        std::vector<uint8_t> selBytes(size_t(kSize / 8) * kSize), edgeBytes(selBytes.size());
        const document::MaskBits sel{selBytes.data(), selBytes.size(), kSize, kSize};
        const document::MaskBits edges{edgeBytes.data(), edgeBytes.size(), kSize, kSize};
        const Times grow = BestOfTimes(
            5,
            [&] {
                std::memset(selBytes.data(), 0, selBytes.size());
                std::memset(edgeBytes.data(), 0, edgeBytes.size());
            },
            [&] {
                if (!document::GrowWandRegion(sel, {layer.data(), stride, kSize, kSize}, scene.x, scene.y))
                    return false;
                document::MarkRegionEdges(sel, edges);
                return !document::RectEmpty(document::MaskBoundingRect(sel));
            });
        size_t count = 0;
        for (uint8_t b : selBytes) count += size_t(__builtin_popcount(b));
        std::printf("| %s (%d x %d) | %s | %s | %zu |\n", scene.name, r.right - r.left, r.bottom - r.top,
                    qPrintable(Cell(all)), qPrintable(Cell(grow)), count);

        if (convert.isEmpty()) continue;
        QImage picture(kSize, kSize, QImage::Format_Grayscale8);
        for (int row = 0; row < kSize; ++row)
            for (int col = 0; col < kSize; ++col)
                picture.scanLine(row)[col] = scene.pixels[size_t(row) * kSize + size_t(col)] ? 255 : 0;
        const QString in = work.filePath("wand_compare_in.bmp"), out = work.filePath("wand_compare_out.bmp");
        picture.convertToFormat(QImage::Format_RGB888).save(in, "BMP");
        const QString draw = QStringLiteral("color %1,%2 floodfill").arg(scene.x).arg(scene.y);
        const Times flood = BestRun(3, convert, {in, "-fill", "red", "-draw", draw, out});
        const Times copy = BestRun(3, convert, {in, out});
        std::printf("| %s: ImageMagick floodfill (its file work %s) | %s | %s beyond the file work | - |\n",
                    scene.name, qPrintable(Cell(copy)), qPrintable(Cell(flood)),
                    qPrintable(Cell(benchtiming::Beyond(flood, copy))));
        QFile::remove(in);
        QFile::remove(out);
    }
    return 0;
}
