#pragma once
// What the sales and purchases views share: date, goods label, quantity, amount (with what is
// still owed) and the note joined with two labels; the total is the amount column's.
#include "core/QueryResult.h"
#include "core/RecordReader.h"
#include "core/Vb.h"
#include "ui/RecordTableModel.h"

#include <type_traits>

template <class Record> class MovementListModel : public RecordTableModel<Record> {
public:
    enum Column { RowNumber, Date, Goods, Quantity, Amount, Note, ColumnCount };
    MovementListModel(QObject* parent, typename RecordTableModel<Record>::Read read)
        : RecordTableModel<Record>({{QStringLiteral("序号"), QStringLiteral("XH"), 600},
                                    {QStringLiteral("日期"), QStringLiteral("RQ"), 1300},
                                    {QStringLiteral("商品标识"), QStringLiteral("SPBS"), 4400},
                                    {QStringLiteral("数量"), QStringLiteral("SL"), 800, true},
                                    {QStringLiteral("金额"), QStringLiteral("JE"), 1400, true},
                                    {QStringLiteral("备注"), QStringLiteral("BZ"), 0}},
                                   parent, read, QStringLiteral("ZJE")) {}

protected:
    void loadRows(RowSource& in) {
        this->rebuild([&](RecordBlocks<Record>& rows) {
            const RecordReader reader(in);
            double total = 0;
            while (in.next()) {
                if constexpr (std::is_same_v<Record, SaleRecord>)
                    rows.push_back(reader.sale());
                else
                    rows.push_back(reader.purchase());
                total += rows.back().ZJE;
            }
            return total;
        });
    }

    // The note column: the note, then the two labels of the view.
    virtual QString labels(const Record& r) const = 0;

    QString cellText(int row, int column) const override {
        const Record& r = this->record(row);
        switch (column) {
        case Date:
            return r.RQ;
        case Goods:
            return r.SPMC;
        case Quantity:
            return vb::CStr(r.SL);
        case Amount: {
            const QString amount = showAmount_ ? vb::CStr(r.ZJE) : QStringLiteral("...");
            return r.GZJE > 0 ? amount + QLatin1Char('/') + vb::CStr(r.GZJE) : amount;
        }
        case Note:
            return r.BZ + QLatin1Char('/') + labels(r);
        default:
            return {};
        }
    }

    bool showAmount_ = true;
};
