#pragma once
#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace jet {

// The column types of the ledger's tables as the program uses them.
enum class JetType { Unknown, Long, Integer, Double, Boolean, Date, Text };

// A statement that cannot be parsed, or that SQLite rejects, or that fails while running.
class JetError : public std::runtime_error {
public:
    explicit JetError(const QString& message) : std::runtime_error(message.toStdString()), text(message) {}
    QString text;
};

// A Jet statement as SQLite runs it.
struct Translation {
    std::string sql;                  // SQLite SQL, UTF-8
    std::vector<JetType> columnTypes; // for a query: Jet type of each result column (Unknown when not known)
    bool changesSchema = false;       // CREATE / DROP / ALTER: the catalogue must be read again
};

// The SQLite declared type that stands for a Jet type in our data files, and back.
const char* declaredType(JetType type);
JetType typeFromDeclared(const QString& declared);

} // namespace jet
