#pragma once
// The one database connection of the program: a SQLite file, or a PostgreSQL server shared by
// several desks. It opens with the first statement (a file name is resolved against the current
// directory of that moment), creates the whole schema in an empty database, and stays open until
// it is destroyed. A server connection that breaks is opened again by the next statement.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ca/db/Column.h"
#include "ca/db/Dialect.h"
#include "ca/util/Settings.h"

struct sqlite3;

namespace ca::db {

class StatementCache;
class Engine;

// True for a target that names a PostgreSQL server rather than a file: a libpq connection string
// ("host=... dbname=...") or a "postgresql://" / "postgres://" address.
bool IsServerTarget(std::string_view target);

class TADOConnection : public SchemaLookup {
public:
    // fileName: a file, relative (resolved when the connection opens), absolute, or ":memory:";
    // or a server (IsServerTarget).
    explicit TADOConnection(std::string fileName = settings::kDatabaseFileName);
    ~TADOConnection() override;
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    const std::string& FileName() const { return fileName_; }
    // The file actually opened (empty until then), or the server's address without its password.
    const std::string& OpenedPath() const { return openedPath_; }
    bool Connected() const;
    bool IsServer() const { return server_; }

    // Opens now (statements do it themselves). Throws DbError with the file name or server and the
    // reason when the database cannot be opened; the connection then stays closed and the next
    // statement tries again.
    void Open();

    // The SQLite handle, opening first when needed; throws DbError on a server connection.
    sqlite3* handle();
    // The engine underneath, opened first when needed.
    Engine& engine();

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
    std::string openedPath_;
    bool server_ = false;
    std::unique_ptr<Engine> engine_;
    std::unordered_map<std::string, Translation> translations_;
    std::unordered_map<std::string, std::vector<std::string>> parameterNames_;
    std::unique_ptr<StatementCache> statements_;
    std::map<std::string, std::vector<ColumnInfo>> tables_;  // key: lower-case table name
};

}  // namespace ca::db
