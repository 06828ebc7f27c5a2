#include "tools/frmJSQ_HS.h"

#include "ui/CommandButton.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The in-place editor selects its text (without trailing blanks) when it gets the focus, so
// that typing replaces the cell.
class CellEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        const QString t = text();
        qsizetype end = t.size();
        while (end > 0 && t.at(end - 1).isSpace())
            --end;
        setSelection(0, int(end));
    }
};

Qt::Alignment alignmentOf(int column) {
    return column <= BudgetSheet::OperatorColumn ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

frmJSQ_HS::frmJSQ_HS(MessageBoxes&, QWidget* parent) : frmJSQ_HS(parent) {}

frmJSQ_HS::frmJSQ_HS(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmJSQ_HS"));

    gridNR = new QTableWidget(this);
    gridNR->setObjectName(QStringLiteral("gridNR"));
    gridNR->setColumnCount(BudgetSheet::kColumns);
    gridNR->verticalHeader()->hide();
    gridNR->horizontalHeader()->setSectionsClickable(false);
    gridNR->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridNR->horizontalHeader()->setMinimumSectionSize(1); // the operator column is narrow
    gridNR->horizontalHeader()->setHighlightSections(false);
    gridNR->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridNR->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    gridNR->setEditTriggers(QAbstractItemView::NoEditTriggers); // all editing goes through txtNR
    gridNR->setSelectionMode(QAbstractItemView::NoSelection);
    gridNR->setTabKeyNavigation(false);
    QStringList headers;
    for (int c = 0; c < BudgetSheet::kColumns; ++c)
        headers << BudgetSheet::header(c);
    gridNR->setHorizontalHeaderLabels(headers);
    // All rows are as high as the header row.
    gridNR->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    gridNR->verticalHeader()->setDefaultSectionSize(gridNR->horizontalHeader()->sizeHint().height());
    gridNR->setMinimumSize(460, 420);
    gridNR->installEventFilter(this);

    txtNR = new CellEditor(gridNR->viewport());
    txtNR->setObjectName(QStringLiteral("txtNR"));
    txtNR->setFrame(false);
    txtNR->hide();
    txtNR->installEventFilter(this);
    connect(txtNR, &QLineEdit::textChanged, this, &frmJSQ_HS::onEditorTextChanged);

    connect(gridNR, &QTableWidget::currentCellChanged, this, [this] { placeEditor(); });
    connect(gridNR->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { onScrolled(); });

    const std::pair<int, QString> buttons[] = {{21, QStringLiteral("例子")},
                                               {20, QStringLiteral("重新运算")},
                                               {3, QStringLiteral("清除屏幕")},
                                               {0, QStringLiteral("退出")}};
    auto* side = new QVBoxLayout;
    auto* notes = new QGroupBox(QStringLiteral("说明"), this);
    auto* notesLayout = new QVBoxLayout(notes);
    for (const QString& line : {QStringLiteral("只需输入数据，每一步的运算结果会自动出现。"),
                                QStringLiteral("默认做加法，运算符可以随时修改。"),
                                QStringLiteral("修改任何一个输入数据，运算结果立即随之改变，"
                                               "适合做项目预算或累计发票金额。"),
                                QStringLiteral("运算符有“+ - * /”四种。")}) {
        auto* label = new QLabel(line, notes);
        label->setWordWrap(true);
        notesLayout->addWidget(label);
    }
    notes->setFixedWidth(200);
    side->addWidget(notes);
    side->addStretch();
    for (const auto& [index, caption] : buttons) {
        auto* b = commandButton(this, &frmJSQ_HS::cmdS_Click, index, caption);
        b->setMinimumHeight(32);
        cmdS[index] = b;
        side->addWidget(b);
    }

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(gridNR, 1);
    layout->addLayout(side);

    setWindowTitle(QStringLiteral("项目预算器"));
    resetSheet();
    loadExample();
}

void frmJSQ_HS::setColumnWidths() {
    // The two number columns share what the row number, the operator and a scroll bar leave.
    const int w = std::max(600, (twips::fromPx(*this, gridNR->width()) - 500 - 300 - 400) / 2);
    gridNR->setColumnWidth(BudgetSheet::RowNumberColumn, twips::toPx(*this, 500));
    gridNR->setColumnWidth(BudgetSheet::OperatorColumn, twips::toPx(*this, 300));
    gridNR->setColumnWidth(BudgetSheet::InputColumn, twips::toPx(*this, w));
    gridNR->setColumnWidth(BudgetSheet::ResultColumn, twips::toPx(*this, w));
}

void frmJSQ_HS::refreshGrid() {
    gridNR->setRowCount(sheet_.rows() - 1);
    for (int r = 1; r < sheet_.rows(); ++r) {
        for (int c = 0; c < BudgetSheet::kColumns; ++c) {
            QTableWidgetItem* item = gridNR->item(r - 1, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled);
                item->setTextAlignment(alignmentOf(c));
                if (c == BudgetSheet::RowNumberColumn) item->setBackground(palette().button());
                gridNR->setItem(r - 1, c, item);
            }
            const QString text = sheet_.cell(r, c);
            if (item->text() != text) item->setText(text);
        }
    }
}

