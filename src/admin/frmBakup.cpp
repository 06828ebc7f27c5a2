#include "admin/frmBakup.h"

#include "admin/DataFileCopies.h"
#include "core/FileDialogs.h"
#include "core/Options.h"
#include "core/Session.h"
#include "ui/CommandButton.h"

#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

using namespace backuptexts;

namespace {
const QString kBackupTitle = QStringLiteral("数据备份");
const QString kRestoreTitle = QStringLiteral("数据恢复");
const QString kError = QStringLiteral("出错了!");
} // namespace

frmBakup::frmBakup(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("frmBakup"));
    setWindowTitle(app::kTitle + QStringLiteral(" v") + app::kVersion + QStringLiteral("[数据备份与恢复]"));

    auto button = [this](int index, const QString& caption, const QString& tip, QStyle::StandardPixmap icon) {
        auto* b = commandButton(this, &frmBakup::cmdS_Click, index, caption);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setMinimumWidth(120);
        return b;
    };
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    Text1->setMaxLength(8);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 18, 20, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    grid->addWidget(button(2, QStringLiteral("数据备份"), QStringLiteral("备份当前所有数据"),
                           QStyle::SP_DialogSaveButton),
                    0, 2);
    grid->addWidget(new QLabel(QStringLiteral("还原口令"), this), 1, 0);
    grid->addWidget(Text1, 1, 1);
    grid->addWidget(button(3, QStringLiteral("数据还原"), QStringLiteral("数据还原(需要事先备份)"),
                           QStyle::SP_BrowserReload),
                    1, 2);
    grid->addWidget(button(0, QStringLiteral("退出"), QString(), QStyle::SP_DialogCloseButton), 2, 2);
    grid->setColumnMinimumWidth(1, 160);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void frmBakup::cmdS_Click(int index) {
    if (index == 0) close();
    if (index == 2) backup();
    if (index == 3) restore();
}

void frmBakup::backup() {
    std::optional<QString> target;
    // A file that exists is replaced only when the operator says so; No asks for another name.
    do {
        target = session_.fileDialogs().saveFileName(
            QStringLiteral("请选择目标驱动器或路径。"),
            QDate::currentDate().toString(QStringLiteral("yyyyMMdd")), kFilter);
        if (!target) return; // given up
    } while (QFileInfo::exists(*target) && !AskYesNo(session_, kOverwrite, app::kTitle));
    try {
        DataFileCopies(session_).backup(*target);
    } catch (const DbError& e) {
        session_.boxes().critical(kError + QLatin1Char('\n') + e.text, kBackupTitle);
        return;
    }
    session_.boxes().information(QStringLiteral("保存完成!"), kBackupTitle);
}

void frmBakup::restore() {
    DataFileCopies copies(session_);
    if (!copies.restoreAllowed(Text1->text())) {
        session_.boxes().warning(kRestoreRefused, app::kTitle);
        return;
    }
    const auto source =
        session_.fileDialogs().openFileName(QStringLiteral("请选择您所备份的数据文件"), QString(), kFilter);
    if (!source) return;
    // A file that cannot be restored is refused before the operator is asked to give anything up.
    if (const auto why = copies.refusal(*source)) {
        session_.boxes().warning(*why, kRestoreTitle);
        return;
    }
    if (!AskYesNo(session_, kDataLost, app::kTitle)) return;
    try {
        copies.restore(*source);
    } catch (const DbError& e) {
        session_.boxes().critical(kError + QLatin1Char('\n') + e.text, kRestoreTitle);
        return;
    }
    session_.boxes().information(QStringLiteral("恢复完成,请重新运行程序。"), kRestoreTitle);
    session_.statusText = QStringLiteral("恢复完成");
    accept();
}
