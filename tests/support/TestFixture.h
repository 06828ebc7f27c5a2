#pragma once
// A fresh data file in a fresh temporary folder, opened in a session whose message boxes
// are scripted.
#include "core/MessageBoxes.h"
#include "core/Session.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class LedgerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    QString dataPath() const { return dir.filePath(QStringLiteral("DBvost.mdb")); }
    // The first column of the first row of a query, for checks.
    QVariant scalar(const QString& jetSql);

    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    Session session{boxes};
    long schemaVersion = 2002;
};
