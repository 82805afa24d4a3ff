// The Qt host's printer: the default printer or the one chosen in the print dialog (printing to a
// PDF file included), its page metrics, and one page showing a print bitmap.
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstring>

#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/editor_window.h"

namespace zevo {

QImage DibToImage(const DibImage& d) {
    QImage img(d.width, d.height, d.bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (img.isNull()) return img;
    QList<QRgb> table;
    for (Pixel c : d.colours)
        table.push_back(qRgb(int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255)));
    img.setColorTable(table);
    const size_t rowBytes = (size_t(d.width) * size_t(d.bits) + 7) / 8;
    for (int y = 0; y < d.height; ++y)
        std::memcpy(img.scanLine(y), d.rows.data() + size_t(y) * size_t(d.stride()), rowBytes);
    // Dots per metre, as the bitmap file carries them.
    img.setDotsPerMeterX(int(std::lround(d.dpiX / 0.0254)));
    img.setDotsPerMeterY(int(std::lround(d.dpiY / 0.0254)));
    return img;
}

std::optional<PrinterMetrics> EditorWindow::printerMetrics() {
    if (!printer_ && !printerAsked_) {
        printerAsked_ = true;
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (!info.isNull()) printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    if (!printer_) return std::nullopt;
    const QPageLayout layout = printer_->pageLayout();
    const int dpi = printer_->resolution();
    const QRect px = layout.paintRectPixels(dpi);
    const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
    PrinterMetrics m;
    m.resX = px.width();
    m.resY = px.height();
    m.widthMm = mm.width();
    m.heightMm = mm.height();
    m.lpx = m.lpy = dpi;
    m.colours = printer_->colorMode() == QPrinter::Color ? 256 : 2;
    if (!m.complete()) return std::nullopt;
    return m;
}

void EditorWindow::usePrinter(std::unique_ptr<QPrinter> printer) {
    printer_ = std::move(printer);
    printerAsked_ = true;
}

bool EditorWindow::choosePrinter() {
    auto chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (printer_) {
        chosen->setPrinterName(printer_->printerName());
        chosen->setOutputFileName(printer_->outputFileName());
        chosen->setPageLayout(printer_->pageLayout());
        chosen->setColorMode(printer_->colorMode());
    }
    QPrintDialog dialog(chosen.get(), this);
    dialog.setWindowTitle(T("プリンタの設定"));
    // Only the printer and its page are chosen here; the page range does not apply.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    // Files printed to are PDF pages at the artwork's usual resolution.
    if (chosen->outputFormat() == QPrinter::PdfFormat) chosen->setResolution(600);
    printer_ = std::move(chosen);
    printerAsked_ = true;
    return true;
}

bool EditorWindow::printBitmap(std::string_view document, const DibImage& image) {
    if (!printer_) return false;
    const QImage page = DibToImage(image);
    if (page.isNull()) return false;
    printer_->setDocName(Qs(document));
    QPainter painter;
    if (!painter.begin(printer_.get())) return false;
    // The bitmap stretched over the whole printable area.
    const QRect target = printer_->pageLayout().paintRectPixels(printer_->resolution());
    painter.drawImage(QRect(0, 0, target.width(), target.height()), page);
    return painter.end();
}

}  // namespace zevo
