#pragma once
// The rows behind the lists, as RecordReader reads them. A form opened for the selected row
// receives a copy of its record. Text fields hold "" for Null; dates are held as "yyyy-m-d"
// text.
#include <QString>

struct CustomerRecord {
    qlonglong ID = 0;
    QString KHMC;
    QString KHZL;
};

struct DemandRecord {
    qlonglong ID = 0;
    QString RQ;
    qlonglong KHID = 0;
    QString KHXQ;
    bool BJ = false;
    QString KH; // KHMC & "(" & KHZL & ")"
};

struct SupplierRecord {
    qlonglong ID = 0;
    QString GYSMC;
    QString GHPZ;
    QString GYSZL;
    QString label; // GYSMC & "(" & GYSZL & ")"
};

struct GoodsRecord {
    qlonglong ID = 0;
    QString JC;
    QString MC;
    QString XH;
    QString KW;
    double KCmin = 0;
    double ZKC = 0;
    double ZCB = 0;
    double LSJ = 0;
    double PFJ = 0;
    double DBJ = 0;
    QString label; // MC & "/" & JC & "/" & XH
};

struct SaleRecord {
    qlonglong ID = 0;
    qlonglong TZID = 0; // the goods item's ID
    QString RQ;
    double SL = 0;
    double ZJE = 0;
    double GZJE = 0;
    qlonglong JXID = 0;
    qlonglong KHXQID = 0;
    QString BZ;
    QString SPMC;
    QString KHZL;
    QString KHXQ;
};

struct PurchaseRecord {
    qlonglong ID = 0;
    qlonglong TZID = 0; // minus the goods item's ID
    QString RQ;
    double SL = 0;
    double ZJE = 0;
    double GZJE = 0;
    qlonglong JXID = 0;
    qlonglong KHXQID = 0;
    QString BZ;
    QString SPMC;
    QString GYS;
    QString KHZL;
};
