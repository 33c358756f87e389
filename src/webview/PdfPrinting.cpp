#include "webview/PdfPrinting.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>

#include <algorithm>

namespace webview {
namespace {

// What the engine's own print hands a printer, and more than a ticket
// printer's 203 dpi; at 600 dpi a silent ticket took two and a half times as
// long to reach the queue.
constexpr int MaxImageDpi = 300;

} // namespace

bool PrintPdf(const QByteArray& pdf, QPrinter& printer)
{
    QByteArray bytes = pdf;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
        return false;

    // The painter's origin at the sheet's corner, where the PDF's pages begin.
    printer.setFullPage(true);
    const int passes = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const double dpi = std::min(printer.resolution(), MaxImageDpi);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF sheet = printer.paperRect(QPrinter::DevicePixel);
    for (int pass = 0; pass < passes; ++pass) {
        for (int page = 0; page < document.pageCount(); ++page) {
            if ((pass > 0 || page > 0) && !printer.newPage())
                return false;
            const QSizeF points = document.pagePointSize(page);
            const QImage image = document.render(page, (points * dpi / 72).toSize());
            if (image.isNull())
                return false;
            painter.drawImage(QRectF(QPointF(0, 0), sheet.size()), image);
        }
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace webview
