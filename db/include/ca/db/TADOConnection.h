#pragma once
// The one database connection of the program. It opens with the first statement, resolving its
// file name against the current directory of that moment, creates the database with the whole
// schema when the file does not exist, and stays open until it is destroyed.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ca/db/Column.h"
#include "ca/db/Dialect.h"

struct sqlite3;

namespace ca::db {

class StatementCache;

class TADOConnection : public SchemaLookup {
public:
    // fileName: relative (resolved when the connection opens), absolute, or ":memory:".
    explicit TADOConnection(std::string fileName = "DB.sqlite");
    ~TADOConnection() override;
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    const std::string& FileName() const { return fileName_; }
    // The file actually opened; empty until then.
    const std::string& OpenedPath() const { return openedPath_; }
    bool Connected() const { return db_ != nullptr; }

    // Opens now (statements do it themselves). Throws DbError with the file name and the reason
    // when the file cannot be opened; the connection then stays closed and the next statement
    // tries again.
    void Open();

    // The engine handle, opening first when needed.
    sqlite3* handle();

    const Dialect& dialect() const { return *dialect_; }
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
    sqlite3* db_ = nullptr;
    std::unique_ptr<Dialect> dialect_;
    std::unordered_map<std::string, Translation> translations_;
    std::unordered_map<std::string, std::vector<std::string>> parameterNames_;
    std::unique_ptr<StatementCache> statements_;
    std::map<std::string, std::vector<ColumnInfo>> tables_;  // key: lower-case table name
};

}  // namespace ca::db
