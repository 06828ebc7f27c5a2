#include "stats/StatsReport.h"

#include "core/Options.h"

#include <algorithm>

Report StatsReport(const QString& title, const std::vector<StatsColumn>& columns,
                   std::vector<QStringList> rows, const QString& total) {
    Report r;
    ReportLayout& l = r.layout;
    l.margins = QMargins(567, 567, 567, 567);
    l.width = 11906 - 2 * 567; // A4 portrait inside the margins
    l.pageHeader = {1095, {{1065, 15}}};
    l.detail = {300, {}};
    l.pageFooter = {405, {{0, 15}}};
    l.title.box = {0, 0, l.width, 420};
    l.printTime.box = {l.width - 4200, 450, 4200, 255};
    l.printTime.alignment = Qt::AlignRight;
    l.pageNumber.box = {l.width - 3000, 105, 3000, 255};
    l.pageNumber.alignment = Qt::AlignRight;
    l.caption.box = {0, 105, 4800, 255};

    int listWidth = 0;
    for (const StatsColumn& c : columns)
        listWidth += c.twips;
    const double scale = std::min(1.0, double(l.width) / std::max(listWidth, 1));
    int left = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const StatsColumn& c = columns[i];
        const int width = int(c.twips * scale);
        const ReportColumn::Kind kind = c.kind == StatsColumn::Kind::Text   ? ReportColumn::Kind::Text
                                        : c.kind == StatsColumn::Kind::Date ? ReportColumn::Kind::Date
                                                                            : ReportColumn::Kind::Number;
        r.columns.push_back(
            {c.header, {left, 750, width, 285}, {left + 30, 30, width - 60, 240}, c.alignment, kind});
        left += width;
    }
    r.title = title;
    r.printTimeLabel = QStringLiteral("打印时间：");
    r.printTime = QDateTime::currentDateTime();
    r.pageNumbering = QStringLiteral("( 共%P页  第%p页 )");
    r.caption = app::kTitle;
    r.rows = std::move(rows);
    if (!total.isEmpty()) {
        r.totals = QStringList(int(columns.size()), QString());
        r.totals[1] = total;
    }
    return r;
}
