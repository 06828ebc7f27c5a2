#include "report/ScriptedPrinters.h"

#include "report/PdfFile.h"

#include <QDir>
#include <QPageLayout>
#include <algorithm>

namespace {

QPageSize paperNamed(const QString& key) {
    for (int id = 0; id <= QPageSize::LastPageSize; ++id)
        if (QPageSize::key(QPageSize::PageSizeId(id)) == key) return QPageSize(QPageSize::PageSizeId(id));
    return QPageSize(QPageSize::A4);
}

} // namespace

std::optional<PrinterInfo> ScriptedPrinters::defaultPrinter() {
    if (installed.empty()) return std::nullopt;
    return installed.front();
}

bool ScriptedPrinters::print(const QString& printer, const QString& documentName, const PagePainter& paint) {
    const auto it = std::find_if(installed.begin(), installed.end(),
                                 [&](const PrinterInfo& p) { return p.name == printer; });
    if (it == installed.end()) return false;
    const QString path = QDir(pdfFolder).filePath(QStringLiteral("print%1.pdf").arg(printed.size() + 1));
    // The paper the printer holds, until the document sets its own.
    const QPageLayout page(paperNamed(it->paper),
                           it->orientation == PaperOrientation::Landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait,
                           QMarginsF());
    if (!writePdfFile(path, documentName, page, paint).isEmpty()) return false;
    printed.push_back({printer, documentName, path});
    return true;
}
