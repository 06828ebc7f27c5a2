#include "ui/QtPrinters.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

PrinterInfo infoOf(const QPrinterInfo& printer) {
    // The orientation is a setting of the printer's, which only a printer object reads.
    const QPrinter settings(printer);
    return {printer.printerName(), printer.defaultPageSize().key(),
            settings.pageLayout().orientation() == QPageLayout::Landscape ? PaperOrientation::Landscape
                                                                          : PaperOrientation::Portrait};
}

} // namespace

std::vector<PrinterInfo> QtPrinters::available() {
    std::vector<PrinterInfo> printers;
    for (const QPrinterInfo& p : QPrinterInfo::availablePrinters())
        printers.push_back(infoOf(p));
    return printers;
}

std::optional<PrinterInfo> QtPrinters::defaultPrinter() {
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (all.isEmpty()) return std::nullopt;
        printer = all.first();
    }
    return infoOf(printer);
}

bool QtPrinters::print(const QString& printer, const QString& documentName, const PagePainter& paint) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull()) return false;
    QPrinter device(info, QPrinter::HighResolution);
    device.setDocName(documentName);
    return paint(device) && device.printerState() != QPrinter::Error;
}
