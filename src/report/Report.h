#pragma once
// A printed list: a title, the print time, columns with their headings, rows of texts and
// optional totals, laid out in bands whose positions are given in twips (1440 to the inch)
// as the report forms were drawn. The same object is painted on paper or into a PDF and
// written to xlsx or CSV.
#include <QDateTime>
#include <QFont>
#include <QMargins>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPainter;
class QPagedPaintDevice;

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A text placed in a band.
struct ReportLabel {
    TwipsRect box;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// A line across a band; a width of 0 runs the whole width of the report.
struct ReportRule {
    int top = 0;
    int thickness = 15;
    int left = 0;
    int width = 0;
};

struct ReportBand {
    int height = 0;
    std::vector<ReportRule> rules;
};

struct ReportColumn {
    // How the exports write the column's cells: a Number or Date column writes each text that
    // reads as one as a number or a date, anything else ("...", blanks) as it stands.
    enum class Kind { Text, Number, Date };
    QString heading;
    TwipsRect headingBox;                    // in the page header
    TwipsRect fieldBox;                      // in a detail row
    Qt::Alignment alignment = Qt::AlignLeft; // of the heading and the field
    Kind kind = Kind::Text;
};

// Where everything goes on a page. The page header repeats on every page above the rows and
// the page footer sits at the foot of every page.
struct ReportLayout {
    QPageSize paper{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMargins margins; // twips: left, top, right, bottom
    int width = 0;    // twips
    ReportBand pageHeader;
    ReportBand detail; // one per row; a totals row uses it too
    ReportBand pageFooter;
    ReportLabel title;      // in the page header
    ReportLabel printTime;  // in the page header
    ReportLabel pageNumber; // in the page footer
    ReportLabel caption;    // in the page footer
    QFont font;             // headings, rows, footer; sizes in points
    QFont titleFont;
    ReportLayout();
};

class Report {
public:
    ReportLayout layout;
    QString title;
    QString printTimeLabel; // shown before the print time
    QDateTime printTime;    // shown as the program shows dates and times
    QString pageNumbering;  // "%P" stands for the page total, "%p" for the page number
    QString caption;        // a fixed text in the page footer
    std::vector<ReportColumn> columns;
    std::vector<QStringList> rows; // one text per column
    // Rows handed over one at a time after `rows`, for the xlsx and CSV writers: a long list
    // goes to its file without all of its texts held at once. Pages show `rows` alone.
    std::function<void(const std::function<void(const QStringList&)>&)> moreRows;
    QStringList totals; // a last row after the others, when not empty

    // Every row: those of `rows`, then those of `moreRows`.
    void forEachRow(const std::function<void(const QStringList&)>& f) const;

    QPageLayout pageLayout() const;
    // Pages on the layout's own paper; an empty report still has one.
    int pageCount() const;
    QString pageNumberText(int page, int pages) const; // page counts from 1
    QString printTimeText() const;
    // Paints one page (from 0) of the layout's own paper; the painter's origin is the top left
    // corner inside the margins and its unit the twip.
    void paintPage(QPainter& painter, int page) const;
    // Gives the device the layout's page and paints every page. A device that keeps paper
    // of its own (a printer that has no A4) gets the pages cut to its printable height.
    // False when the device would not paint.
    bool print(QPagedPaintDevice& device) const;

private:
    struct Pages {
        int printableHeight = 0; // twips
        int rowsPerPage = 1;
        int count = 1;
    };
    Pages pages(const QPageLayout& page) const;
    void paintPage(QPainter& painter, int page, const Pages& pages) const;
};

// Writes the report's pages into a PDF file. Returns an empty text, or why the file could not
// be written.
QString writePdf(const Report& report, const QString& path);
