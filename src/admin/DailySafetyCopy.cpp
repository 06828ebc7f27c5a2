#include "admin/DailySafetyCopy.h"

#include "admin/DataFileCopies.h"
#include "core/Session.h"

#include <sqlite3.h>

namespace {
long long changes(Session& s) {
    return s.isOpen() ? sqlite3_total_changes64(s.handle()) : 0;
}
} // namespace

DailySafetyCopy::DailySafetyCopy(Session& session) : s_(session), changesBefore_(changes(session)) {}

void DailySafetyCopy::atExit(const QDate& today) {
    if (!s_.isOpen() || s_.statusText == QStringLiteral("初始化完成") ||
        s_.statusText == QStringLiteral("恢复完成"))
        return;
    if (changes(s_) <= changesBefore_) return;
    try {
        DataFileCopies(s_).keepDailyCopy(today);
    } catch (const DbError& e) {
        try {
            AppendLog(s_, QStringLiteral("自动备份失败：") + e.text);
        } catch (const DbError&) {
            // Nothing more can be done at the exit.
        }
    }
}
