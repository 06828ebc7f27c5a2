#include "app/BackupCommands.h"

#include "admin/DataFileCopies.h"
#include "core/DataFileLock.h"
#include "core/Session.h"

#include <QFileInfo>

using namespace backuptexts;

namespace {

int backup(CommandContext& c) {
    if (c.args.size() != 1) return c.wrongUsage(QStringLiteral("backup 需要一个参数：备份文件的名称。"));
    Session* session = c.session();
    if (!session) return exitstatus::Failed;
    const QString target = QFileInfo(c.args[0]).absoluteFilePath();
    if (QFileInfo::exists(target) && !c.confirm(kOverwrite)) {
        c.printError(QStringLiteral("没有备份。"));
        return exitstatus::Failed;
    }
    DataFileCopies(*session).backup(target);
    c.print(QStringLiteral("保存完成!"));
    return exitstatus::Done;
}

int restore(CommandContext& c) {
    if (c.args.size() != 1) return c.wrongUsage(QStringLiteral("restore 需要一个参数：备份文件的名称。"));
    Session* session = c.session();
    if (!session) return exitstatus::Failed;
    // A window on the data file would go on working on the file it opened, not the restored one.
    DataFileLock lock(c.dataFile);
    if (const auto taken = lock.take(); taken != DataFileLock::Outcome::Taken) {
        c.printError(taken == DataFileLock::Outcome::InUse
                         ? QStringLiteral("数据文件正在被另一个Vostrel使用，不能还原；请先关闭它。")
                         : QStringLiteral("数据文件所在的文件夹不能写入，不能还原。"));
        return exitstatus::Failed;
    }
    const QString source = QFileInfo(c.args[0]).absoluteFilePath();
    DataFileCopies copies(*session);
    const auto password = c.readLine(QStringLiteral("还原口令："), true);
    if (!password || !copies.restoreAllowed(*password)) {
        c.printError(kRestoreRefused.trimmed());
        return exitstatus::Failed;
    }
    if (const auto why = copies.refusal(source)) {
        c.printError(*why);
        return exitstatus::Failed;
    }
    if (!c.confirm(kDataLost)) {
        c.printError(QStringLiteral("没有还原。"));
        return exitstatus::Failed;
    }
    copies.restore(source);
    c.print(QStringLiteral("恢复完成。"));
    return exitstatus::Done;
}

} // namespace

Command BackupCommand() {
    return {QStringLiteral("backup"), QStringLiteral("DEST"),
            QStringLiteral("把数据文件完整地备份到文件 DEST（已有的 DEST 在备份写完后才被替换）"), backup};
}

Command RestoreCommand() {
    return {QStringLiteral("restore"), QStringLiteral("SRC"),
            QStringLiteral("用备份文件 SRC 还原数据文件；从标准输入读取管理员口令，原数据文件另存为 .bak；"
                           "有程序窗口打开着数据文件时拒绝"),
            restore};
}
