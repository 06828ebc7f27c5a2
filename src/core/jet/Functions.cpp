#include "core/jet/Functions.h"

#include "core/jet/Emitter.h"
#include "core/jet/SqlFunctions.h"
#include "core/jet/Translator.h"

#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace jet {

namespace {

// name(arg, ...) in SQL.
QString fn(const char* name, const QStringList& args) {
    return QLatin1String(name) + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString datePart(const Call& c, int at, int length) {
    return QStringLiteral("CAST(substr(") + c.date(0) +
           QStringLiteral(", %1, %2) AS INTEGER)").arg(at).arg(length);
}

QString value(const Call& c, const char* name) {
    return fn(name, {c.value(0)});
}

QString text(const Call& c, const char* name) {
    return fn(name, {c.text(0)});
}

QString ownOfValue(const Call& c) {
    return c({c.value(0)});
}

QString ownOfText(const Call& c) {
    return c({c.text(0)});
}

QString toLong(const Call& c) {
    return sqlCall(jetClng, {c.value(0)});
}

QString toDouble(const Call& c) {
    return sqlCall(jetCdbl, {c.value(0)});
}

QString toDate(const Call& c) {
    return c.date(0);
}

QString iif(const Call& c) {
    return QStringLiteral("(CASE WHEN ") + c.truth(0) + QStringLiteral(" THEN ") + c.value(1) +
           QStringLiteral(" ELSE ") + c.value(2) + QStringLiteral(" END)");
}

QString instr(const Call& c) {
    if (c.count() == 2) return c({c.searched(0), c.searched(1)});
    QStringList args{c.value(0), c.searched(1), c.searched(2)};
    if (c.count() == 4) args << c.value(3);
    return c(args);
}

QString format(const Call& c) {
    if (c.count() == 1) return c.text(0);
    return c({c.type(0) == JetType::Boolean ? c.text(0) : c.value(0), c.text(1)});
}

QString round(const Call& c) {
    return c({c.value(0), c.count() > 1 ? c.value(1) : QStringLiteral("0")});
}

QString count(const Call& c) {
    return c.star() ? QStringLiteral("count(*)") : fn("count", {c.value(0)});
}

QString left(const Call& c) {
    return fn("substr", {c.text(0), QStringLiteral("1"), c.value(1)});
}

QString right(const Call& c) {
    return c({c.text(0), c.value(1)});
}

QString mid(const Call& c) {
    QStringList args{c.text(0), c.value(1)};
    if (c.count() == 3) args << c.value(2);
    return fn("substr", args);
}

QString trimmed(const Call& c, const char* name) {
    return fn(name, {c.text(0), QStringLiteral("' '")});
}

QString nz(const Call& c) {
    const QString fallback = c.count() > 1                ? c.value(1)
                             : c.type(0) == JetType::Text ? QStringLiteral("''")
                                                          : QStringLiteral("0");
    return fn("ifnull", {c.value(0), fallback});
}

QString isNull(const Call& c) {
    return QStringLiteral("(-(") + c.value(0) + QStringLiteral(" IS NULL))");
}

QString isNullCondition(const Call& c) {
    return QLatin1Char('(') + c.value(0) + QStringLiteral(" IS NULL)");
}

QString cbool(const Call& c) {
    return c.type(0) == JetType::Boolean ? c.value(0) : sqlCall(jetBool, {c.value(0)});
}

using R = Returns;
using K = Function::Kind;
// clang-format off
const Function kFunctions[] = {
    {"iif",       3, 3, R::Either,  iif},
    {"instr",     2, 4, R::Long,    instr, {"jet_instr", 2, 4, jetInstr}},
    {"format",    1, 2, R::Text,    format, {"jet_format", 2, 2, jetFormat}},
    {"round",     1, 2, R::Number,  round, {"jet_round", 2, 2, jetRound}},
    {"abs",       1, 1, R::Number,  [](const Call& c) { return value(c, "abs"); }},
    {"sum",       1, 1, R::Number,  [](const Call& c) { return value(c, "sum"); }, {}, K::Aggregate},
    {"avg",       1, 1, R::Double,  [](const Call& c) { return value(c, "avg"); }, {}, K::Aggregate},
    {"count",     1, 1, R::Long,    count, {}, K::Count},
    {"min",       1, 1, R::First,   [](const Call& c) { return fn("min", {c.key(0)}); }, {}, K::Aggregate},
    {"max",       1, 1, R::First,   [](const Call& c) { return fn("max", {c.key(0)}); }, {}, K::Aggregate},
    {"now",       0, 0, R::Date,    [](const Call&) { return QStringLiteral("datetime('now', 'localtime')"); }},
    {"date",      0, 0, R::Date,    [](const Call&) { return QStringLiteral("date('now', 'localtime')"); }},
    {"year",      1, 1, R::Integer, [](const Call& c) { return datePart(c, 1, 4); }},
    {"month",     1, 1, R::Integer, [](const Call& c) { return datePart(c, 6, 2); }},
    {"day",       1, 1, R::Integer, [](const Call& c) { return datePart(c, 9, 2); }},
    {"hour",      1, 1, R::Integer, [](const Call& c) { return datePart(c, 12, 2); }},
    {"minute",    1, 1, R::Integer, [](const Call& c) { return datePart(c, 15, 2); }},
    {"second",    1, 1, R::Integer, [](const Call& c) { return datePart(c, 18, 2); }},
    {"len",       1, 1, R::Long,    [](const Call& c) { return text(c, "length"); }},
    {"left",      2, 2, R::Text,    left},
    {"right",     2, 2, R::Text,    right, {"jet_right", 2, 2, jetRight}},
    {"mid",       2, 3, R::Text,    mid},
    {"trim",      1, 1, R::Text,    [](const Call& c) { return trimmed(c, "trim"); }},
    {"ltrim",     1, 1, R::Text,    [](const Call& c) { return trimmed(c, "ltrim"); }},
    {"rtrim",     1, 1, R::Text,    [](const Call& c) { return trimmed(c, "rtrim"); }},
    {"ucase",     1, 1, R::Text,    [](const Call& c) { return text(c, "upper"); }},
    {"lcase",     1, 1, R::Text,    [](const Call& c) { return text(c, "lower"); }},
    {"nz",        1, 2, R::Either,  nz},
    {"isnull",    1, 1, R::Boolean, isNull, {}, K::Plain, isNullCondition},
    {"val",       1, 1, R::Double,  ownOfText, {"jet_val", 1, 1, jetVal}},
    {"cstr",      1, 1, R::Text,    [](const Call& c) { return c.text(0); }},
    {"clng",      1, 1, R::Long,    toLong, {"jet_clng", 1, 1, jetClng}},
    {"cint",      1, 1, R::Long,    toLong},
    {"cdbl",      1, 1, R::Double,  toDouble, {"jet_cdbl", 1, 1, jetCdbl}},
    {"csng",      1, 1, R::Double,  toDouble},
    {"ccur",      1, 1, R::Double,  toDouble},
    {"cdate",     1, 1, R::Date,    toDate},
    {"datevalue", 1, 1, R::Date,    toDate},
    {"cbool",     1, 1, R::Boolean, cbool},
    {"int",       1, 1, R::Number,  ownOfValue, {"jet_int", 1, 1, jetInt}},
    {"fix",       1, 1, R::Number,  ownOfValue, {"jet_fix", 1, 1, jetFix}},
};

// What the translations of operators, conversions and stored values call.
const SqlFunction kHelpers[] = {
    {"jet_cat",      0, -1, jetCat},
    {"jet_str",      1, 1, jetStr},
    {"jet_datetext", 1, 1, jetDateText},
    {"jet_booltext", 1, 1, jetBoolText},
    {"jet_div",      2, 2, jetDiv},
    {"jet_intdiv",   2, 2, jetIntDiv},
    {"jet_mod",      2, 2, jetMod},
    {"jet_pow",      2, 2, jetPow},
    {"jet_isodate",  1, 1, jetIsoDate},
    {"jet_dateadd",  2, 2, jetDateAdd},
    {"jet_bool",     1, 1, jetBool},
    {"jet_like",     2, 2, jetLike},
};
// clang-format on

// Every SQLite function of ours, from both tables.
template <typename Visit> void forEachSqlFunction(Visit visit) {
    for (const Function& f : kFunctions)
        if (f.sql.impl) visit(f.sql);
    for (const SqlFunction& f : kHelpers)
        visit(f);
}

int collate(void* arg, int na, const void* a, int nb, const void* b) {
    return static_cast<Context*>(arg)->collation.compare({static_cast<const char*>(a), size_t(na)},
                                                         {static_cast<const char*>(b), size_t(nb)});
}

void destroyContext(void* p) {
    delete static_cast<Context*>(p);
}

} // namespace

int Call::count() const {
    return int(call_.args.size());
}

bool Call::star() const {
    return call_.star;
}

JetType Call::type(int i) const {
    return call_.args[size_t(i)]->type;
}

QString Call::value(int i) const {
    return emitter_.value(*call_.args[size_t(i)]);
}

QString Call::text(int i) const {
    return emitter_.text(*call_.args[size_t(i)]);
}

QString Call::date(int i) const {
    return emitter_.asDate(*call_.args[size_t(i)]);
}

QString Call::key(int i) const {
    return emitter_.orderKey(*call_.args[size_t(i)]);
}

QString Call::truth(int i) const {
    return emitter_.truth(*call_.args[size_t(i)]);
}

QString Call::searched(int i) const {
    return emitter_.catArg(*call_.args[size_t(i)]);
}

QString Call::operator()(const QStringList& args) const {
    return fn(function_.sql.name, args);
}

const Function* findFunction(const QString& name) {
    for (const Function& f : kFunctions)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

QString sqlCall(SqlImpl impl, const QStringList& args) {
    const char* name = nullptr;
    forEachSqlFunction([&](const SqlFunction& f) {
        if (f.impl == impl) name = f.name;
    });
    Q_ASSERT(name);
    return fn(name, args);
}

int collationFingerprint() {
    // The order of a fixed sample of punctuation, digits, letters of both cases, accented
    // letters and Chinese characters spread over the common range.
    std::vector<std::string> sample;
    auto add = [&](char32_t c) { sample.push_back(QString::fromUcs4(&c, 1).toStdString()); };
    for (char32_t c = 0x20; c < 0x7F; ++c)
        add(c);
    for (char32_t c = 0xC0; c <= 0x17F; c += 3)
        add(c);
    for (char32_t c = 0x4E00; c <= 0x9FA5; c += 61)
        add(c);
    for (char32_t c = 0xFF01; c <= 0xFF5E; c += 7)
        add(c);
    PinyinCollation collation;
    std::stable_sort(sample.begin(), sample.end(),
                     [&](const std::string& a, const std::string& b) { return collation.compare(a, b) < 0; });
    std::uint32_t hash = 2166136261u; // FNV-1a over the sorted sample
    for (size_t i = 0; i < sample.size(); ++i) {
        const bool tie = i > 0 && collation.compare(sample[i - 1], sample[i]) == 0;
        for (unsigned char c : sample[i] + (tie ? "=" : "<"))
            hash = (hash ^ c) * 16777619u;
    }
    return int(hash & 0x7FFFFFFF) | 1; // never 0, the value of a file that records nothing
}

bool keepIndexesInOrder(sqlite3* db) {
    static const int fingerprint = collationFingerprint();
    sqlite3_stmt* st = nullptr;
    int recorded = 0;
    const bool read = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
                      sqlite3_step(st) == SQLITE_ROW;
    if (read) recorded = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    // Unread, the fingerprint would be taken for none, and indexes in an older order kept.
    if (!read) return false;
    if (recorded == fingerprint) return true;
    const std::string sql = (recorded ? "REINDEX PINYIN; " : "") + std::string("PRAGMA user_version=") +
                            std::to_string(fingerprint);
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

void registerFunctions(sqlite3* db) {
    auto* ctx = new Context;
    // The collation owns the context; the functions borrow it.
    sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, ctx, collate, destroyContext);
    forEachSqlFunction([&](const SqlFunction& f) {
        auto add = [&](int args) {
            sqlite3_create_function_v2(db, f.name, args,
                                       SQLITE_UTF8 | SQLITE_INNOCUOUS | SQLITE_DETERMINISTIC, ctx, f.impl,
                                       nullptr, nullptr, nullptr);
        };
        if (f.maxArgs < 0) add(-1); // any number
        for (int n = f.minArgs; n <= f.maxArgs; ++n)
            add(n);
    });
}

} // namespace jet
