#pragma once
// The engine underneath the connection: SQLite on a local file or a PostgreSQL server. The
// connection, the query objects and the transaction helper talk to it only through these two
// interfaces, so the layers above never see which engine holds the data.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ca/db/BulkCopy.h"
#include "ca/db/Column.h"
#include "ca/db/Dialect.h"
#include "ca/db/Durability.h"
#include "ca/db/OpenMode.h"

namespace ca::db {

// The type of one value of a result row.
enum class CellType : unsigned char { Null, Integer, Real, Text };

// One compiled statement in the engine's dialect. Parameters are numbered from 1 in the order of
// parameterNames(); a bound text must stay alive until the statement has been stepped to its end.
class EngineStatement {
public:
    virtual ~EngineStatement() = default;

    // The parameter names by position (":name"); empty for an unnamed parameter.
    virtual const std::vector<std::string>& parameterNames() const = 0;
    virtual void bindText(int index, std::string_view value) = 0;
    virtual void bindInteger(int index, std::int64_t value) = 0;
    virtual void bindReal(int index, double value) = 0;
    virtual void bindNull(int index) = 0;

    // Runs the statement (first call) or moves to its next row: true while a row is ready.
    // Throws DbError with the engine's message in Chinese.
    virtual bool step() = 0;
    // The result's columns; before the first step the count the statement was compiled for.
    virtual int columnCount() const = 0;
    virtual std::string columnName(int column) const = 0;
    // The value of a column of the current row.
    virtual CellType columnType(int column) const = 0;
    virtual std::int64_t columnInteger(int column) const = 0;
    virtual double columnReal(int column) const = 0;
    virtual std::string_view columnText(int column) const = 0;
    // Rows written by the run that has just ended; 0 for a statement that only reads.
    virtual int changes() const = 0;

    // Ready for the next run: no pending rows, no bound values.
    virtual void rewind() = 0;
};

class Engine {
public:
    virtual ~Engine() = default;

    // Connects (creating the schema in an empty database). Throws DbError naming the database;
    // the engine then stays closed and the next statement tries again.
    virtual void open() = 0;
    virtual bool isOpen() const = 0;
    // What the messages call the database: the file actually opened, or the server's address
    // (never its password). Empty until open for a file.
    virtual std::string displayName() const = 0;

    virtual const Dialect& dialect() const = 0;

    // Compiles engine-dialect text of one statement; jetSql is the text as written, for messages.
    // Throws DbError.
    virtual std::unique_ptr<EngineStatement> prepare(const std::string& sql, const std::string& jetSql) = 0;
    // Runs engine-dialect text (schema creation, settings). Throws DbError.
    virtual void exec(const std::string& sql) = 0;

    // The columns of a table (name compared without regard to case), nothing when there is none.
    virtual std::optional<std::vector<ColumnInfo>> tableColumns(std::string_view table) = 0;

    // A transaction is open on the connection.
    virtual bool inTransaction() = 0;
    // Starts the outermost transaction of an action, taking the write lock where the engine
    // needs one up front; `durability` says how its commit is kept.
    virtual void begin(Durability durability) = 0;
    // End the transaction begin() started: keep it, or undo it.
    virtual void commit() = 0;
    virtual void rollback() = 0;

    // What the engines do differently, asked for by what it is for rather than by engine.

    // Holds the declarations with these unified numbers (LoadData.TY_No) until the current unit
    // ends, so another desk's unit that holds one of them waits for this one and then sees what it
    // stored. Keys the table does not hold are passed over.
    virtual void lockDeclarations(const std::vector<std::string>& keys) = 0;
    // Gathers fresh statistics of these tables for the planner of the next statements.
    virtual void refreshStatistics(const std::vector<std::string>& tables) = 0;
    // Starts writing rows into `table` in bulk (see BulkCopy).
    virtual std::unique_ptr<BulkCopy> bulkCopy(const std::string& table,
                                               const std::vector<std::string>& columns) = 0;
    // The engine and its version, e.g. "SQLite 3.40.1" or "PostgreSQL 15.5".
    virtual std::string version() = 0;
    // Adds a column (addSql: the engine's ALTER TABLE … ADD …) whose rows already there hold 0
    // (quoted names of table and column). False when the engine only added the column and the rows
    // are still to be filled by an update.
    virtual bool addColumnOfZeros(const std::string& addSql, const std::string& table,
                                  const std::string& column) = 0;
    // How long a statement waits for another desk's lock before it fails with DbBusy.
    virtual void setLockWait(int milliseconds) = 0;
    // How the next open() opens the database (see OpenMode). A server is always opened one way.
    virtual void setOpenMode(OpenMode) {}
    // The engine's own quick look at the stored data: why it is damaged, or nullopt when it is
    // whole (a server keeps its own files whole).
    virtual std::optional<std::string> damage() { return std::nullopt; }
};

}  // namespace ca::db
