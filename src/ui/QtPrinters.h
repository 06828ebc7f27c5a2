#pragma once
#include "core/Printers.h"

// The printers the system knows, and printing on them.
class QtPrinters : public Printers {
public:
    std::vector<PrinterInfo> available() override;
    // The system's default printer, else the first one there is.
    std::optional<PrinterInfo> defaultPrinter() override;
    bool print(const QString& printer, const QString& documentName, const PagePainter& paint) override;
};
