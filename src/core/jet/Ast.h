#pragma once
// The syntax tree of one Jet statement. The parser fills the syntax; the binder adds the
// annotations (resolved names, Jet types, result columns); the rewriter replaces some shapes
// with faster ones of the same meaning; the emitter writes the result.
#include "core/jet/JetTypes.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace jet {

struct Function;
struct Select;
struct Source;

enum class ExprKind {
    Number,  // text: the literal as written
    String,  // text: the value
    DateLit, // text: the ISO value
    Null,
    Bool,     // boolValue
    Column,   // qualifier.text
    Unary,    // op, args[0]
    Binary,   // op, args[0..1]
    Chain,    // op (Concat, And, Or), args[0..n]
    Function, // text: name as written, args; star for count(*)
    Subquery, // sub
    Exists,   // sub
    InList,   // args[0] IN (args[1..n]); negated
    InSelect, // args[0] IN (sub); negated
    Between,  // args[0] BETWEEN args[1] AND args[2]; negated
    IsNull,   // args[0] IS NULL; negated
    Like,     // args[0] LIKE args[1]; negated
    // Made by the rewriter only:
    AnyOf,    // true when one of args is true, else false (never Null)
    Contains, // args[0] holds the text args[1], as InStr(args[0], args[1]) > 0
    KeyIn,    // args[0] is one of the keys sub gives (its one item, no names); Null counts as false
};

enum class Op {
    None,
    Neg,
    Not,
    Add,
    Sub,
    Mul,
    Div,
    IntDiv,
    Mod,
    Pow,
    Concat,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    And,
    Or,
    Xor
};

struct Expr {
    ExprKind kind = ExprKind::Null;
    Op op = Op::None;
    int pos = 0;   // character offset in the statement, for messages
    int depth = 1; // height of the subtree
    QString text;
    QString qualifier;
    bool boolValue = false;
    bool negated = false;
    bool star = false;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> sub;

    // Binder annotations.
    JetType type = JetType::Unknown;
    const Source* source = nullptr;     // Column: the source it was found in
    QString column;                     // Column: the stored name (or the select-list alias)
    bool aliasRef = false;              // Column: refers to a result column of the same select
    bool aggregate = false;             // Function: sum, count, ...
    const Function* function = nullptr; // Function: its entry in the function table
};

using ExprPtr = std::unique_ptr<Expr>;

struct ResultColumn {
    QString name;
    JetType type = JetType::Unknown;
};

// A table or derived table as the expressions of a select see it.
struct Source {
    QString jetName;  // the alias, or the table's name; how the statement qualifies it
    QString sqlAlias; // unique name in the emitted statement
    QString table;    // stored table name; empty for a derived table
    QString rowidKey; // a table's INTEGER PRIMARY KEY column, if it has one
    std::vector<ResultColumn> columns;
};

enum class JoinKind { None, Inner, Left, Right };

struct FromItem {
    enum class Kind { Table, Derived, Join } kind = Kind::Table;
    int pos = 0;
    QString table; // as written
    QString alias; // as written, may be empty
    std::unique_ptr<Select> sub;
    JoinKind join = JoinKind::None;
    std::unique_ptr<FromItem> left, right;
    ExprPtr on;
    Source source; // binder: Table and Derived
};

struct SelectItem {
    ExprPtr expr;          // null for a star
    QString alias;         // as written, may be empty
    QString starQualifier; // "T" for T.*; empty for *
    bool star = false;
    int pos = 0;
    QString name; // binder: the result column's name
};

struct OrderItem {
    ExprPtr expr;
    bool desc = false;
};

struct Select {
    int pos = 0;
    bool distinct = false;
    std::optional<qint64> top;
    std::vector<SelectItem> items;
    std::vector<std::unique_ptr<FromItem>> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;

    std::vector<ResultColumn> result; // binder: one per item after stars are expanded
    bool unordered = false;           // rewriter: the select around it states the order of its rows
};

struct ColumnDef {
    QString name;
    QString typeName;
    int pos = 0;
    bool notNull = false;
    bool primaryKey = false;
    JetType type = JetType::Unknown; // binder
    bool counter = false;            // binder: AutoNumber
};

struct Statement {
    enum class Kind { Select, Insert, Update, Delete, CreateTable, DropTable } kind = Kind::Select;
    std::unique_ptr<Select> select; // Select; Insert ... Select
    QString table;                  // Insert, Update, Delete, CreateTable, DropTable (as written)
    int tablePos = 0;
    std::vector<QString> columns; // Insert column list, Update targets (as written)
    std::vector<int> columnPos;
    std::vector<ExprPtr> values; // Insert values, Update right-hand sides
    ExprPtr where;               // Update, Delete
    std::vector<ColumnDef> defs; // CreateTable

    // Binder annotations.
    Source target;                     // Insert, Update, Delete: the table
    std::vector<ResultColumn> targets; // Insert, Update: stored name and type of each assigned column
};

} // namespace jet
