#include "ui/ListView.h"

#include "ui/ListColumn.h"
#include "ui/Twips.h"

#include <QHeaderView>
#include <algorithm>

ListView::ListView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void ListView::resetColumnWidths() {
    if (!model()) return;
    for (int c = 0; c + 1 < model()->columnCount(); ++c)
        setColumnWidth(
            c, twips::toPx(*this, model()->headerData(c, Qt::Horizontal, listroles::TwipsRole).toInt()));
    fitLastColumn();
}

void ListView::fitLastColumn() {
    const int last = model() ? model()->columnCount() - 1 : -1;
    if (last < 0) return;
    int fixed = 0;
    for (int c = 0; c < last; ++c)
        fixed += columnWidth(c);
    setColumnWidth(last, std::max(width() - twips::toPx(*this, 360) - fixed, twips::toPx(*this, 1000)));
}

void ListView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitLastColumn();
}
