#include "report/CsvWriter.h"

#include "report/Report.h"

#include <QDir>
#include <QSaveFile>

namespace {

// A field with a separator, a quote or a line break goes in quotes, its quotes doubled.
void appendField(QByteArray& out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r')) {
        out += bytes;
        return;
    }
    out += '"';
    for (char c : bytes) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendLine(QByteArray& out, const QStringList& fields, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i) {
        if (i) out += ',';
        appendField(out, fields.value(i));
    }
    out += "\r\n";
}

} // namespace

QString writeCsv(const Report& report, const QString& path) {
    QSaveFile file(path); // an existing file is replaced only once the new one is complete
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString());
    QByteArray out("\xEF\xBB\xBF");
    if (!report.title.isEmpty()) appendLine(out, {report.title}, 1);
    const qsizetype columns = qsizetype(report.columns.size());
    QStringList headings;
    for (const ReportColumn& c : report.columns)
        headings << c.heading;
    appendLine(out, headings, columns);
    report.forEachRow([&](const QStringList& row) {
        appendLine(out, row, columns);
        if (out.size() > (1 << 20)) { // written in pieces, so a long list never sits twice in memory
            file.write(out);
            out.clear();
        }
    });
    if (!report.totals.isEmpty()) appendLine(out, report.totals, columns);
    file.write(out);
    if (!file.commit())
        return QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}
