#include "admin/SettingsBook.h"

#include "admin/LogBook.h"
#include "admin/LoggedWrite.h"
#include "core/Session.h"
#include "core/TextRoutines.h"

namespace {

QString flag(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

const QString kWhereOptions = QStringLiteral(" where id=") + QString::number(3);

} // namespace

void SettingsBook::saveStartTab(int tab) {
    if (tab < 0 || tab > 4) tab = s_.options.SSTab_Index; // none chosen: the start tab stays
    if (LoggedWrite(
            s_,
            [&] {
                ExecSql(s_, QStringLiteral("update T_Option set SSTab_Index=") + QString::number(tab) +
                                kWhereOptions);
            },
            QStringLiteral("设置启动默认显示完成"), QStringLiteral("  设 置 启 动 默 认 显 示 完 成 ！")))
        s_.options.SSTab_Index = tab;
}

void SettingsBook::saveVisibility(const Switches& b) {
    if (LoggedWrite(
            s_,
            [&] {
                ExecSql(s_, QStringLiteral("update T_Option set Show_ZCB=") + flag(b[0]) +
                                QStringLiteral(",Show_JHZJE=") + flag(b[1]) + QStringLiteral(",Show_LSJ=") +
                                flag(b[2]) + QStringLiteral(",Show_PFJ=") + flag(b[3]) +
                                QStringLiteral(",Show_DBJ=") + flag(b[4]) + kWhereOptions);
            },
            QStringLiteral("修改隐含敏感数据项目完成"),
            QStringLiteral("  修 改 隐 含 敏 感 数 据 项 目 完 成 ！"))) {
        Options& o = s_.options;
        o.Show_ZCB = b[0];
        o.Show_JHZJE = b[1];
        o.Show_LSJ = b[2];
        o.Show_PFJ = b[3];
        o.Show_DBJ = b[4];
    }
}

void SettingsBook::savePermissions(const Switches& q) {
    if (LoggedWrite(
            s_,
            [&] {
                ExecSql(s_, QStringLiteral("update T_Option set QX_TZin0=") + flag(q[0]) +
                                QStringLiteral(",QX_TZin=") + flag(q[1]) + QStringLiteral(",QX_TZedit=") +
                                flag(q[2]) + QStringLiteral(",QX_TZfx=") + flag(q[3]) +
                                QStringLiteral(",QX_INfx=") + flag(q[4]) + kWhereOptions);
            },
            QStringLiteral("修改操作权限成功"), QStringLiteral("  修 改 操 作 权 限 成 功  ！"))) {
        Options& o = s_.options;
        o.QX_TZin0 = q[0];
        o.QX_TZin = q[1];
        o.QX_TZedit = q[2];
        o.QX_TZfx = q[3];
        o.QX_INfx = q[4];
    }
}

bool SettingsBook::changeAdminPassword(const QString& currentAdmin, QString& newPassword) {
    return changePassword(true, currentAdmin, newPassword);
}

bool SettingsBook::changeUserPassword(const QString& currentAdmin, QString& newPassword) {
    return changePassword(false, currentAdmin, newPassword);
}

bool SettingsBook::changePassword(bool admin, const QString& currentAdmin, QString& newPassword) {
    newPassword = StripChars(newPassword, QStringLiteral("'"));
    if (currentAdmin != s_.options.PassH) {
        try {
            AppendLog(s_, admin ? QStringLiteral("修改管理员口令出错") : QStringLiteral("修改普通口令出错"));
        } catch (const DbError&) {
            // The refusal stands without its log line.
        }
        s_.boxes().critical(QStringLiteral("  当前管理员口令错误 ！"), app::kTitle);
        return false;
    }
    if (newPassword.isEmpty()) {
        s_.boxes().warning(admin ? QStringLiteral("  管理员口令不允许为空！   ")
                                 : QStringLiteral("  口令不允许为空！   "),
                           app::kTitle);
        return false;
    }
    const QString column = admin ? QStringLiteral("PassH") : QStringLiteral("PassL");
    const QString told = admin ? QStringLiteral("  管理员口令已修改,请记好新口令(")
                               : QStringLiteral("  普通口令已修改,请记好新口令(");
    if (!LoggedWrite(
            s_,
            [&] {
                ExecSql(s_, QStringLiteral("update T_Option set ") + column + QStringLiteral("='") +
                                newPassword + QStringLiteral("'") + kWhereOptions);
            },
            admin ? QStringLiteral("管理员口令已修改") : QStringLiteral("普通口令已修改"),
            told + newPassword + QStringLiteral(")    ")))
        return false;
    (admin ? s_.options.PassH : s_.options.PassL) = newPassword;
    return true;
}

void SettingsBook::clearKeywords() {
    LoggedWrite(
        s_,
        [&] {
            ExecSql(s_, QStringLiteral("delete from T_Key"));
            InsertRow(s_, QStringLiteral("T_Key"), QStringLiteral("cc"), QStringLiteral("'1'"));
        },
        QStringLiteral("清空关键字搜索记忆项完成"),
        QStringLiteral("  清空关键字搜索记忆项完成，在下次运行程序时见效！"));
}

void SettingsBook::clearLog() {
    LogBook(s_).clear();
}

void SettingsBook::unlockInitialisation() {
    // Initialisation cannot be undone: it is unlocked only when the log can say so.
    if (LoggedWrite(
            s_, [] {}, QStringLiteral("开放初始化功能成功"), QStringLiteral("  初始化功能已打开 ！")))
        s_.initUnlocked = true;
}
