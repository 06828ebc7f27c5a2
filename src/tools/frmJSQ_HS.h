#pragma once
// The project budget calculator: a grid of numbers, each joined to the running result by its
// operator, with the running result beside every number. Edits take effect as they are typed.
// Modeless; it touches no data and never shows a message.
#include "tools/BudgetSheet.h"

#include <QWidget>
#include <map>

class MessageBoxes;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmJSQ_HS : public QWidget {
    Q_OBJECT
public:
    explicit frmJSQ_HS(QWidget* parent = nullptr);
    // The same constructor as the other tool windows; this one has nothing to report.
    explicit frmJSQ_HS(MessageBoxes& boxes, QWidget* parent = nullptr);

    const BudgetSheet& sheet() const { return sheet_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdS_Click(int index);
    void resetSheet();
    void loadExample();
    void placeEditor();
    void refreshGrid();
    void setColumnWidths();
    void onEditorTextChanged(const QString& text);
    void onScrolled();
    void moveCurrentRow(int step);

    BudgetSheet sheet_;
    QTableWidget* gridNR = nullptr;
    QLineEdit* txtNR = nullptr;
    bool filling_ = false; // the program itself is filling the editor: not an edit
    std::map<int, QPushButton*> cmdS;
};
