#pragma once
#include <QString>

class Session;

// Everything written between construction and commit() is stored completely or not at all:
// leaving the scope without commit() rolls it back. Transactions may nest.
class Transaction {
public:
    explicit Transaction(Session& session);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Session& session_;
    QString name_;
    bool open_ = true;
};
