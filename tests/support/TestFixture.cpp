#include "TestFixture.h"

#include "core/DataFile.h"

void LedgerFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    CreateDataFile(dataPath(), schemaVersion);
    session.open(dataPath());
}

QVariant LedgerFixture::scalar(const QString& jetSql) {
    const QueryResult r = session.query(jetSql);
    return r.isEmpty() ? QVariant() : r.value(0, 0);
}
