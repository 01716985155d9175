// Printing of the canvas view: one image pixel is 1/90 inch on paper; the
// printed image is cut into tiles of the printer's page, across then down.
#include <algorithm>
#include <cmath>
#include <vector>

#include <QPageRanges>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "document/pelmark_doc.h"
#include "imaging/dib_paint.h"
#include "view/pelmark_view.h"

namespace {

constexpr int kImageDpi = 90;

QSize PrintedSize(const CPelmarkDoc& doc, const QPrinter& printer) {
    return {int(int64_t(doc.m_nWidth) * printer.logicalDpiX() / kImageDpi),
            int(int64_t(doc.m_nHeight) * printer.logicalDpiY() / kImageDpi)};
}

QSize PageSize(const QPrinter& printer) {
    return printer.pageLayout().paintRectPixels(printer.resolution()).size();
}

int TilesAcross(int printed, int page) { return page > 0 ? (printed + page - 1) / page : 0; }

}  // namespace

void CPelmarkView::OnPreparePrinting() {
    m_nMaxPage = 1;
    m_nPreviewPages = 1;
}

int CPelmarkView::OnBeginPrinting(QPrinter& printer) {
    CPelmarkDoc* doc = GetDocument();
    int count = 0;
    if (doc && doc->m_hImage) {
        QSize printed = PrintedSize(*doc, printer);
        QSize page = PageSize(printer);
        count = TilesAcross(printed.width(), page.width()) * TilesAcross(printed.height(), page.height());
    }
    m_nMaxPage = count;
    m_nPreviewPages = count ? 2 : 1;
    return count;
}

void CPelmarkView::OnPrint(QPainter& painter, QPrinter& printer, int page) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hImage || page < 1 || doc->m_nWidth <= 0 || doc->m_nHeight <= 0) return;
    const QSize printed = PrintedSize(*doc, printer);
    const QSize pageSize = PageSize(printer);
    const int across = TilesAcross(printed.width(), pageSize.width());
    if (across < 1) return;
    const int col = (page - 1) % across;
    const int row = (page - 1) / across;
    // The page's tile of the printed image, in printed device pixels.
    const QRect tile = QRect(QPoint(col * pageSize.width(), row * pageSize.height()), pageSize) &
                       QRect(QPoint(0, 0), printed);
    if (tile.isEmpty()) return;
    // The image pixels the tile shows, whole pixels, cut at the image.
    const double perX = double(printed.width()) / doc->m_nWidth;
    const double perY = double(printed.height()) / doc->m_nHeight;
    const int left = std::clamp(int(std::floor(tile.left() / perX)), 0, doc->m_nWidth - 1);
    const int top = std::clamp(int(std::floor(tile.top() / perY)), 0, doc->m_nHeight - 1);
    const int right = std::clamp(int(std::ceil((tile.right() + 1) / perX)), left + 1, doc->m_nWidth);
    const int bottom = std::clamp(int(std::ceil((tile.bottom() + 1) / perY)), top + 1, doc->m_nHeight);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.translate(-tile.topLeft());
    // Nothing of the neighbouring tiles reaches the page's margins.
    painter.setClipRect(tile);
    painter.scale(perX, perY);
    const std::optional<LogicalPalette>& palette = AlphaView() ? doc->m_pAlphaPalette : doc->m_pPalette;
    PaintDibToDc(&painter, QRect(left, top, right - left, bottom - top), doc->m_hImage,
                 DibRect{left, top, right, bottom}, palette ? &*palette : nullptr);
    painter.restore();
}

bool CPelmarkView::PrintDocument(QPrinter& printer) {
    OnPreparePrinting();
    int pages = OnBeginPrinting(printer);
    if (pages < 1) return false;
    // The pages chosen in the print dialog (none chosen: every page).
    const QPageRanges chosen = printer.pageRanges();
    std::vector<int> printedPages;
    for (int page = 1; page <= pages; ++page)
        if (chosen.isEmpty() || chosen.contains(page)) printedPages.push_back(page);
    if (printedPages.empty()) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int page : printedPages) {
        if (page != printedPages.front() && !printer.newPage()) return false;
        OnPrint(painter, printer, page);
    }
    return painter.end();
}

void CPelmarkView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    OnPreparePrinting();
    if (int pages = OnBeginPrinting(printer); pages > 0) dialog.setMinMax(1, pages);
    if (dialog.exec() != QDialog::Accepted) return;
    PrintDocument(printer);
}

void CPelmarkView::OnFilePrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    OnPreparePrinting();
    OnBeginPrinting(printer);
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>(); pages && m_nPreviewPages == 2)
        pages->setViewMode(QPrintPreviewWidget::FacingPagesView);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintDocument(*p); });
    preview.exec();
}
