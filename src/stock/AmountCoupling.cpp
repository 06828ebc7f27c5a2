#include "stock/AmountCoupling.h"

#include "core/Vb.h"

#include <QEvent>
#include <QLineEdit>
#include <cmath>

namespace {
const char* const kTag = "Tag";
}

AmountCoupling::AmountCoupling(const std::array<QLineEdit*, 5>& boxes, QObject* parent)
    : QObject(parent), t_(boxes) {
    for (int i = 0; i < 5; ++i) {
        t_[i]->setProperty(kTag, QString());
        t_[i]->installEventFilter(this);
        if (i < 3) connect(t_[i], &QLineEdit::textChanged, this, [this, i] { Text2_Change(i); });
    }
}

bool AmountCoupling::typing(const QLineEdit* box) {
    return box->property(kTag).toString() == QLatin1String("1");
}

bool AmountCoupling::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: // Text2_KeyDown
        watched->setProperty(kTag, QStringLiteral("1"));
        break;
    case QEvent::KeyRelease: // Text2_KeyUp
    // A key pressed here may be released in the next box (Tab): the flag must not stay set.
    case QEvent::FocusOut:
        watched->setProperty(kTag, QString());
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AmountCoupling::set(int index, double value) {
    // "1e999" typed somewhere gives no number to show; the save refuses it.
    if (!std::isfinite(value)) return;
    t_[index]->setText(vb::CStr(vb::Round(value, 2))); // same text: no change event
}

void AmountCoupling::Text2_Change(int index) {
    const double quantity = vb::Val(t_[0]->text());
    switch (index) {
    case 0:
    case 1:
        if (typing(t_[2])) return;
        set(2, quantity * vb::Val(t_[1]->text()));
        return;
    case 2:
        if (!(quantity > 0)) {
            if (!typing(t_[2])) t_[2]->setText(QStringLiteral("0"));
            return;
        }
        if (typing(t_[1])) return;
        set(1, vb::Val(t_[2]->text()) / quantity);
        return;
    default:
        return;
    }
}
