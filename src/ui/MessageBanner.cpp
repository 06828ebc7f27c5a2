#include "ui/MessageBanner.h"

#include "ui/Twips.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

MessageBanner::MessageBanner(QWidget* form, Placement placement) : QFrame(form), placement_(placement) {
    setObjectName(QStringLiteral("picMSG"));
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 128));
    pal.setColor(QPalette::WindowText, Qt::red);
    setPalette(pal);
    lblNR_ = new QLabel(this);
    lblNR_->setObjectName(QStringLiteral("lblNR"));
    lblS_ = new QLabel(QStringLiteral("3"), this);
    lblS_->setObjectName(QStringLiteral("lblS"));
    for (QLabel* l : {lblNR_, lblS_})
        l->setPalette(pal);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(16);
    layout->addWidget(lblNR_, 1);
    layout->addWidget(lblS_);
    hide();
    timer_.setObjectName(QStringLiteral("TimerMSG"));
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &MessageBanner::tick);
    form->installEventFilter(this);
}

void MessageBanner::autoMSG(const QString& text, qint16 seconds) {
    lblNR_->setText(text);
    lblS_->setText(QString::number(seconds));
    adjustSize();
    show();
    raise();
    place();
    timer_.start(); // restarts the countdown of a banner already showing
}

QString MessageBanner::text() const {
    return lblNR_->text();
}

int MessageBanner::remainingSeconds() const {
    return lblS_->text().toInt();
}

void MessageBanner::tick() {
    const int left = lblS_->text().toInt() - 1;
    lblS_->setText(QString::number(left));
    if (left < 1) {
        timer_.stop();
        hide();
    }
}

void MessageBanner::place() {
    QWidget* form = parentWidget();
    const int w = std::min(sizeHint().width(), form->width());
    resize(w, sizeHint().height());
    const int top = placement_ == Placement::Bottom ? form->height() - height() : twips::toPx(*form, 180);
    move((form->width() - width()) / 2, top);
}

bool MessageBanner::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) place();
    return QFrame::eventFilter(watched, event);
}
