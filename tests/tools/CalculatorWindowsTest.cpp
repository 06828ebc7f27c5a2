#include "core/MessageBoxes.h"
#include "support/TestFixture.h"
#include "tools/frmJSQ_HS.h"
#include "tools/frmJSQ_SS.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

namespace {

const QString kExample = QStringLiteral("( 2.3 + 7.3 * ( (3+3.7)*4/2 + 4.2 ) ) * 4.4 - 7.3");

template <class W> void showActive(W& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

class ExpressionWindow : public ::testing::Test {
protected:
    void SetUp() override {
        showActive(w);
        text = w.findChild<QLineEdit*>(QStringLiteral("Text1"));
        result = w.findChild<QLineEdit*>(QStringLiteral("lblJG"));
        ASSERT_TRUE(text && result);
    }
    void click(const char* name) {
        auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(b) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    ScriptedMessageBoxes boxes;
    frmJSQ_SS w{boxes};
    QLineEdit* text = nullptr;
    QLineEdit* result = nullptr;
};

} // namespace

TEST_F(ExpressionWindow, OpensWithTheExampleEnterEvaluatesAndTheKeypadTypesAtTheCaret) {
    EXPECT_EQ(text->text(), kExample);
    EXPECT_EQ(result->text(), "568.132");
    text->setText(QStringLiteral("1/3"));
    QTest::keyClick(text, Qt::Key_Return);
    text->setText(QStringLiteral("1/0"));
    QTest::keyClick(text, Qt::Key_Return);
    ASSERT_EQ(boxes.shown.size(), 1u);
    expectBox(boxes.shown[0], ScriptedMessageBoxes::Kind::Warning, "被零除：第 2 个字符处“/”的除数是 0。",
              "Vostrel");
    EXPECT_EQ(result->text(), "0.333333333333333");

    text->setText(QStringLiteral("10/4"));
    click("cmdS(4)");
    EXPECT_EQ(result->text(), "2.5");
    click("cmdS(1)");
    EXPECT_TRUE(text->text().isEmpty() && result->text().isEmpty());
    click("cmdS(3)"); // the example comes back after clearing
    EXPECT_EQ(result->text(), "568.132");
    EXPECT_EQ(QApplication::focusWidget(), text);
    EXPECT_EQ(text->cursorPosition(), kExample.size());
    EXPECT_FALSE(text->hasSelectedText());

    // The keypad types at the caret and replaces the selection.
    text->setText(QStringLiteral("12+34"));
    text->setFocus();
    text->setSelection(2, 1);
    click("cmdQ(12)"); // ×
    EXPECT_EQ(text->text(), "12*34");
    click("cmdQ(16)"); // ← before the caret
    EXPECT_EQ(text->text(), "1234");
    text->setCursorPosition(1);
    click("cmdQ(16)");
    EXPECT_EQ(text->text(), "234");
    text->setCursorPosition(1);
    click("cmdQ(20)");
    click("cmdQ(5)");
    EXPECT_EQ(text->text(), "2.534");
    text->setSelection(3, 2);
    click("cmdQ(16)"); // ← removes the selection only
    for (const char* key : {"cmdQ(13)", "cmdQ(14)", "cmdQ(2)", "cmdQ(11)", "cmdQ(1)", "cmdQ(15)"})
        click(key);
    EXPECT_EQ(text->text(), "2.5/(2-1)");
    EXPECT_EQ(QApplication::focusWidget(), text);
}

namespace {

class BudgetWindow : public ::testing::Test {
protected:
    void SetUp() override {
        showActive(w);
        grid = w.findChild<QTableWidget*>(QStringLiteral("gridNR"));
        editor = w.findChild<QLineEdit*>(QStringLiteral("txtNR"));
        ASSERT_TRUE(grid && editor);
    }
    QString shown(int row, int column) const {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }

    frmJSQ_HS w;
    QTableWidget* grid = nullptr;
    QLineEdit* editor = nullptr;
};

} // namespace

TEST_F(BudgetWindow, TypingOnTheGridEditsTheCurrentCellAndEnterMovesDown) {
    grid->setFocus();
    grid->setCurrentCell(10, 2);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(grid->visualRect(grid->model()->index(10, 2)).contains(editor->geometry()));

    QTest::keyClicks(grid, QStringLiteral("5"));
    EXPECT_TRUE(editor->hasFocus());
    QTest::keyClicks(editor, QStringLiteral("0"));
    EXPECT_EQ(editor->text(), "50");
    EXPECT_EQ(shown(10, 3), "14640");

    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), 11);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(editor->text(), "");
    QTest::keyClick(grid, Qt::Key_Return); // Enter on the grid hands over to the editor
    EXPECT_TRUE(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(grid->currentRow(), 10);
    EXPECT_EQ(editor->text(), "50");

    // Typing over a filled cell replaces its number.
    grid->setCurrentCell(0, 2);
    QTest::keyClicks(grid, QStringLiteral("7"));
    EXPECT_EQ(editor->text(), "7");
    EXPECT_EQ(shown(1, 3), "27");

    // The operator column takes operators; row numbers and results are never current.
    grid->setFocus();
    grid->setCurrentCell(2, 1);
    QTest::keyClicks(grid, QStringLiteral("*"));
    EXPECT_EQ(shown(2, 3), "810");
    grid->setCurrentCell(4, 3);
    EXPECT_EQ(grid->currentColumn(), 2);
    grid->setCurrentCell(4, 0);
    EXPECT_EQ(grid->currentColumn(), 1);

    // A number in the last row adds a row to the grid.
    grid->setFocus();
    grid->setCurrentCell(24, 2);
    QTest::keyClicks(grid, QStringLiteral("3"));
    EXPECT_EQ(grid->rowCount(), 26);
    EXPECT_EQ(shown(25, 0), "");
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(grid->currentRow(), 25);

    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("cmdS(3)")), Qt::LeftButton);
    EXPECT_EQ(grid->rowCount(), 25);
    EXPECT_EQ(shown(0, 2) + editor->text(), "");

    // Scrolling keeps the current row and the editor in view.
    grid->setCurrentCell(0, 2);
    grid->verticalScrollBar()->setValue(5);
    const int first = grid->rowAt(0);
    ASSERT_GT(first, 0);
    EXPECT_EQ(grid->currentRow(), first);
    EXPECT_EQ(editor->text(), shown(first, 2));
    EXPECT_TRUE(grid->visualRect(grid->model()->index(first, 2)).contains(editor->geometry()));
}
