#include "core/RecordReader.h"

namespace {
int at(const RowSource& rows, const char* column) {
    return rows.columnIndex(QLatin1String(column));
}
} // namespace

RecordReader::RecordReader(const RowSource& rows)
    : in_(rows), id_(at(rows, "ID")), tzid_(at(rows, "TZID")), rq_(at(rows, "RQ")), sl_(at(rows, "SL")),
      zje_(at(rows, "ZJE")), gzje_(at(rows, "GZJE")), jxid_(at(rows, "JXID")), khxqid_(at(rows, "KHXQID")),
      bz_(at(rows, "BZ")), spmc_(at(rows, "SPMC")), khzl_(at(rows, "KHZL")), khxq_(at(rows, "KHXQ")),
      gys_(at(rows, "GYS")), jc_(at(rows, "JC")), mc_(at(rows, "MC")), xh_(at(rows, "XH")),
      kw_(at(rows, "KW")), kcmin_(at(rows, "KCmin")), zkc_(at(rows, "ZKC")), zcb_(at(rows, "ZCB")),
      lsj_(at(rows, "LSJ")), pfj_(at(rows, "PFJ")), dbj_(at(rows, "DBJ")), khmc_(at(rows, "KHMC")),
      khid_(at(rows, "KHID")), kh_(at(rows, "KH")), bj_(at(rows, "BJ")), gysmc_(at(rows, "GYSMC")),
      gyszl_(at(rows, "GYSZL")), ghpz_(at(rows, "GHPZ")) {}

GoodsRecord RecordReader::goods() const {
    GoodsRecord r{in_.id(id_),      in_.text(jc_),      in_.text(mc_),    in_.text(xh_),
                  in_.text(kw_),    in_.number(kcmin_), in_.number(zkc_), in_.number(zcb_),
                  in_.number(lsj_), in_.number(pfj_),   in_.number(dbj_), {}};
    r.label = r.MC + QLatin1Char('/') + r.JC + QLatin1Char('/') + r.XH;
    return r;
}

// Sales and purchases read the same columns but for their last two labels.
SaleRecord RecordReader::sale() const {
    return {in_.id(id_),      in_.id(tzid_),     in_.dateText(rq_), in_.number(sl_),
            in_.number(zje_), in_.number(gzje_), in_.id(jxid_),     in_.id(khxqid_),
            in_.text(bz_),    in_.text(spmc_),   in_.text(khzl_),   in_.text(khxq_)};
}

PurchaseRecord RecordReader::purchase() const {
    return {in_.id(id_),      in_.id(tzid_),     in_.dateText(rq_), in_.number(sl_),
            in_.number(zje_), in_.number(gzje_), in_.id(jxid_),     in_.id(khxqid_),
            in_.text(bz_),    in_.text(spmc_),   in_.text(gys_),    in_.text(khzl_)};
}

CustomerRecord RecordReader::customer() const {
    return {in_.id(id_), in_.text(khmc_), in_.text(khzl_)};
}

DemandRecord RecordReader::demand() const {
    return {in_.id(id_), in_.dateText(rq_), in_.id(khid_), in_.text(khxq_), in_.flag(bj_), in_.text(kh_)};
}

SupplierRecord RecordReader::supplier() const {
    SupplierRecord r{in_.id(id_), in_.text(gysmc_), in_.text(ghpz_), in_.text(gyszl_), {}};
    r.label = r.GYSMC + QLatin1Char('(') + r.GYSZL + QLatin1Char(')');
    return r;
}
