#pragma once
// The main window on a fresh data file: rows written straight into the tables, the window
// opened on a tab, its list read and searched as the operator searches.
#include "mainwindow/ListViews.h"
#include "mainwindow/frmmain.h"
#include "support/TestFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <memory>

class MainWindowFixture : public LedgerFixture {
protected:
    qlonglong addGoods(const QString& mc, double zkc, double zcb, double kcmin = 0, const QString& jc = "JC",
                       const QString& xh = "X", double lsj = 0) {
        return addRowOf(session, "T_TZ", "MC,JC,XH,KW,KCmin,ZKC,ZCB,DJ,LSJ,PFJ,DBJ,BJ",
                        {mc, jc, xh, "A1", kcmin, zkc, zcb, zkc > 0 ? zcb / zkc : 0, lsj, 0, 0, false});
    }
    // A sale with tzid > 0, a purchase with tzid < 0; jxid is the customer or the supplier.
    qlonglong addMove(qlonglong tzid, const QString& rq, double sl, double zje, double gzje = 0,
                      qlonglong jxid = 0, qlonglong khxqid = 0, const QString& bz = "") {
        return addRowOf(session, "T_IO", "TZID,RQ,SL,ZJE,GZJE,JXID,KHXQID,BZ",
                        {tzid, rq, sl, zje, gzje, jxid, khxqid, bz});
    }
    std::unique_ptr<frmmain> open(int tab) {
        session.options.SSTab_Index = tab;
        auto w = std::make_unique<frmmain>(session);
        w->show();
        return w;
    }

    static QTableView* list(frmmain& w) { return w.findChild<QTableView*>("ListViewL"); }
    static int rows(frmmain& w) { return list(w)->model()->rowCount(); }
    static QString cell(frmmain& w, int row, int column) {
        const QAbstractItemModel* m = list(w)->model();
        return m->data(m->index(row, column)).toString();
    }
    // Enter in the keyword box; the search may still be running when this returns.
    static void startSearch(frmmain& w, const QString& text) {
        auto* combo = w.findChild<QComboBox*>("cmbSS");
        combo->setEditText(text);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    }
    // A search shows its rows as they are found; this waits for the last.
    static void finish(frmmain& w) {
        while (w.loading())
            QTest::qWait(5);
    }
    static void search(frmmain& w, const QString& text) {
        startSearch(w, text);
        finish(w);
    }
};
