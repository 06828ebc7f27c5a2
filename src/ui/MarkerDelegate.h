#pragma once
// Paints a cell's small marker (its decoration) in the cell's left margin and leaves the text
// the cell's whole width, so that a narrow figure column keeps its figures; only a text too
// long to leave room for the marker gives way to it. Cells without a marker paint as usual.
#include <QStyledItemDelegate>

class MarkerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
