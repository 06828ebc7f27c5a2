#pragma once
// The quantity, unit price and amount boxes (Text2(0) to Text2(2)) of the stock movement
// forms follow each other: the operator types the unit price or the amount and the other
// one follows. Each box's typing flag (its "Tag" property) is "1" while a key is down in
// it, so a change the operator typed is told from one the coupling made; a paste with the
// mouse carries no key and counts as a change made by the program.
#include <QObject>
#include <array>

class QLineEdit;

class AmountCoupling : public QObject {
    Q_OBJECT
public:
    // Text2(0) to Text2(4); the last two carry the flag but take part in no computation.
    AmountCoupling(const std::array<QLineEdit*, 5>& boxes, QObject* parent);

    static bool typing(const QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text2_Change(int index);
    void set(int index, double value);

    std::array<QLineEdit*, 5> t_;
};
