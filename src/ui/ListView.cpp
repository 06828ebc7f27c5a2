#include "ui/ListView.h"

#include "ui/ListColumn.h"
#include "ui/Twips.h"

#include <QAction>
#include <QHeaderView>
#include <QSettings>
#include <QUrl>
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
    auto* defaults = new QAction(QStringLiteral("恢复默认列宽"), horizontalHeader());
    connect(defaults, &QAction::triggered, this, [this] {
        if (!settingsKey_.isEmpty()) QSettings().remove(settingsKey_);
        resetColumnWidths();
    });
    horizontalHeader()->addAction(defaults);
    horizontalHeader()->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!settingWidths_ && model() && column + 1 < model()->columnCount()) saveColumnWidths();
    });
}

void ListView::rememberColumnWidths(const QString& dataFile, const QString& listName) {
    // A path's slashes would make settings groups of it.
    settingsKey_ = QStringLiteral("columnWidths/%1/%2")
                       .arg(QString::fromLatin1(QUrl::toPercentEncoding(dataFile)),
                            QString::fromLatin1(QUrl::toPercentEncoding(listName)));
    const QStringList saved = QSettings().value(settingsKey_).toStringList();
    if (!model() || saved.size() != model()->columnCount() - 1) return; // the columns changed since
    settingWidths_ = true;
    for (int c = 0; c < saved.size(); ++c)
        setColumnWidth(c, saved[c].toInt());
    settingWidths_ = false;
    fitLastColumn();
}

void ListView::saveColumnWidths() {
    if (settingsKey_.isEmpty()) return;
    QStringList widths;
    for (int c = 0; c + 1 < model()->columnCount(); ++c)
        widths << QString::number(columnWidth(c));
    QSettings().setValue(settingsKey_, widths);
}

void ListView::resetColumnWidths() {
    if (!model()) return;
    settingWidths_ = true;
    for (int c = 0; c + 1 < model()->columnCount(); ++c)
        setColumnWidth(
            c, twips::toPx(*this, model()->headerData(c, Qt::Horizontal, listroles::TwipsRole).toInt()));
    settingWidths_ = false;
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