void frmJSQ_HS::resetSheet() {
    sheet_.reset();
    refreshGrid();
    setColumnWidths();
    gridNR->setCurrentCell(0, BudgetSheet::InputColumn);
    gridNR->scrollToTop();
    placeEditor();
}

void frmJSQ_HS::loadExample() {
    sheet_.loadExample();
    refreshGrid();
    placeEditor();
}

void frmJSQ_HS::cmdS_Click(int index) {
    switch (index) {
    case 0:
        close();
        return;
    case 3:
        resetSheet();
        break;
    case 20:
        sheet_.compute();
        refreshGrid();
        break;
    case 21:
        loadExample();
        break;
    default:
        return;
    }
    gridNR->setFocus();
}

void frmJSQ_HS::placeEditor() {
    const int row = gridNR->currentRow();
    const int column = gridNR->currentColumn();
    if (row < 0 || column < 0) return;
    // Row numbers and results are never edited.
    if (column > BudgetSheet::InputColumn) {
        gridNR->setCurrentCell(row, BudgetSheet::InputColumn);
        return;
    }
    if (column < BudgetSheet::OperatorColumn) {
        gridNR->setCurrentCell(row, BudgetSheet::OperatorColumn);
        return;
    }
    const QRect cell = gridNR->visualRect(gridNR->model()->index(row, column));
    if (!cell.isValid()) {
        txtNR->hide();
        return;
    }
    txtNR->setGeometry(cell.adjusted(0, 0, -1, -1)); // leaves the grid lines showing
    filling_ = true;
    txtNR->setText(sheet_.cell(row + 1, column));
    txtNR->setAlignment(alignmentOf(column));
    filling_ = false;
    txtNR->show();
    txtNR->raise();
}

void frmJSQ_HS::onEditorTextChanged(const QString& text) {
    if (filling_) return;
    const int row = gridNR->currentRow() + 1;
    const BudgetSheet::Edit outcome = sheet_.edit(row, gridNR->currentColumn(), text);
    if (outcome == BudgetSheet::Edit::Ignored) return;
    refreshGrid();
    if (outcome == BudgetSheet::Edit::PendingRowRemoved) placeEditor();
}

void frmJSQ_HS::onScrolled() {
    // The current row stays within the rows on view, and the editor follows it.
    const int first = gridNR->rowAt(0);
    const int row = gridNR->currentRow();
    if (first >= 0 && row >= 0) {
        const int rowHeight = std::max(1, gridNR->rowHeight(first));
        const int last = first + std::max(1, gridNR->viewport()->height() / rowHeight) - 1;
        if (row < first)
            gridNR->setCurrentCell(first, gridNR->currentColumn());
        else if (row > last && last < gridNR->rowCount())
            gridNR->setCurrentCell(last, gridNR->currentColumn());
    }
    placeEditor();
}

void frmJSQ_HS::moveCurrentRow(int step) {
    gridNR->setFocus();
    const int row = gridNR->currentRow() + step;
    if (row >= 0 && row < gridNR->rowCount()) gridNR->setCurrentCell(row, gridNR->currentColumn());
}

bool frmJSQ_HS::eventFilter(QObject* watched, QEvent* event) {
    if (watched == gridNR && event->type() == QEvent::Resize) {
        setColumnWidths();
        placeEditor();
    } else if (event->type() == QEvent::KeyPress && (watched == gridNR || watched == txtNR)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == txtNR) {
            if (enter || key->key() == Qt::Key_Down) {
                moveCurrentRow(1);
                return true;
            }
            if (key->key() == Qt::Key_Up) {
                moveCurrentRow(-1);
                return true;
            }
            return false;
        }
        if (enter || key->key() == Qt::Key_Delete) {
            txtNR->setFocus();
            return true;
        }
        // A character typed on the grid starts editing the current cell with it.
        const QString typed = key->text();
        if (!typed.isEmpty() && typed.at(0).isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
            !txtNR->isHidden()) {
            txtNR->setFocus();
            txtNR->insert(typed);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
