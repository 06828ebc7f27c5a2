#include "admin/frmAbout.h"

#include "core/Options.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

namespace {

// Drawn, so the window needs no image files: an open ledger and a stack of coins.
QPixmap picture(bool ledger, qreal dpr) {
    const int side = 64;
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (ledger) {
        p.setPen(QPen(QColor(40, 60, 120), 1.5));
        p.setBrush(QColor(245, 245, 235));
        p.drawRect(QRectF(6, 12, 25, 40));
        p.drawRect(QRectF(33, 12, 25, 40));
        p.setPen(QPen(QColor(120, 140, 190), 1));
        for (int y = 20; y < 50; y += 6) {
            p.drawLine(QPointF(10, y), QPointF(27, y));
            p.drawLine(QPointF(37, y), QPointF(54, y));
        }
    } else {
        p.setPen(QPen(QColor(120, 85, 10), 1.5));
        p.setBrush(QColor(222, 178, 60));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QRectF(12, 44 - i * 7, 40, 14));
    }
    return pm;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(app::kTitle + QStringLiteral("[关于]"));
    auto* lblBT0 = new QLabel(
        app::kTitle + QStringLiteral("[v") + app::kVersion + QStringLiteral("]  (2009年1月9日更新)"), this);
    lblBT0->setObjectName(QStringLiteral("lblBT0"));
    QFont big = lblBT0->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    lblBT0->setFont(big);
    auto* line = new QLabel(QStringLiteral("小商店的进货、销售与库存台账"), this);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 18, 20, 18);
    grid->setHorizontalSpacing(16);
    for (int i = 0; i < 2; ++i) {
        auto* image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        image->setPixmap(picture(i == 0, devicePixelRatioF()));
        image->setCursor(Qt::PointingHandCursor);
        image->installEventFilter(this);
        grid->addWidget(image, 0, i == 0 ? 0 : 2, 2, 1);
    }
    grid->addWidget(lblBT0, 0, 1);
    grid->addWidget(line, 1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        watched->objectName().startsWith(QLatin1String("Image"))) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
