#pragma once
// The one table of functions: each as statements call it (Jet's name, arguments, result
// type), as the emitter translates it, and the SQLite function behind it that every
// connection registers. The binder, the emitter and the registration all read it.
#include "core/jet/JetTypes.h"

#include <QStringList>

struct sqlite3_context;
struct sqlite3_value;

namespace jet {

class Emitter;
struct Expr;
struct Function;

using SqlImpl = void (*)(sqlite3_context*, int, sqlite3_value**);

// One call as the emitter translates it: its arguments in the forms the SQL needs.
class Call {
public:
    Call(Emitter& emitter, const Expr& call, const Function& function)
        : emitter_(emitter), call_(call), function_(function) {}
    int count() const;
    bool star() const;
    JetType type(int i) const;
    QString value(int i) const;                        // the Jet value; Booleans as -1/0
    QString text(int i) const;                         // as CStr shows it
    QString date(int i) const;                         // the ISO text of a date
    QString key(int i) const;                          // as ORDER BY compares it
    QString truth(int i) const;                        // as a condition
    QString searched(int i) const;                     // as jet_instr and jet_cat take it
    QString operator()(const QStringList& args) const; // this function's SQLite function called
private:
    Emitter& emitter_;
    const Expr& call_;
    const Function& function_;
};

// How a call's result type follows from its arguments.
enum class Returns {
    Long,
    Integer,
    Double,
    Text,
    Date,
    Boolean,
    First,  // the first argument's
    Number, // Long for a whole-number argument, else Double
    Either, // the one both of the last two arguments have (with one argument, its own)
};

// One of our SQLite functions, registered on every connection.
struct SqlFunction {
    const char* name = nullptr;
    int minArgs = 0, maxArgs = 0; // -1: any number
    SqlImpl impl = nullptr;
};

struct Function {
    enum class Kind { Plain, Aggregate, Count }; // Count: an aggregate that also takes *

    const char* name; // Jet's, lower case
    int minArgs, maxArgs;
    Returns returns;
    QString (*emit)(const Call&);
    SqlFunction sql = {}; // what the translation calls, when it is one of ours
    Kind kind = Kind::Plain;
    QString (*condition)(const Call&) = nullptr; // as a condition, where simpler than value <> 0
};

// The function statements call by that name (any letter case); null when there is none.
const Function* findFunction(const QString& name);

// The call of one of our SQLite functions, for the translations of operators and conversions.
QString sqlCall(SqlImpl impl, const QStringList& args);

} // namespace jet
