#pragma once
#include "core/Printers.h"

#include <QPageLayout>
#include <QString>

// Paints a document into a PDF file, starting from the given page layout (the painter may set
// its own). The file is written completely or not at all. Returns an empty text, or why the
// file could not be written.
QString writePdfFile(const QString& path, const QString& title, const QPageLayout& page,
                     const PagePainter& paint);
