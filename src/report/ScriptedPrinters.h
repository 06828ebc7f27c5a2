#pragma once
#include "core/Printers.h"

// Printers as a test sets them; a print goes to a PDF file in pdfFolder.
class ScriptedPrinters : public Printers {
public:
    struct Printed {
        QString printer;
        QString documentName;
        QString pdfPath; // pdfFolder/print1.pdf, print2.pdf, ... in the order printed
    };
    std::vector<PrinterInfo> installed; // the first one is the default printer
    QString pdfFolder;
    std::vector<Printed> printed;

    std::vector<PrinterInfo> available() override { return installed; }
    std::optional<PrinterInfo> defaultPrinter() override;
    bool print(const QString& printer, const QString& documentName, const PagePainter& paint) override;
};
