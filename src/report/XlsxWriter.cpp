#include "report/XlsxWriter.h"

#include "report/Report.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <xlsxwriter.h>

namespace {

struct Formats {
    lxw_format* bold;
    lxw_format* date;
    lxw_format* dateTime;
};

// The program's date texts, "yyyy-m-d" and "yyyy-m-d H:mm:ss", read by hand: a long list has
// hundreds of thousands of them.
bool readDate(const QString& text, lxw_datetime& date) {
    static constexpr char16_t separators[] = {u'-', u'-', u' ', u':', u':'};
    int parts[6] = {};
    int count = 0;
    int value = -1;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            value = (value < 0 ? 0 : value * 10) + (c.unicode() - u'0');
            if (value > 9999) return false;
        } else if (count < 5 && c == separators[count] && value >= 0) {
            parts[count++] = value;
            value = -1;
        } else {
            return false;
        }
    }
    if (value < 0) return false;
    parts[count++] = value;
    if ((count != 3 && count != 6) || parts[0] < 1900 || !QDate::isValid(parts[0], parts[1], parts[2]) ||
        !QTime::isValid(parts[3], parts[4], parts[5]))
        return false;
    date = {parts[0], parts[1], parts[2], parts[3], parts[4], double(parts[5])};
    return true;
}

void writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, ReportColumn::Kind kind,
               const QString& text, const Formats& formats, bool bold) {
    if (text.isEmpty()) return;
    lxw_format* format = bold ? formats.bold : nullptr;
    if (kind == ReportColumn::Kind::Number) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (ok && std::isfinite(value)) {
            worksheet_write_number(sheet, row, col, value, format);
            return;
        }
    } else if (kind == ReportColumn::Kind::Date) {
        if (lxw_datetime date; readDate(text, date)) {
            const bool midnight = !date.hour && !date.min && !date.sec;
            worksheet_write_datetime(sheet, row, col, &date, midnight ? formats.date : formats.dateTime);
            return;
        }
    }
    worksheet_write_string(sheet, row, col, text.toUtf8().constData(), format);
}

} // namespace

QString writeXlsx(const Report& report, const QString& path) {
    const auto failed = [&](const QString& why) {
        return QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(path), why);
    };
    // Written beside the target and renamed into place: a failure leaves no half-written
    // workbook and an existing file as it was.
    QTemporaryFile part(QFileInfo(path).absolutePath() + QStringLiteral("/XXXXXX.xlsx.part"));
    if (!part.open()) return failed(part.errorString());
    part.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    part.close();
    // Rows go to the file as they are written: a long list never sits in memory as cells.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(part.fileName()).constData(), &options);
    if (!book) return failed(QStringLiteral("无法创建工作簿"));
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    Formats formats{workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    format_set_bold(formats.bold);
    format_set_num_format(formats.date, "yyyy-m-d");
    format_set_num_format(formats.dateTime, "yyyy-m-d h:mm:ss");

    const auto columns = lxw_col_t(report.columns.size());
    for (lxw_col_t c = 0; c < columns; ++c) // the printed width: 15 twips a pixel, 7 pixels a character
        worksheet_set_column(sheet, c, c, std::max(8.0, report.columns[c].fieldBox.width / 105.0), nullptr);

    lxw_row_t row = 0;
    if (!report.title.isEmpty())
        worksheet_write_string(sheet, row++, 0, report.title.toUtf8().constData(), formats.bold);
    for (lxw_col_t c = 0; c < columns; ++c)
        worksheet_write_string(sheet, row, c, report.columns[c].heading.toUtf8().constData(), formats.bold);
    worksheet_freeze_panes(sheet, ++row, 0);
    const auto writeRow = [&](const QStringList& texts, bool bold) {
        for (lxw_col_t c = 0; c < columns; ++c)
            writeCell(sheet, row, c, report.columns[c].kind, texts.value(c), formats, bold);
        ++row;
    };
    try {
        report.forEachRow([&](const QStringList& texts) { writeRow(texts, false); });
    } catch (...) {
        workbook_close(book); // into the part file, which goes
        throw;
    }
    if (!report.totals.isEmpty()) writeRow(report.totals, true);

    if (const lxw_error e = workbook_close(book); e != LXW_NO_ERROR)
        return failed(QString::fromUtf8(lxw_strerror(e)));
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    part.setAutoRemove(false);
    return {};
}
