#pragma once
// Translation of statements written in the Jet dialect (the dialect every window writes) into the
// dialect of the engine underneath. One class per engine; the connection holds one of them.
#include <memory>
#include <string>
#include <string_view>

#include "ca/db/Column.h"

namespace ca::db {

struct Translation {
    std::string sql;
    bool changesSchema = false;  // alter/create/drop: cached schema knowledge must be dropped
};

class Dialect {
public:
    virtual ~Dialect() = default;
    // Throws DbError for text that cannot be a statement (an unterminated literal, a bad date
    // literal, an unknown column type).
    virtual Translation translate(std::string_view jetSql, SchemaLookup& schema) const = 0;
    // The engine's definition of one column, with the checks that keep its kind.
    virtual std::string columnDefinition(const ColumnInfo& column) const = 0;
    // A table or column name as the engine's quoted name.
    virtual std::string quoteName(std::string_view name) const = 0;
    // An index item for a text expression that statements compare without regard to case.
    virtual std::string textIndexExpression(std::string_view expression) const = 0;
};

// Jet to SQLite. Needs the functions of SqliteFunctions registered on the connection.
class SqliteDialect : public Dialect {
public:
    Translation translate(std::string_view jetSql, SchemaLookup& schema) const override;
    std::string columnDefinition(const ColumnInfo& column) const override;
    std::string quoteName(std::string_view name) const override;
    std::string textIndexExpression(std::string_view expression) const override;
};

// Jet to PostgreSQL. Names are folded to lower case (the server's unquoted names), text columns
// are citext (comparisons, like, order and unique keys without regard to letter case), and the
// Jet functions and conversions are functions the schema creates on the server (ca_format for
// the two-argument format, which the server's own format would take otherwise).
class PostgresDialect : public Dialect {
public:
    Translation translate(std::string_view jetSql, SchemaLookup& schema) const override;
    std::string columnDefinition(const ColumnInfo& column) const override;
    std::string quoteName(std::string_view name) const override;
    std::string textIndexExpression(std::string_view expression) const override;
};

// The kind a declared engine type stands for (as the schema reports it back).
ColumnKind kindOfSqliteType(std::string_view declaredType);

}  // namespace ca::db
