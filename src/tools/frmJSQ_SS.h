#pragma once
// The expression calculator: an arithmetic expression typed as text, or on the keypad, and
// its result. Modeless; it touches no data.
#include <QWidget>
#include <array>

class MessageBoxes;
class QLineEdit;
class QPushButton;

class frmJSQ_SS : public QWidget {
    Q_OBJECT
public:
    explicit frmJSQ_SS(MessageBoxes& boxes, QWidget* parent = nullptr);

    // Computes the expression box into the result box; an error is shown in a box titled
    // "Vostrel" and the previous result stays.
    void evaluate();

private:
    void cmdQ_Click(int index);
    void cmdS_Click(int index);

    MessageBoxes& boxes_;
    QLineEdit* Text1 = nullptr;
    QLineEdit* lblJG = nullptr;
    QString exampleText_; // the stored example that "例子" puts back
    std::array<QPushButton*, 21> cmdQ{};
    std::array<QPushButton*, 5> cmdS{};
};
