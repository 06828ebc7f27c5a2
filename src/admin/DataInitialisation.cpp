#include "admin/DataInitialisation.h"

#include "core/Options.h"
#include "core/Schema.h"
#include "core/Session.h"
#include "core/Transaction.h"

void DataInitialisation::log(const QString& line) {
    try {
        AppendLog(s_, line);
    } catch (const DbError&) {
        // What was decided stands without its log line.
    }
}

bool DataInitialisation::attempt(const QString& password) {
    if (!s_.initUnlocked) {
        s_.boxes().warning(QStringLiteral("初始化功能被锁定，必须先在设置选项中打开！"), app::kTitle);
        log(QStringLiteral("初始化失败：初始化功能被锁定"));
        return false;
    }
    s_.initUnlocked = false;
    if (password != s_.options.PassH) {
        s_.boxes().warning(QStringLiteral(" 口令错误，拒绝初始化！"), app::kTitle);
        log(QStringLiteral("初始化失败：口令错误"));
        return false;
    }
    // The first question is put so that Yes cancels, the second so that Yes goes on.
    if (AskYesNo(s_, QStringLiteral("初始化所删除的数据不能恢复，取消本次操作吗 ？"), app::kTitle) ||
        !AskYesNo(s_, QStringLiteral("您正在删除本系统最珍贵的数据,确定继续吗? "), app::kTitle)) {
        log(QStringLiteral("初始化被取消"));
        return false;
    }
    try {
        Transaction t(s_);
        for (const char* table : {"T_TZ", "T_IO", "T_KEY", "T_GYS", "T_KH", "T_KH_XQ"})
            ExecSql(s_, QStringLiteral("delete from ") + QString::fromLatin1(table));
        ExecSql(s_, QStringLiteral("update T_Option set ") + schema::freshOptions() +
                        QStringLiteral(" where id=3"));
        // Written with it, so that the log never misses an initialisation.
        AppendLog(s_, QStringLiteral("初始化完成"));
        t.commit();
    } catch (const DbError& e) {
        s_.boxes().critical(QStringLiteral(" 初始化没有完成，数据保持原样：") + e.text, app::kTitle);
        log(QStringLiteral("初始化失败：数据文件出错"));
        return false;
    }
    // The program ends now; the next start reads the options afresh.
    s_.boxes().information(QStringLiteral(" 初始化完成，请重新运行系统。"), app::kTitle);
    s_.statusText = QStringLiteral("初始化完成");
    return true;
}
