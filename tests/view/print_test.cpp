// Printing to PDF: one image pixel is 1/90 inch; a large image is cut into
// page tiles across then down. The PDF is turned back into pixels with
// pdftoppm at five times 90 dpi (at exactly 90 dpi its resampling blends
// neighbouring pixels) and the centre of every image pixel is compared.
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "view_fixture.h"

namespace viewtest {
namespace {

constexpr int kScale = 5;

// The pages of a PDF as images at 5 x 90 dpi, in page order.
std::vector<QImage> Rasterise(const QString& pdf, const QString& dir) {
    QString tool = QStandardPaths::findExecutable("pdftoppm");
    EXPECT_FALSE(tool.isEmpty()) << "pdftoppm (poppler-utils) is needed";
    if (tool.isEmpty()) return {};
    QProcess p;
    p.start(tool, {"-r", QString::number(90 * kScale), "-png", pdf, dir + "/page"});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    std::vector<QImage> pages;
    QStringList names = QDir(dir).entryList({"page-*.png"}, QDir::Files, QDir::Name);
    for (const QString& name : names) pages.push_back(QImage(dir + "/" + name).convertToFormat(QImage::Format_RGB32));
    return pages;
}

void SetUpPrinter(QPrinter& printer, const QString& file, QSizeF pageInches) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(90);
    printer.setPageLayout(QPageLayout(QPageSize(pageInches, QPageSize::Inch), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
}

// Page `page` (0 first) of tiles `across` wide.
void ExpectTile(const QImage& shot, int page, int across, int imageW, int imageH) {
    const int col = page % across, row = page / across;
    const int w = shot.width() / kScale, h = shot.height() / kScale;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int ix = col * w + x, iy = row * h + y;
            QRgb want = ix < imageW && iy < imageH ? ViewTest::EntryColor(ViewTest::PatternIndex(ix, iy))
                                                   : qRgb(255, 255, 255);
            ASSERT_EQ(shot.pixel(x * kScale + kScale / 2, y * kScale + kScale / 2), want) << "page " << page + 1 << " at " << x << "," << y;
        }
}

TEST_F(ViewTest, PrintsOnePage) {
    CPelmarkView* view = OpenImage(40, 30);
    view->ExecuteCommand(34006);  // the zoom does not change the print
    QPrinter printer;
    QString pdf = dir.filePath("one.pdf");
    SetUpPrinter(printer, pdf, QSizeF(1, 1));
    ASSERT_TRUE(view->PrintDocument(printer));
    EXPECT_EQ(view->MaxPage(), 1);
    EXPECT_EQ(view->PreviewPages(), 2);
    QDir(dir.path()).mkdir("one");
    std::vector<QImage> pages = Rasterise(pdf, dir.filePath("one"));
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), QSize(90 * kScale, 90 * kScale));
    ExpectTile(pages[0], 0, 1, 40, 30);
}

TEST_F(ViewTest, PrintsTilesAcrossThenDown) {
    CPelmarkView* view = OpenImage(150, 100);
    QPrinter printer;
    QString pdf = dir.filePath("tiles.pdf");
    SetUpPrinter(printer, pdf, QSizeF(1, 1));
    ASSERT_TRUE(view->PrintDocument(printer));
    EXPECT_EQ(view->MaxPage(), 4);
    QDir(dir.path()).mkdir("tiles");
    std::vector<QImage> pages = Rasterise(pdf, dir.filePath("tiles"));
    ASSERT_EQ(pages.size(), 4u);
    for (int page = 0; page < 4; ++page) ExpectTile(pages[size_t(page)], page, 2, 150, 100);
}

TEST_F(ViewTest, PrintsAtThePrinterResolution) {
    // 180 dpi: each image pixel is two device pixels; 40 x 30 on 1 x 1 inch.
    CPelmarkView* view = OpenImage(40, 30);
    QPrinter printer;
    SetUpPrinter(printer, dir.filePath("hi.pdf"), QSizeF(0.5, 0.25));
    printer.setResolution(180);
    EXPECT_EQ(view->OnBeginPrinting(printer), 1 * 2);  // 80 x 60 on 90 x 45
}

}  // namespace
}  // namespace viewtest
