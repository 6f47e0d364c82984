#pragma once
// The one database connection of the program: a SQLite file, or a PostgreSQL server shared by
// several desks. It opens with the first statement (a file name is resolved against the current
// directory of that moment), creates the whole schema in an empty database, and stays open until
// it is destroyed. A server connection that breaks is opened again by the next statement outside
// a unit of work (Transaction), or by the next unit: never inside the unit it broke in, which fails
// whole (DbConnectionLost) and is undone.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ca/db/BulkCopy.h"
#include "ca/db/Column.h"
#include "ca/db/Dialect.h"
#include "ca/db/OpenMode.h"
#include "ca/util/Settings.h"

namespace ca::db {

class StatementCache;
class Engine;

// True for a target that names a PostgreSQL server, not a file: what libpq reads as a connection
// string, or a bare host name or address (see DatabaseTarget.h; a path naming a file is a file).
bool IsServerTarget(std::string_view target);

class TADOConnection : public SchemaLookup {
public:
    // fileName: a file, relative (resolved when the connection opens), absolute, or ":memory:";
    // or a server (IsServerTarget). A text that names neither (TargetRefusal) is refused by every
    // statement with that reason, and nothing is opened or created.
    explicit TADOConnection(std::string fileName = settings::kDatabaseFileName);
    ~TADOConnection() override;
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    const std::string& FileName() const { return fileName_; }
    // The file actually opened (empty until then), or the server's address without its password.
    const std::string& OpenedPath() const { return openedPath_; }
    // The database file as it was resolved when the connection opened (every link and ".." followed):
    // the file SQLite keeps its -wal and -shm files beside. Empty until then, and for a server or an
    // in-memory database.
    const std::string& RealPath() const { return realPath_; }
    bool Connected() const;

    // Opens now (statements do it themselves). Throws DbError with the file name or server and the
    // reason when the database cannot be opened; the connection then stays closed and the next
    // statement tries again.
    void Open();

    // The engine underneath, opened first when needed.
    Engine& engine();

    // What the engines do differently, so that no caller needs to know which one it talks to.
    // Each opens the connection first and throws DbError.

    // Inside a unit (Transaction): holds the declarations with these unified numbers until the
    // unit ends. Every writer of a declaration's goods lines takes this lock first, so two desks
    // (or a desk and a copy between databases) never both find a line absent and both store it.
    void LockDeclarations(const std::vector<std::string>& keys);
    // Fresh statistics of these tables (all of the program's when none are named) after many rows
    // were written at once, so the next queries are planned for the rows that are there.
    void RefreshStatistics(const std::vector<std::string>& tables = {});
    // Undoes the outermost unit of work that the engine began (Transaction does this).
    void RollbackUnit();
    // Starts writing rows into `table` in bulk; the columns as the table spells them.
    std::unique_ptr<BulkCopy> BeginCopy(const std::string& table, const std::vector<std::string>& columns);
    // The engine and its version, e.g. "SQLite 3.40.1" or "PostgreSQL 15.5".
    std::string EngineVersion();
    // Adds a column (jetType as "alter table" takes it, e.g. "numeric (18 ,2)") whose rows already
    // there hold 0 and later rows what they are given: what a new fee item's amount column needs.
    // A server does it without rewriting the table.
    void AddColumnOfZeros(const std::string& table, const std::string& column, const std::string& jetType);
    // How long a statement waits for another desk's lock before it fails with DbBusy (5 s unless
    // set); kept when the connection is opened again.
    void SetLockWait(int milliseconds);
    // How the connection opens its file (Default unless set); set before it opens.
    void SetOpenMode(OpenMode mode);
    // The engine's quick check of the stored data, opening first: why the file is damaged, or
    // nullopt when it is whole.
    std::optional<std::string> Damage();

    const Dialect& dialect() const;
    // The statement in the engine's dialect (cached).
    const Translation& translate(const std::string& jetSql);
    // Called after a statement that changed the structure of a table: translations, column kinds
    // and compiled statements are all dropped.
    void schemaChanged();

    // The compiled statements, kept by their Jet text.
    StatementCache& statements() { return *statements_; }
    // The parameter names of a statement text in order of first appearance, lower case, without
    // the colon; empty for text that cannot be split into tokens (cached, needs no open database).
    const std::vector<std::string>& parameterNames(const std::string& jetSql);

    const std::vector<ColumnInfo>* columns(std::string_view table) override;

    // Runs engine-dialect text directly (schema creation, pragmas). Throws DbError.
    void execRaw(const std::string& sql);

private:
    std::string fileName_;
    std::string refusal_;  // why fileName_ names no database (TargetRefusal): nothing is opened
    std::string openedPath_;
    std::string realPath_;
    std::unique_ptr<Engine> engine_;
    std::unordered_map<std::string, Translation> translations_;
    std::unordered_map<std::string, std::vector<std::string>> parameterNames_;
    std::unique_ptr<StatementCache> statements_;
    std::map<std::string, std::vector<ColumnInfo>> tables_;  // key: lower-case table name
};

}  // namespace ca::db
