// Printed pages with margins and page ranges: every page holds its own tile
// of the image and nothing else, in the PDF's pictures and on paper.
#include <QDir>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "view_fixture.h"

namespace viewtest {
namespace {

constexpr int kScale = 5;  // pdftoppm at 5 x 90 dpi: one image pixel is 5 x 5
constexpr int kMargin = 9;  // 0.1 inch at 90 dpi
constexpr int kTile = 72;   // 1 inch paper less two margins

QString Tool(const char* name) {
    QString tool = QStandardPaths::findExecutable(QString::fromLatin1(name));
    EXPECT_FALSE(tool.isEmpty()) << name << " (poppler-utils) is needed";
    return tool;
}

QString Run(const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, arguments);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

struct Picture {
    int page, width, height;
    bool operator==(const Picture&) const = default;
};

void PrintTo(const Picture& p, std::ostream* out) {
    *out << "page " << p.page << ": " << p.width << "x" << p.height;
}

// The pictures the PDF embeds, from pdfimages -list.
std::vector<Picture> Pictures(const QString& pdf) {
    const QString tool = Tool("pdfimages");
    if (tool.isEmpty()) return {};
    std::vector<Picture> pictures;
    const QStringList lines = Run(tool, {"-list", pdf}).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {  // after the heading and its rule
        const QStringList f = lines[i].split(' ', Qt::SkipEmptyParts);
        if (f.size() > 4) pictures.push_back({f[0].toInt(), f[3].toInt(), f[4].toInt()});
    }
    return pictures;
}

std::vector<QImage> Rasterise(const QString& pdf, const QString& dir) {
    const QString tool = Tool("pdftoppm");
    if (tool.isEmpty()) return {};
    QDir().mkpath(dir);
    Run(tool, {"-r", QString::number(90 * kScale), "-png", pdf, dir + "/page"});
    std::vector<QImage> pages;
    for (const QString& name : QDir(dir).entryList({"page-*.png"}, QDir::Files, QDir::Name))
        pages.push_back(QImage(dir + "/" + name).convertToFormat(QImage::Format_RGB32));
    return pages;
}

// 1 x 1 inch paper at 90 dpi with 0.1 inch margins: 72 x 72 pixels a page.
void SetUpPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(90);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(1, 1), QPageSize::Inch), QPageLayout::Portrait,
                                      QMarginsF(0.1, 0.1, 0.1, 0.1), QPageLayout::Inch));
}

// Tile `tile` (0 first, `across` a row) of a w x h image on a page: its
// pixels inside the margins, white everywhere else.
void ExpectPage(const QImage& shot, int tile, int across, int w, int h) {
    ASSERT_EQ(shot.size(), QSize(90 * kScale, 90 * kScale));
    const int col = tile % across, row = tile / across;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 90; ++x) {
            const int ix = col * kTile + x - kMargin, iy = row * kTile + y - kMargin;
            const bool inside = x >= kMargin && x < kMargin + kTile && y >= kMargin && y < kMargin + kTile &&
                                ix < w && iy < h;
            const QRgb want = inside ? ViewTest::EntryColor(ViewTest::PatternIndex(ix, iy)) : qRgb(255, 255, 255);
            ASSERT_EQ(shot.pixel(x * kScale + kScale / 2, y * kScale + kScale / 2), want)
                << "tile " << tile + 1 << " at paper pixel " << x << "," << y;
        }
}

TEST_F(ViewTest, EveryPageHoldsOnlyItsTile) {
    // 150 x 100 on 72 x 72 tiles: 3 across, 2 down.
    CPelmarkView* view = OpenImage(150, 100);
    QPrinter printer;
    const QString pdf = dir.filePath("margins.pdf");
    SetUpPrinter(printer, pdf);
    ASSERT_TRUE(view->PrintDocument(printer));
    EXPECT_EQ(view->MaxPage(), 6);
    EXPECT_EQ(Pictures(pdf), (std::vector<Picture>{{1, 72, 72}, {2, 72, 72}, {3, 6, 72},
                                                   {4, 72, 28}, {5, 72, 28}, {6, 6, 28}}));
    const std::vector<QImage> pages = Rasterise(pdf, dir.filePath("margins"));
    ASSERT_EQ(pages.size(), 6u);
    for (int tile = 0; tile < 6; ++tile) ExpectPage(pages[size_t(tile)], tile, 3, 150, 100);
}

TEST_F(ViewTest, OnlyTheChosenPagesArePrinted) {
    CPelmarkView* view = OpenImage(150, 100);
    struct Case {
        int from, to;
        std::vector<int> tiles;  // 0 first
    } cases[] = {{2, 3, {1, 2}}, {5, 9, {4, 5}}, {6, 6, {5}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << "-" << c.to);
        QPrinter printer;
        const QString name = QString("range%1-%2").arg(c.from).arg(c.to);
        const QString pdf = dir.filePath(name + ".pdf");
        SetUpPrinter(printer, pdf);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(c.from, c.to);
        ASSERT_TRUE(view->PrintDocument(printer));
        const std::vector<QImage> pages = Rasterise(pdf, dir.filePath(name));
        ASSERT_EQ(pages.size(), c.tiles.size());
        for (size_t i = 0; i < pages.size(); ++i) ExpectPage(pages[i], c.tiles[i], 3, 150, 100);
    }
    // A range wholly beyond the last page prints nothing.
    QPrinter printer;
    SetUpPrinter(printer, dir.filePath("none.pdf"));
    printer.setFromTo(7, 8);
    EXPECT_FALSE(view->PrintDocument(printer));
}

}  // namespace
}  // namespace viewtest
