#pragma once
// Every list and service that shows goods, movements, customers, demands or suppliers turns
// a statement's rows into records here. The columns are looked up by name once per
// statement; a column the statement lacks reads as Null.
#include "core/QueryResult.h"
#include "core/Records.h"

#include <vector>

class RecordReader {
public:
    explicit RecordReader(const RowSource& rows);

    // The record of the row the source stands on.
    GoodsRecord goods() const;
    SaleRecord sale() const;
    PurchaseRecord purchase() const;
    CustomerRecord customer() const;
    DemandRecord demand() const;
    SupplierRecord supplier() const;

    // Every row left in the source, read with one of the above.
    template <class Record>
    static std::vector<Record> all(RowSource& rows, Record (RecordReader::*read)() const) {
        const RecordReader reader(rows);
        std::vector<Record> records;
        while (rows.next())
            records.push_back((reader.*read)());
        return records;
    }

private:
    const RowSource& in_;
    int id_, tzid_, rq_, sl_, zje_, gzje_, jxid_, khxqid_, bz_, spmc_, khzl_, khxq_, gys_;
    int jc_, mc_, xh_, kw_, kcmin_, zkc_, zcb_, lsj_, pfj_, dbj_;
    int khmc_, khid_, kh_, bj_, gysmc_, gyszl_, ghpz_;
};
