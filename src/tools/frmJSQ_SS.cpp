#include "tools/frmJSQ_SS.h"

#include "core/MessageBoxes.h"
#include "core/Options.h"
#include "tools/ExpressionEvaluator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Keypad caption and the plain sign it types; index 16 is the backspace.
struct Key {
    int index;
    const char16_t* caption;
    const char* typed;
};

constexpr Key kKeys[] = {
    {0, u"０", "0"}, {1, u"１", "1"}, {2, u"２", "2"},  {3, u"３", "3"},  {4, u"４", "4"},  {5, u"５", "5"},
    {6, u"６", "6"}, {7, u"７", "7"}, {8, u"８", "8"},  {9, u"９", "9"},  {10, u"＋", "+"}, {11, u"－", "-"},
    {12, u"×", "*"}, {13, u"÷", "/"}, {14, u"（", "("}, {15, u"）", ")"}, {16, u"←", ""},   {20, u".", "."},
};

// Where each key sits on the keypad (row, column).
struct Place {
    int index;
    int row;
    int column;
};

constexpr Place kPlaces[] = {
    {7, 0, 0},  {8, 0, 1}, {9, 0, 2}, {13, 0, 3}, {16, 0, 4}, {4, 1, 0},  {5, 1, 1},  {6, 1, 2},  {12, 1, 3},
    {14, 1, 4}, {1, 2, 0}, {2, 2, 1}, {3, 2, 2},  {11, 2, 3}, {15, 2, 4}, {20, 3, 2}, {10, 3, 3},
};

QString arrayName(const char* array, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

} // namespace

frmJSQ_SS::frmJSQ_SS(MessageBoxes& boxes, QWidget* parent) : QWidget(parent, Qt::Window), boxes_(boxes) {
    setObjectName(QStringLiteral("frmJSQ_SS"));

    exampleText_ = QStringLiteral("( 2.3 + 7.3 * ( (3+3.7)*4/2 + 4.2 ) ) * 4.4 - 7.3");
    Text1 = new QLineEdit(exampleText_, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setProperty("tag", exampleText_);
    QFont big = Text1->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    Text1->setFont(big);
    Text1->setMinimumWidth(420);

    lblJG = new QLineEdit(QStringLiteral("-000000000.00"), this);
    lblJG->setObjectName(QStringLiteral("lblJG"));
    lblJG->setReadOnly(true); // the result can be selected and copied, not typed over
    lblJG->setFont(big);

    auto* prompt = new QLabel(QStringLiteral("在下面文本框中输入算式，然后点击“计算”"), this);
    auto* resultLabel = new QLabel(QStringLiteral("计算结果:"), this);
    auto* hint = new QLabel(QStringLiteral("说明:用键盘输入时,加减乘除号分别为\"+\"、\"-\"、\"*\"、\"/\"，"
                                           "所有的括号都用小括号\"(\"、\")\"。"),
                            this);
    hint->setWordWrap(true);

    // The keypad never takes the focus, so the expression box keeps its caret and selection.
    auto* keypad = new QGridLayout;
    keypad->setSpacing(4);
    QFont keyFont = font();
    keyFont.setPointSizeF(keyFont.pointSizeF() * 1.25);
    for (const Key& k : kKeys) {
        auto* b = new QPushButton(QString::fromUtf16(k.caption), this);
        b->setObjectName(arrayName("cmdQ", k.index));
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(keyFont);
        b->setMinimumSize(48, 36);
        cmdQ[size_t(k.index)] = b;
        connect(b, &QPushButton::clicked, this, [this, i = k.index] { cmdQ_Click(i); });
    }
    for (const Place& p : kPlaces)
        keypad->addWidget(cmdQ[size_t(p.index)], p.row, p.column);
    keypad->addWidget(cmdQ[0], 3, 0, 1, 2);

    const QString captions[5] = {QStringLiteral("退出"), QStringLiteral("清理"),
                                 QStringLiteral("点击“＝”或点击这里得到计算结果"), QStringLiteral("例子"),
                                 QStringLiteral("＝")};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(captions[i], this);
        b->setObjectName(arrayName("cmdS", i));
        b->setMinimumHeight(36);
        cmdS[size_t(i)] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { cmdS_Click(i); });
    }
    cmdS[4]->setFont(keyFont);
    keypad->addWidget(cmdS[4], 3, 4);

    auto* side = new QVBoxLayout;
    side->addWidget(cmdS[1]);
    side->addWidget(cmdS[3]);
    side->addStretch();
    side->addWidget(cmdS[0]);

    auto* pad = new QHBoxLayout;
    pad->addLayout(keypad);
    pad->addSpacing(12);
    pad->addLayout(side);

    auto* result = new QHBoxLayout;
    result->addWidget(resultLabel);
    result->addWidget(lblJG, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(Text1);
    layout->addLayout(result);
    layout->addSpacing(6);
    layout->addLayout(pad);
    layout->addWidget(cmdS[2]);
    layout->addWidget(hint);

    connect(Text1, &QLineEdit::returnPressed, this, &frmJSQ_SS::evaluate);

    setWindowTitle(QStringLiteral("算式计算器"));
    evaluate();
}

void frmJSQ_SS::evaluate() {
    const ExpressionEvaluator::Result r = ExpressionEvaluator::evaluate(Text1->text());
    if (r.ok)
        lblJG->setText(r.text());
    else
        boxes_.warning(r.error, app::kTitle);
}

void frmJSQ_SS::cmdQ_Click(int index) {
    Text1->setFocus();
    if (index == 16) {
        Text1->backspace(); // the selection, or the character before the caret
        return;
    }
    for (const Key& k : kKeys)
        if (k.index == index)
            Text1->insert(QString::fromLatin1(k.typed)); // at the caret, replacing a selection
}

void frmJSQ_SS::cmdS_Click(int index) {
    switch (index) {
    case 0:
        close();
        return;
    case 1:
        Text1->clear();
        lblJG->clear();
        break;
    case 3:
        Text1->setText(exampleText_);
        evaluate();
        break;
    case 2:
    case 4:
        evaluate();
        break;
    default:
        return;
    }
    Text1->setFocus();
    Text1->end(false);
}
