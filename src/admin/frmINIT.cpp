#include "admin/frmINIT.h"

#include "admin/DataInitialisation.h"
#include "ui/CommandButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmINIT::frmINIT(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("frmINIT"));
    setWindowTitle(QStringLiteral("初始化系统"));

    auto warning = [this](const QString& text) {
        auto* label = new QLabel(text, this);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
        label->setPalette(pal);
        return label;
    };
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    Text1->setMaxLength(8);

    auto* password = new QHBoxLayout;
    password->addWidget(new QLabel(QStringLiteral("输入管理员口令"), this));
    password->addWidget(Text1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const auto& [index, caption] :
         {std::pair{1, QStringLiteral("确定")}, std::pair{0, QStringLiteral("放弃")}}) {
        buttons->addWidget(commandButton(this, &frmINIT::cmdS_Click, index, caption));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(12);
    layout->addWidget(warning(QStringLiteral("初始化所删除的记录不可恢复，请慎重操作！")));
    layout->addWidget(warning(QStringLiteral("初始化即快速删除记录,使本系统回到初始状态!")));
    layout->addLayout(password);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Text1->setFocus();
}

void frmINIT::cmdS_Click(int index) {
    if (index == 0) close();
    if (index == 1 && DataInitialisation(session_).attempt(Text1->text())) accept();
}
