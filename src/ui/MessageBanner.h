#pragma once
// The self-hiding banner of the entry and maintenance forms: a pale-yellow strip with the
// message and the remaining seconds in red, counting down once a second.
#include <QFrame>
#include <QTimer>

class QLabel;

class MessageBanner : public QFrame {
    Q_OBJECT
public:
    enum class Placement { Bottom, Top };
    // The banner belongs to `form` and sits on its bottom edge or 180 twips from its top.
    MessageBanner(QWidget* form, Placement placement);

    // autoMSG: shows the text for `seconds` seconds; a second call replaces text and count.
    void autoMSG(const QString& text, qint16 seconds);

    QString text() const;
    int remainingSeconds() const;
    QTimer& timer() { return timer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick(); // TimerMSG_Timer
    void place();

    Placement placement_;
    QLabel* lblNR_;
    QLabel* lblS_;
    QTimer timer_;
};
