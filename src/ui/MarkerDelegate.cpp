#include "ui/MarkerDelegate.h"

#include <QApplication>
#include <QPainter>

void MarkerDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    QStyleOptionViewItem o(option);
    initStyleOption(&o, index);
    if (!(o.features & QStyleOptionViewItem::HasDecoration)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QIcon marker = o.icon;
    o.features &= ~QStyleOptionViewItem::HasDecoration;
    o.icon = QIcon();
    const QWidget* widget = o.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QSize size = o.decorationSize;
    const QRect markerRect(o.rect.left() + 2, o.rect.center().y() - size.height() / 2 + 1, size.width(),
                           size.height());
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    if (o.fontMetrics.horizontalAdvance(o.text) + 2 * textMargin > o.rect.width() - markerRect.width() - 2) {
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, painter, widget);
        o.rect.setLeft(markerRect.right() + 1);
    }
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, widget);
    marker.paint(painter, markerRect);
}
