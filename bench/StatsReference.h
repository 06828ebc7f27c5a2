#pragma once
// Both statistics computed the slow, obvious way: every statement as the windows were first
// written, a full replay of all movements for each month, one query per goods item. The
// program must show exactly these texts.
#include <QStringList>
#include <vector>

class Session;

struct ReferenceList {
    std::vector<QStringList> rows; // as the list shows them, row number first
    QString total;                 // the status bar (goods only)
};

ReferenceList ReferenceMonthly(Session& s);
ReferenceList ReferenceGoods(Session& s);
