#pragma once
// Printers go through this seam, so tests can say which printers exist and read what was
// printed.
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

enum class PaperOrientation { Portrait, Landscape };

struct PrinterInfo {
    QString name;
    QString paper; // the paper size as Qt names it: "A4", "Letter", ...
    PaperOrientation orientation = PaperOrientation::Portrait;
};

// Paints every page of a document on the device, setting the device's page layout first;
// false when the device would not paint.
using PagePainter = std::function<bool(QPagedPaintDevice&)>;

class Printers {
public:
    virtual ~Printers() = default;
    virtual std::vector<PrinterInfo> available() = 0;
    // The printer a print goes to; none when no printer is installed.
    virtual std::optional<PrinterInfo> defaultPrinter() = 0;
    // Prints the document on the named printer; false when there is no such printer or it
    // failed.
    virtual bool print(const QString& printer, const QString& documentName, const PagePainter& paint) = 0;
};
