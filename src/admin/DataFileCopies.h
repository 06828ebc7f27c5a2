#pragma once
// Complete copies of the data file, and the data file replaced by one. A copy is made from the
// open connection into a temporary file in the target's folder, synced, and only then renamed
// over the target, so a target is never left half written. A restore checks the chosen file
// first, writes it beside the data file the same way, keeps the data file as it was under
// "<data file>.bak", and only then renames it into place. Any failure leaves the data file
// as it was and the connection open.
#include <QDate>
#include <QString>
#include <optional>

class Session;

namespace backuptexts {
inline const QString kFilter = QStringLiteral("格式(*.xkg)|*.xkg");
inline const QString kRestoreRefused = QStringLiteral(" 权限不够，拒绝还原数据！");
inline const QString kOverwrite = QStringLiteral("  该文件已存在,覆盖原有文件吗?");
inline const QString kDataLost = QStringLiteral("  该操作将丢失备份文件以后的所有数据,继续操作吗?");
} // namespace backuptexts

class DataFileCopies {
public:
    explicit DataFileCopies(Session& session) : s_(session) {}

    // A complete copy of the open data file at `target`. Throws DbError with the reason; the
    // target is then as it was.
    void backup(const QString& target);

    // Only the administrator password allows a restore.
    bool restoreAllowed(const QString& password) const;
    // Why the file cannot be restored (not a sound data file of a version this program can
    // bring up, or the data file itself), or nothing when it can. Reads the file only.
    std::optional<QString> refusal(const QString& source);
    // The data file replaced by the backup `source`, then opened again. Throws DbError with the
    // reason (a refusal included); the data file and the connection are then as they were.
    void restore(const QString& source);

    // The day's copy in the folder "backups" beside the data file ("DBvost-yyyymmdd.xkg",
    // replacing an earlier one of the same day); only the newest 14 are kept. Throws DbError.
    void keepDailyCopy(const QDate& today);

    static constexpr int kDailyCopiesKept = 14;

private:
    Session& s_;
};
