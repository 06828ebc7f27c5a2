#include "mainwindow/ListReports.h"

#include "core/Printers.h"
#include "core/Session.h"
#include "core/TextRoutines.h"
#include "core/Transaction.h"
#include "mainwindow/DemandListModel.h"
#include "mainwindow/GoodsListModel.h"
#include "mainwindow/ListViews.h"
#include "mainwindow/PurchaseListModel.h"
#include "mainwindow/SaleListModel.h"
#include "partners/CustomerBook.h"
#include "partners/CustomerListModel.h"
#include "partners/SupplierListModel.h"
#include "report/CsvWriter.h"
#include "report/XlsxWriter.h"

#include <algorithm>
#include <array>

namespace listreports {

namespace {

using Kind = ReportColumn::Kind;

const std::array<QString, kListCount> kNames = {QStringLiteral("客户需求"), QStringLiteral("供货商"),
                                                QStringLiteral("库存记录"), QStringLiteral("销售记录"),
                                                QStringLiteral("进货记录"), QStringLiteral("客户资料")};
const std::array<QString, kListCount> kFileNames = {QStringLiteral("客户需求"), QStringLiteral("供货商"),
                                                    QStringLiteral("库存台账"), QStringLiteral("销售记录"),
                                                    QStringLiteral("进货记录"), QStringLiteral("客户")};

const QString kTitle = QStringLiteral("Vostrel");
const QString kNoPrinter = QStringLiteral("请首先安装打印机！");

// A cell of the list holding several numbers ("15/5") is split at its slashes: numbers and the
// "..." of hidden money never hold one.
QString part(const QString& cell, int index) {
    return cell.section(QLatin1Char('/'), index, index);
}

// What the printed reports share: the footer, the print time, the page numbers, the caption.
Report printedSkeleton(const QString& title, const QDateTime& printTime) {
    Report r;
    r.title = title;
    r.printTimeLabel = QStringLiteral("打印时间：");
    r.printTime = printTime;
    r.pageNumbering = QStringLiteral("( 共%P页  第%p页 )");
    r.caption = QStringLiteral("Vostrel 进销存台账 · 新版本在项目仓库的发布页公布");
    r.layout.pageNumber.box = {7170, 105, 2010, 255};
    r.layout.caption.box = {120, 150, 4860, 210};
    r.layout.detail = {345, {{330, 15}}};
    return r;
}

// The goods ledger: row number, goods label, stock, place on a 10590-twip report. Every text
// starts at the left of its box, which is what the boxes were placed for.
Report ledgerReport(const QString& title, const QDateTime& printTime) {
    Report r = printedSkeleton(title, printTime);
    ReportLayout& l = r.layout;
    l.margins = QMargins(600, 1021, 0, 567); // the report ends 716 twips short of the right edge
    l.width = 10590;
    l.pageHeader = {1095, {{615, 45}, {1065, 15}}};
    l.pageFooter = {405, {{0, 30}}};
    l.title.box = {15, 0, 9795, 330};
    l.printTime.box = {7230, 345, 3285, 255};
    r.columns = {{QStringLiteral("序号"), {30, 750, 810, 285}, {30, 75, 825, 240}},
                 {QStringLiteral("商品标识"), {1275, 750, 5955, 285}, {900, 75, 6330, 240}},
                 {QStringLiteral("库存"), {7230, 750, 1110, 285}, {7260, 75, 1065, 240}},
                 {QStringLiteral("库位"), {8355, 750, 2205, 285}, {8370, 75, 2205, 240}}};
    return r;
}

// Sales and purchases: row number, date, goods label, quantity, amount and the partner's label
// on a 9630-twip report whose rules are 9615 wide.
Report movementReport(const QString& title, const QDateTime& printTime) {
    Report r = printedSkeleton(title, printTime);
    ReportLayout& l = r.layout;
    l.margins = QMargins(1100, 1588, 0, 1134);
    l.width = 9630;
    l.pageHeader = {1290, {{825, 45, 0, 9615}, {1260, 15, 0, 9615}}};
    l.detail = {345, {{330, 15, 0, 9615}}};
    l.pageFooter = {360, {{0, 30, 0, 9615}}};
    l.title.box = {30, 0, 9255, 420};
    l.printTime.box = {6315, 570, 3315, 255};
    r.columns = {{QStringLiteral("序号"), {0, 990, 540, 225}, {0, 75, 585, 240}},
                 {QStringLiteral("日期"), {720, 990, 1035, 225}, {600, 75, 1305, 240}},
                 {QStringLiteral("商品标识"), {2265, 990, 915, 225}, {1935, 75, 2955, 240}},
                 {QStringLiteral("数量"), {5010, 990, 510, 225}, {4920, 75, 660, 240}},
                 {QStringLiteral("总金额"), {5700, 990, 720, 225}, {5640, 75, 840, 240}},
                 {QStringLiteral("备注"), {7440, 990, 510, 225}, {6585, 75, 3015, 240}}};
    return r;
}

// A column of an exported list: a list column whole (part -1) or one number of it; an empty
// heading is the list's own.
struct ExportColumn {
    int listColumn;
    int part;
    QString heading;
    Kind kind;
};

std::vector<ExportColumn> exportColumns(int kind, int listColumns) {
    switch (kind) {
    case listviews::Goods:
        return {{0, -1, {}, Kind::Number},
                {1, -1, {}, Kind::Text},
                {2, -1, {}, Kind::Text},
                {3, 0, QStringLiteral("库存"), Kind::Number},
                {3, 1, QStringLiteral("最小库存"), Kind::Number},
                {4, -1, {}, Kind::Number},
                {5, 0, QStringLiteral("零售价"), Kind::Number},
                {5, 1, QStringLiteral("批发价"), Kind::Number},
                {5, 2, QStringLiteral("调拨价"), Kind::Number}};
    case listviews::Sales:
    case listviews::Purchases:
        return {{0, -1, {}, Kind::Number},
                {1, -1, {}, Kind::Date},
                {2, -1, {}, Kind::Text},
                {3, -1, {}, Kind::Number},
                {4, 0, QStringLiteral("金额"), Kind::Number},
                {4, 1, QStringLiteral("挂账金额"), Kind::Number},
                {5, -1, {}, Kind::Text}};
    default: {
        std::vector<ExportColumn> columns{{0, -1, {}, Kind::Number}};
        for (int c = 1; c < listColumns; ++c)
            columns.push_back({c, -1, {}, c == 1 && kind == listviews::Demands ? Kind::Date : Kind::Text});
        return columns;
    }
    }
}

} // namespace

QStringList printedTexts(const GoodsRecord&, const QStringList& cells) {
    return {cells.value(GoodsListModel::Goods), part(cells.value(GoodsListModel::Stock), 0),
            cells.value(GoodsListModel::Place)};
}

QStringList printedTexts(const SaleRecord& r, const QStringList& cells) {
    return {cells.value(SaleListModel::Date), cells.value(SaleListModel::Goods),
            cells.value(SaleListModel::Quantity), part(cells.value(SaleListModel::Amount), 0), r.KHZL};
}

QStringList printedTexts(const PurchaseRecord& r, const QStringList& cells) {
    return {cells.value(PurchaseListModel::Date), cells.value(PurchaseListModel::Goods),
            cells.value(PurchaseListModel::Quantity), part(cells.value(PurchaseListModel::Amount), 0), r.GYS};
}

bool printable(int kind) {
    return kind == listviews::Goods || kind == listviews::Sales || kind == listviews::Purchases;
}

QString title(int kind, const QString& keyword) {
    const QString& name = kNames[size_t(std::clamp(kind, 0, kListCount - 1))];
    if (!keyword.isEmpty()) return QStringLiteral("包含关键字<") + keyword + QStringLiteral(">的") + name;
    QStringList characters;
    for (const QChar c : name)
        characters << QString(c);
    return characters.join(QStringLiteral("  "));
}

QString fileName(int kind, Format format) {
    static constexpr std::array<const char*, 3> kExtensions = {".pdf", ".xlsx", ".csv"};
    return kFileNames[size_t(std::clamp(kind, 0, kListCount - 1))] +
           QLatin1String(kExtensions[size_t(format)]);
}

bool printerReady(Session& session) {
    const std::optional<PrinterInfo> printer = session.printers().defaultPrinter();
    if (!printer) {
        session.boxes().warning(kNoPrinter, kTitle);
        return false;
    }
    if (printer->paper != QLatin1String("A4") || printer->orientation != PaperOrientation::Portrait)
        session.boxes().warning(QStringLiteral("请在控制面板中将[") + printer->name +
                                    QStringLiteral("]打印机的纸张大小设置成为A4纸，纸张方向设置成为纵向！"),
                                kTitle);
    return true;
}

Report printedReport(Session& session, const ShownList& list, const QString& keyword,
                     const QDateTime& printTime) {
    const QString name = title(list.kind, keyword);
    Report r =
        list.kind == listviews::Goods ? ledgerReport(name, printTime) : movementReport(name, printTime);
    const int texts = int(r.columns.size()) - 1; // TB1, TB2, ...; TB6 is never written
    {
        Transaction staging(session);
        session.execSql(QStringLiteral("delete from T_print1"));
        int number = 0;
        FieldValues fields;
        list.forEachRow([&](const QStringList&, const QStringList& printed) {
            fields.clear();
            fields.emplace_back(QStringLiteral("XH"), QString::number(++number));
            for (int i = 0; i < texts; ++i)
                fields.emplace_back(QStringLiteral("TB%1").arg(i + 1), printed.value(i));
            session.addRow(QStringLiteral("T_Print1"), fields);
        });
        // The rows come back in the order they were written: the statement has no ordering
        // clause. Read before the commit, so that a print that fails leaves nothing staged.
        session.read(QStringLiteral("select * from T_Print1"), [&](RowSource& in) {
            std::vector<int> columns{in.columnIndex(QStringLiteral("XH"))};
            for (int i = 0; i < texts; ++i)
                columns.push_back(in.columnIndex(QStringLiteral("TB%1").arg(i + 1)));
            while (in.next()) {
                QStringList row;
                for (const int c : columns)
                    row << in.text(c);
                r.rows.push_back(std::move(row));
            }
        });
        staging.commit();
    }
    return r;
}

Report listReport(const ShownList& list, const QString& keyword, const QDateTime& printTime, bool streamed) {
    Report r = printedSkeleton(title(list.kind, keyword), printTime);
    ReportLayout& l = r.layout;
    l.margins = QMargins(1100, 1588, 0, 1134);
    l.width = 9630;
    l.pageHeader = {1290, {{825, 45}, {1260, 15}}};
    l.pageFooter = {360, {{0, 30}}};
    l.title.box = {0, 0, l.width, 420};
    l.printTime.box = {l.width - 3315, 570, 3315, 255};

    // The list's widths, narrowed together until they fit the report; the last column takes
    // the rest but at least 1000 twips.
    const int count = int(list.columns.size());
    std::vector<int> widths;
    int fixed = 0;
    for (const ListColumn& c : list.columns) {
        widths.push_back(c.twips);
        fixed += c.twips;
    }
    const bool rest = count > 0 && widths.back() == 0;
    const int room = l.width - (rest ? 1000 : 0);
    if (fixed > room) {
        const int wanted = fixed;
        fixed = 0;
        for (int& w : widths)
            fixed += (w = w * room / wanted);
    }
    if (rest) widths.back() = l.width - fixed;

    const std::vector<ExportColumn> columns = exportColumns(list.kind, count);
    std::vector<int> parts(size_t(count), 0);
    for (const ExportColumn& c : columns)
        ++parts[size_t(c.listColumn)];
    int left = 0;
    for (const ExportColumn& c : columns) {
        const int width = widths[size_t(c.listColumn)] / parts[size_t(c.listColumn)];
        const Qt::Alignment align = c.kind == Kind::Number ? Qt::AlignRight : Qt::AlignLeft;
        r.columns.push_back({c.heading.isEmpty() ? list.columns[size_t(c.listColumn)].header : c.heading,
                             {left + 30, 990, width - 60, 225},
                             {left + 30, 75, width - 60, 240},
                             c.listColumn == 0 ? Qt::AlignLeft : align,
                             c.kind});
        left += width;
    }

    // The rows come from the list a page at a time; a report that pages holds them.
    r.moreRows = [forEachRow = list.forEachRow,
                  columns](const std::function<void(const QStringList&)>& take) {
        QStringList row;
        forEachRow([&](const QStringList& cells, const QStringList&) {
            row.clear();
            for (const ExportColumn& c : columns) {
                const QString& cell = cells.at(c.listColumn);
                row << (c.part < 0 ? cell : part(cell, c.part));
            }
            take(row);
        });
    };
    if (!streamed) {
        r.rows.reserve(size_t(list.rowCount));
        r.moreRows([&](const QStringList& row) { r.rows.push_back(row); });
        r.moreRows = nullptr;
    }
    return r;
}

QString exportList(Session& session, const ShownList& list, const QString& keyword, Format format,
                   const QString& path) {
    const QDateTime now = QDateTime::currentDateTime();
    try {
        switch (format) {
        case Format::Pdf:
            return writePdf(printable(list.kind) ? printedReport(session, list, keyword, now)
                                                 : listReport(list, keyword, now),
                            path);
        case Format::Xlsx:
            return writeXlsx(listReport(list, keyword, now, true), path);
        case Format::Csv:
            return writeCsv(listReport(list, keyword, now, true), path);
        }
    } catch (const DbError& e) {
        return e.text;
    }
    return {};
}

void withList(Session& session, int kind, const std::optional<QString>& search,
              const std::function<void(const ShownList&)>& use) {
    const QString keywords = search ? Clean(*search) : QString();
    if (kind == kCustomers) {
        partners::CustomerListModel model;
        model.setRows(CustomerBook(session).load(search ? CustomerBook::searchQuery(keywords) : QString()));
        use(shownList(kind, model));
        return;
    }
    const QString statement =
        search ? listviews::searchStatement(kind, keywords) : listviews::defaultStatement(kind);
    const auto load = [&](auto& model, auto&& read) {
        if (search) {
            // A search may find millions of rows, read a page at a time as they are written.
            model.applyOptions(session.options);
            model.stream(session, statement, listviews::baseStatement(kind), 1);
            model.finishLoading();
        } else {
            session.read(statement, read);
        }
        use(shownList(kind, model));
    };
    switch (kind) {
    case listviews::Demands: {
        DemandListModel model;
        load(model, [&](RowSource& rows) { model.load(rows); });
        break;
    }
    case listviews::Suppliers: {
        partners::SupplierListModel model(7000);
        load(model, [&](RowSource& rows) { model.load(rows); });
        break;
    }
    case listviews::Goods: {
        GoodsListModel model;
        load(model, [&](RowSource& rows) { model.load(rows, session.options); });
        break;
    }
    case listviews::Sales: {
        SaleListModel model;
        load(model, [&](RowSource& rows) { model.load(rows); });
        break;
    }
    default: {
        PurchaseListModel model;
        load(model, [&](RowSource& rows) { model.load(rows, session.options); });
        break;
    }
    }
}

} // namespace listreports
