#include "core/Startup.h"

#include "core/DataFileLock.h"
#include "core/Schema.h"
#include "core/Session.h"
#include "core/Vb.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// The conversions of the options columns: what cannot be converted gives nullopt and the
// setting is left alone, like a conversion error that is skipped.
std::optional<double> number(const QVariant& v) {
    if (v.isNull() || !v.isValid()) return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? -1.0 : 0.0;
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (ok && std::isfinite(d)) return d;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// Whole numbers round half to even, as the conversion to Long and Integer does.
template <typename Int> std::optional<Int> whole(const QVariant& v) {
    const auto d = number(v);
    if (!d) return std::nullopt;
    const double r = std::nearbyint(*d);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return Int(r);
}

std::optional<bool> boolean(const QVariant& v) {
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    }
    const auto d = number(v);
    if (!d) return std::nullopt;
    return *d != 0.0;
}

void readColumns(const QueryResult& r, Options& o) {
    auto column = [&](const char* name) -> std::optional<QVariant> {
        const int c = r.columnIndex(QLatin1String(name));
        if (c < 0) return std::nullopt;
        return r.value(0, c);
    };
    auto readText = [&](const char* name, QString& setting) {
        if (const auto v = column(name)) setting = vb::Text(*v); // Null reads as ""
    };
    auto readBool = [&](const char* name, bool& setting) {
        if (const auto v = column(name))
            if (const auto b = boolean(*v)) setting = *b;
    };
    if (const auto v = column("Ver_ID"))
        if (const auto n = whole<qint32>(*v)) o.Ver_ID = *n;
    readText("PassL", o.PassL);
    readText("PassH", o.PassH);
    readText("MingCheng", o.MingCheng);
    if (const auto v = column("SSTab_Index"))
        if (const auto n = whole<qint16>(*v)) o.SSTab_Index = *n;
    readBool("Show_ZCB", o.Show_ZCB);
    readBool("Show_JHZJE", o.Show_JHZJE);
    readBool("Show_LSJ", o.Show_LSJ);
    readBool("Show_PFJ", o.Show_PFJ);
    readBool("Show_DBJ", o.Show_DBJ);
    readBool("QX_TZin0", o.QX_TZin0);
    readBool("QX_TZin", o.QX_TZin);
    readBool("QX_TZedit", o.QX_TZedit);
    readBool("QX_TZfx", o.QX_TZfx);
    readBool("QX_INfx", o.QX_INfx);
    // The main window has five tabs; any other start tab would select nothing.
    if (o.SSTab_Index < 0 || o.SSTab_Index > 4) o.SSTab_Index = 0;
}

} // namespace

QString NewVersionMessage() {
    return QStringLiteral("您需要下载新版本！（") + app::kDownloadAddress + QStringLiteral("）");
}

void LoadOptions(Session& session) {
    std::optional<QueryResult> r;
    try {
        r = OpenQuery(session, QStringLiteral("select * from T_option where id=") + QString::number(3));
    } catch (const DbError&) {
        // An options table that cannot be read leaves every setting as it was; the version
        // check then stops the program.
    }
    if (r) {
        if (r->isEmpty()) {
            session.boxes().critical(app::kDataFileDamaged, app::kTitle);
            throw ProgramStop{1};
        }
        readColumns(*r, session.options);
    }
    // A failed step leaves the setting at the version before it, and the check stops.
    session.options.Ver_ID = schema::upgrade(session, session.options.Ver_ID);
    if (session.options.Ver_ID != schema::kCurrentVersion) StopWithMessage(session, NewVersionMessage());
}

bool ReloadOptions(Session& session) {
    try {
        LoadOptions(session);
        return true;
    } catch (const ProgramStop& stop) {
        QCoreApplication::exit(stop.exitCode);
        return false;
    }
}

int StartSession(Session& session, const QString& dataFile) {
    try {
        session.open(dataFile);
    } catch (const DbError&) {
        session.boxes().critical(app::kDataFileError, app::kTitle);
        return 1;
    }
    try {
        LoadOptions(session);
    } catch (const ProgramStop& stop) {
        return stop.exitCode;
    }
    return 0;
}

int LockDataFile(Session& session, DataFileLock& lock) {
    switch (lock.take()) {
    case DataFileLock::Outcome::Taken:
        return 0;
    case DataFileLock::Outcome::InUse:
        session.boxes().critical(app::kDataFileInUse, app::kTitle);
        return 1;
    case DataFileLock::Outcome::NotWritable:
        break;
    }
    session.boxes().critical(app::kDataFolderNotWritable + QLatin1Char('\n') + lock.path(), app::kTitle);
    return 1;
}
