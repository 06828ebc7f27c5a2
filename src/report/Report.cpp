#include "report/Report.h"

#include "core/Vb.h"
#include "report/PdfFile.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kTwipsPerInch = 1440;

// The painter works in twips, so fonts are sized in twips too.
QFont inTwips(QFont font) {
    font.setPixelSize(qRound(font.pointSizeF() * kTwipsPerPoint));
    font.setHintingPreference(QFont::PreferNoHinting); // the same widths on paper and in a PDF
    // Shaping swaps digits beside letters for glyphs a PDF cannot map back to text ("M8" would
    // read "M"); these texts need none.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The longest start of the text that fits the width, cut between characters: a long text
// ends at its field and never runs into the next column.
QString fitted(QString text, const QFontMetricsF& metrics, qreal width) {
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t') c = u' ';
    if (metrics.horizontalAdvance(text) <= width) return text;
    std::vector<qsizetype> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype p = finder.toNextBoundary(); p > 0; p = finder.toNextBoundary())
        ends.push_back(p);
    size_t fit = 0, over = ends.size(); // the first `fit` characters fit, `over` do not
    while (over - fit > 1) {
        const size_t mid = (fit + over) / 2;
        if (metrics.horizontalAdvance(text.left(ends[mid - 1])) <= width)
            fit = mid;
        else
            over = mid;
    }
    return fit ? text.left(ends[fit - 1]) : QString();
}

void drawText(QPainter& painter, const TwipsRect& box, int y, Qt::Alignment alignment, const QString& text) {
    if (text.isEmpty()) return;
    if (!(alignment & Qt::AlignVertical_Mask)) alignment |= Qt::AlignVCenter;
    painter.drawText(QRectF(box.left, y + box.top, box.width, box.height),
                     int(alignment) | Qt::TextSingleLine,
                     fitted(text, QFontMetricsF(painter.font(), painter.device()), box.width));
}

void drawRules(QPainter& painter, const ReportBand& band, int y, int reportWidth) {
    for (const ReportRule& r : band.rules)
        painter.fillRect(QRectF(r.left, y + r.top, r.width ? r.width : reportWidth, r.thickness), Qt::black);
}

} // namespace

ReportLayout::ReportLayout()
    : font(QStringLiteral("Noto Sans CJK SC"), 9), titleFont(QStringLiteral("Noto Sans CJK SC"), 16) {
    titleFont.setBold(true);
    title.alignment = Qt::AlignHCenter;
}

void Report::forEachRow(const std::function<void(const QStringList&)>& f) const {
    for (const QStringList& row : rows)
        f(row);
    if (moreRows) moreRows(f);
}

QPageLayout Report::pageLayout() const {
    const QMargins& m = layout.margins;
    return QPageLayout(layout.paper, layout.orientation,
                       QMarginsF(m.left() / kTwipsPerPoint, m.top() / kTwipsPerPoint,
                                 m.right() / kTwipsPerPoint, m.bottom() / kTwipsPerPoint),
                       QPageLayout::Point);
}

Report::Pages Report::pages(const QPageLayout& page) const {
    Pages p;
    p.printableHeight = int(page.paintRect(QPageLayout::Point).height() * kTwipsPerPoint);
    const int body = p.printableHeight - layout.pageHeader.height - layout.pageFooter.height;
    p.rowsPerPage = std::max(1, layout.detail.height > 0 ? body / layout.detail.height : 1);
    const qsizetype slots = qsizetype(rows.size()) + (totals.isEmpty() ? 0 : 1);
    p.count = std::max<int>(1, int((slots + p.rowsPerPage - 1) / p.rowsPerPage));
    return p;
}

int Report::pageCount() const {
    return pages(pageLayout()).count;
}

QString Report::pageNumberText(int page, int pages) const {
    QString text = pageNumbering;
    return text.replace(QLatin1String("%P"), QString::number(pages))
        .replace(QLatin1String("%p"), QString::number(page));
}

QString Report::printTimeText() const {
    return printTimeLabel + (printTime.isValid() ? vb::DateTimeText(printTime) : QString());
}

void Report::paintPage(QPainter& painter, int page) const {
    paintPage(painter, page, pages(pageLayout()));
}

void Report::paintPage(QPainter& painter, int page, const Pages& p) const {
    painter.save();
    painter.setPen(Qt::black);
    const QFont font = inTwips(layout.font);
    QFont bold = font;
    bold.setBold(true);

    painter.setFont(inTwips(layout.titleFont));
    drawText(painter, layout.title.box, 0, layout.title.alignment, title);
    painter.setFont(font);
    drawText(painter, layout.printTime.box, 0, layout.printTime.alignment, printTimeText());
    for (const ReportColumn& c : columns)
        drawText(painter, c.headingBox, 0, c.alignment, c.heading);
    drawRules(painter, layout.pageHeader, 0, layout.width);

    int y = layout.pageHeader.height;
    const auto paintRow = [&](const QStringList& texts) {
        for (size_t c = 0; c < columns.size(); ++c)
            drawText(painter, columns[c].fieldBox, y, columns[c].alignment, texts.value(qsizetype(c)));
        drawRules(painter, layout.detail, y, layout.width);
        y += layout.detail.height;
    };
    const size_t first = size_t(page) * size_t(p.rowsPerPage);
    const size_t end = std::min(rows.size(), first + size_t(p.rowsPerPage));
    for (size_t i = first; i < end; ++i)
        paintRow(rows[i]);
    if (!totals.isEmpty() && page == p.count - 1) {
        painter.setFont(bold);
        paintRow(totals);
        painter.setFont(font);
    }

    y = p.printableHeight - layout.pageFooter.height;
    drawRules(painter, layout.pageFooter, y, layout.width);
    drawText(painter, layout.pageNumber.box, y, layout.pageNumber.alignment,
             pageNumberText(page + 1, p.count));
    drawText(painter, layout.caption.box, y, layout.caption.alignment, caption);
    painter.restore();
}

bool Report::print(QPagedPaintDevice& device) const {
    device.setPageLayout(pageLayout()); // a printer without this paper keeps its own
    const Pages p = pages(device.pageLayout());
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (int page = 0; page < p.count; ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        painter.save();
        painter.scale(device.logicalDpiX() / kTwipsPerInch, device.logicalDpiY() / kTwipsPerInch);
        paintPage(painter, page, p);
        painter.restore();
    }
    return painter.end();
}

QString writePdf(const Report& report, const QString& path) {
    return writePdfFile(path, report.title, report.pageLayout(),
                        [&](QPagedPaintDevice& device) { return report.print(device); });
}
