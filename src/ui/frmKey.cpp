#include "ui/frmKey.h"

#include "core/Options.h"
#include "core/Session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

// A brass key, drawn so the dialog needs no image file.
QPixmap keyPicture(qreal dpr) {
    const int side = 56;
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(side / 2.0, side / 2.0);
    p.rotate(-45);
    p.translate(-side / 2.0, -side / 2.0);
    QPainterPath key;
    key.addEllipse(QPointF(14, 28), 11, 11);
    key.addRect(QRectF(23, 25, 30, 6));
    key.addRect(QRectF(42, 31, 4, 8));
    key.addRect(QRectF(49, 31, 4, 10));
    key.setFillRule(Qt::WindingFill);
    QPainterPath hole;
    hole.addEllipse(QPointF(11, 28), 4, 4);
    p.setPen(QPen(QColor(120, 85, 10), 1.5));
    p.setBrush(QColor(222, 178, 60));
    p.drawPath(key.simplified().subtracted(hole));
    return pm;
}

} // namespace

frmKey::frmKey(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("frmKey"));
    setWindowTitle(app::kTitle + QStringLiteral(" v") + app::kVersion + QStringLiteral("(2009年1月9日更新)"));

    auto* Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(keyPicture(devicePixelRatioF()));
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* Label2 = new QLabel(QStringLiteral("请输入登录口令："), this);
    Label2->setObjectName(QStringLiteral("Label2"));

    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setEchoMode(QLineEdit::Password);
    Text1_->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    Text1_->setMaxLength(16);
    Text1_->setMinimumWidth(220);

    // A hint names a default password only while it still opens the program: once the
    // administrator has changed it, the hint neither shows nor holds it.
    const auto hint = [this](const char* name, const QString& text, const QString& stored,
                             const QString& initial) {
        auto* label = new QLabel(stored == initial ? text.arg(initial) : QString(), this);
        label->setObjectName(QLatin1String(name));
        label->setVisible(stored == initial);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 160));
        label->setPalette(pal);
        return label;
    };
    auto* Label3 = hint("Label3", QStringLiteral("（管理员初始口令：%1）"), session_.options.PassH,
                        app::kDefaultAdminPassword);
    auto* Label1 = hint("Label1", QStringLiteral("（普通用户初始口令：%1）"), session_.options.PassL,
                        app::kDefaultUserPassword);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmdS(1)"));
    auto* cancel = new QPushButton(QStringLiteral("放弃"), this);
    cancel->setObjectName(QStringLiteral("cmdS(0)"));
    // Enter in the password box acts as the OK button.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { cmdS_Click(1); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmdS_Click(0); });

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    grid->addWidget(Image1, 0, 0, 4, 1);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Text1_, 1, 1);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(Label1, 3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(14);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Text1_->setFocus();
}

void frmKey::cmdS_Click(int index) {
    if (index == 0)
        giveUp();
    else if (index == 1)
        checkPassword();
}

void frmKey::reject() {
    giveUp();
}

void frmKey::giveUp() {
    session_.admin = false;
    session_.statusText = QStringLiteral("End");
    done(QDialog::Rejected);
}

void frmKey::checkPassword() {
    const QString typed = Text1_->text();
    // Exact, case-sensitive; when both passwords are the same the administrator wins.
    session_.admin = typed == session_.options.PassH;
    session_.loggedIn = typed == session_.options.PassL || session_.admin;
    session_.statusText = session_.loggedIn ? QStringLiteral("Go") : QStringLiteral("End");
    if (session_.loggedIn) {
        log((session_.admin ? QStringLiteral("管理员") : QStringLiteral("普通用户")) +
            QStringLiteral("登录成功"));
        done(QDialog::Accepted);
        return;
    }
    ++attempts_;
    if (attempts_ < 4) {
        log(QStringLiteral("登录失败"));
        session_.boxes().warning(QStringLiteral("口 令 错 误 , 拒 绝 登 录 !"), QStringLiteral("登录"));
        return; // the typed text stays for another try
    }
    done(QDialog::Rejected); // the third wrong password ends the program without a word
}

void frmKey::log(const QString& text) {
    session_.logText = text;
    try {
        AppendLog(session_);
    } catch (const DbError& e) {
        // The login itself stands; the operator learns that the log could not be written.
        session_.boxes().warning(QStringLiteral("操作日志无法写入：") + e.text, QStringLiteral("登录"));
    }
}
