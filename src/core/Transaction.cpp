#include "core/Transaction.h"

#include "core/Session.h"

#include <sqlite3.h>

Transaction::Transaction(Session& session)
    : session_(session), name_(QStringLiteral("vost_tx_%1").arg(session.enterTransaction())) {
    try {
        session_.execNative(QStringLiteral("SAVEPOINT ") + name_);
    } catch (...) {
        session_.leaveTransaction();
        throw;
    }
}

Transaction::~Transaction() {
    if (open_ && session_.handle()) {
        const QByteArray sql = ("ROLLBACK TO " + name_ + "; RELEASE " + name_).toUtf8();
        sqlite3_exec(session_.handle(), sql.constData(), nullptr, nullptr, nullptr);
    }
    session_.leaveTransaction();
}

void Transaction::commit() {
    if (!open_) return;
    session_.execNative(QStringLiteral("RELEASE ") + name_);
    open_ = false;
}
