#include "admin/frmOption.h"

#include "admin/SettingsBook.h"
#include "core/Options.h"
#include "core/Session.h"
#include "ui/CommandButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmOption::frmOption(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(app::kTitle + QStringLiteral("[设置]"));
    const Options& o = session_.options;

    auto button = [this](int index, const QString& caption) {
        auto* b = commandButton(this, &frmOption::cmdS_Click, index, caption);
        cmdS.insert(index, b);
        return b;
    };
    // A frame of five boxes with its save button under them.
    auto frame = [&]<class Box>(const QString& title, const QStringList& captions, Box** boxes,
                                const QString& name, const bool* checked, int saveIndex) {
        auto* group = new QGroupBox(title, this);
        auto* column = new QVBoxLayout(group);
        for (int k = 0; k < 5; ++k) {
            boxes[k] = new Box(captions[k], group);
            boxes[k]->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(k));
            boxes[k]->setChecked(checked[k]);
            column->addWidget(boxes[k]);
        }
        auto* save = new QHBoxLayout;
        save->addStretch(1);
        save->addWidget(button(saveIndex, QStringLiteral("保存")));
        column->addLayout(save);
        return group;
    };

    const bool tab[5] = {o.SSTab_Index == 0, o.SSTab_Index == 1, o.SSTab_Index == 2, o.SSTab_Index == 3,
                         o.SSTab_Index == 4};
    const bool shown[5] = {o.Show_ZCB, o.Show_JHZJE, o.Show_LSJ, o.Show_PFJ, o.Show_DBJ};
    const bool adminOnly[5] = {o.QX_TZin0, o.QX_TZin, o.QX_TZedit, o.QX_TZfx, o.QX_INfx};
    QGroupBox* start =
        frame(QStringLiteral("设置启动默认显示"),
              {QStringLiteral("客户需求"), QStringLiteral("供应商信息"), QStringLiteral("库存台账"),
               QStringLiteral("销售记录"), QStringLiteral("进货记录")},
              Option1, QStringLiteral("Option1"), tab, 1);
    QGroupBox* hidden = frame(QStringLiteral("隐含敏感数据项目"),
                              {QStringLiteral("不隐含总成本"), QStringLiteral("不隐含进货价格"),
                               QStringLiteral("不隐含零售价"), QStringLiteral("不隐含批发价"),
                               QStringLiteral("不隐含调拨价")},
                              CheckShow, QStringLiteral("CheckShow"), shown, 2);
    QGroupBox* rights = frame(QStringLiteral("操作权限定义"),
                              {QStringLiteral("仅管理员可以操作[新商品注册登记]"),
                               QStringLiteral("仅管理员可以操作[在账商品进货登记]"),
                               QStringLiteral("仅管理员可以操作[在账商品修改调整]"),
                               QStringLiteral("仅管理员可以操作[营销状态统计分析]"),
                               QStringLiteral("仅管理员可以操作[商品盈利能力统计分析]")},
                              CheckQX, QStringLiteral("CheckQX"), adminOnly, 7);

    auto* passwords = new QGroupBox(QStringLiteral("修改口令"), this);
    auto* grid = new QGridLayout(passwords);
    const QString labels[] = {QStringLiteral("当前管理员口令"), QStringLiteral("新的管理员口令"),
                              QStringLiteral("新的普通口令")};
    QLineEdit** boxes[] = {&Text1, &Text2, &Text3};
    for (int i = 0; i < 3; ++i) {
        *boxes[i] = new QLineEdit(passwords);
        (*boxes[i])->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        (*boxes[i])->setMaxLength(8);
        (*boxes[i])->setToolTip(QStringLiteral("最多8位"));
        grid->addWidget(new QLabel(labels[i], passwords), i, 0);
        grid->addWidget(*boxes[i], i, 1);
    }
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    grid->addWidget(button(3, QStringLiteral("保存")), 1, 2);
    grid->addWidget(button(4, QStringLiteral("保存")), 2, 2);
    grid->setRowStretch(3, 1);

    auto* bottom = new QHBoxLayout;
    for (const auto& [index, caption] :
         {std::pair{5, QStringLiteral("清空关键字搜索记忆项")},
          std::pair{6, QStringLiteral("清空操作跟踪记录")}, std::pair{8, QStringLiteral("开放初始化功能")}}) {
        QPushButton* b = button(index, caption);
        b->setMinimumWidth(b->sizeHint().width() + 16); // room around the long captions
        bottom->addWidget(b);
    }
    bottom->addStretch(1);
    bottom->addWidget(button(0, QStringLiteral("退出")));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(10);
    layout->addWidget(start, 0, 0);
    layout->addWidget(rights, 0, 1);
    layout->addWidget(hidden, 1, 0);
    layout->addWidget(passwords, 1, 1);
    layout->addLayout(bottom, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmOption::cmdS_Click(int index) {
    SettingsBook book(session_);
    auto states = [](QCheckBox* const* boxes) {
        SettingsBook::Switches on{};
        for (int k = 0; k < 5; ++k)
            on[size_t(k)] = boxes[k]->isChecked();
        return on;
    };
    switch (index) {
    case 0:
        close();
        break;
    case 1: {
        int tab = -1;
        for (int k = 4; k >= 0; --k)
            if (Option1[k]->isChecked()) tab = k;
        book.saveStartTab(tab);
        break;
    }
    case 2:
        book.saveVisibility(states(CheckShow));
        break;
    case 3:
    case 4: {
        QLineEdit* box = index == 3 ? Text2 : Text3;
        QString typed = box->text();
        if (index == 3)
            book.changeAdminPassword(Text1->text(), typed);
        else
            book.changeUserPassword(Text1->text(), typed);
        box->setText(typed); // as cleaned
        break;
    }
    case 5:
        book.clearKeywords();
        break;
    case 6:
        book.clearLog();
        break;
    case 7:
        book.savePermissions(states(CheckQX));
        break;
    case 8:
        book.unlockInitialisation();
        break;
    default:
        break;
    }
}
