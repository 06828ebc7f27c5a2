// A program booking through the ledger is killed at random moments, again and again on one
// file. After every kill the file is sound, its lock is taken over, and it holds exactly what
// the program said it had committed (the booking in flight at the kill either way).
#include "core/DataFile.h"
#include "core/DataFileLock.h"
#include "stock/LedgerCheck.h"
#include "support/TestFixture.h"
#include "writer/Shop.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <set>

TEST(KilledMidWriteTest, EveryCommittedBookingSurvivesAKill) {
    QTemporaryDir dir;
    const QString path = dir.filePath("DBvost.mdb");
    CreateDataFile(path);
    QRandomGenerator rng(1009);
    Shop said;
    int committed = 0, unsaid = 0;
    std::set<QString> kinds;
    for (int kill = 0; kill < 60; ++kill) {
        SCOPED_TRACE(kill);
        QProcess writer;
        writer.start(LEDGER_WRITER, {path, QString::number(kill + 1)});
        ASSERT_TRUE(writer.waitForStarted());
        // Killed once it is booking, a random while later: in a commit, between two, anywhere.
        QByteArray out;
        while (!out.contains("\n~") && writer.waitForReadyRead(20000))
            out += writer.readAllStandardOutput();
        ASSERT_EQ(writer.state(), QProcess::Running) << writer.readAllStandardError().toStdString();
        QThread::usleep(rng.bounded(80000));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << writer.readAllStandardError().toStdString();
        out += writer.readAllStandardOutput();

        qlonglong inFlight = -1;
        for (const QByteArray& line : out.split('\n')) {
            const QStringList w = QString::fromUtf8(line).split(' ');
            if (w.size() < 2) continue;
            inFlight = w[0] == "~" ? w[1].toLongLong() : -1;
            if (w[0] == "~") continue;
            said.take(w[1].toLongLong(), Shop::parse(w.mid(2).join(' ')));
            kinds.insert(w[0]);
            ++committed;
        }
        {
            DataFileLock lock(path); // the killed writer's is stale
            ASSERT_EQ(lock.take(), DataFileLock::Outcome::Taken);
        }
        ScriptedMessageBoxes boxes;
        Session s(boxes);
        s.open(path);
        const LedgerCheckResult check = LedgerCheck(s).run();
        ASSERT_TRUE(check.sound()) << check.lines().join('\n').toStdString();
        const Shop file = Shop::of(s);
        if (inFlight >= 0) { // 0: a new item, if the file has one
            for (const auto& [id, name] : file.goods)
                if (!inFlight && !said.goods.count(id)) inFlight = id;
            const QString before = said.text();
            said.take(inFlight, file);
            unsaid += said.text() != before; // killed after the commit, before the line
        }
        ASSERT_EQ(file.text(), said.text());
    }
    EXPECT_EQ(kinds.size(), 9u); // every kind of booking was killed around
    std::printf("60 kills, %d bookings committed and said, %d more committed unsaid\n", committed, unsaid);
}
