#pragma once
// What every list shares: whole rows selected one at a time, nothing edited in place, no
// grid, alternating row colours, rows of one height (a hundred thousand rows lay out at
// once), the column widths its model gives in twips, and the last column taking the rest.
#include <QTableView>

class ListView : public QTableView {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Every column but the last to its model's width (listroles::TwipsRole), then the last.
    void resetColumnWidths();
    // The last column takes what the others leave of the width, less room for the scroll bar,
    // but never less than 1000 twips. Widths the operator dragged are kept.
    void fitLastColumn();
    // Widths the operator drags are kept in the settings under this list's name for the data
    // file in use, and come back now; "恢复默认列宽" in the header's menu forgets them.
    void rememberColumnWidths(const QString& dataFile, const QString& listName);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void saveColumnWidths();
    QString settingsKey_;
    bool settingWidths_ = false; // our own width changes are no operator's choice
};
