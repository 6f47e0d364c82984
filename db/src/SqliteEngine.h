#pragma once
// The engine on a local SQLite file: WAL on a local disk, a busy timeout, the functions of the Jet
// dialect, and the refusal of Access files the program no longer reads.
#include <memory>
#include <string>

#include "Engine.h"

struct sqlite3;

namespace ca::db {

class SqliteEngine : public Engine {
public:
    // fileName: relative (resolved when the engine opens), absolute, or ":memory:".
    explicit SqliteEngine(std::string fileName);
    ~SqliteEngine() override;

    void open() override;
    bool isOpen() const override { return db_ != nullptr; }
    std::string displayName() const override { return openedPath_; }
    const Dialect& dialect() const override { return dialect_; }
    std::unique_ptr<EngineStatement> prepare(const std::string& sql, const std::string& jetSql) override;
    void exec(const std::string& sql) override;
    std::optional<std::vector<ColumnInfo>> tableColumns(std::string_view table) override;
    bool inTransaction() override;
    void begin(Durability durability) override;
    void commit() override { exec("COMMIT"); }
    void rollback() override { exec("ROLLBACK"); }

    // The open handle (opening first); for tests that need SQLite itself.
    sqlite3* handle();

private:
    void createSchema();

    std::string fileName_;
    std::string openedPath_;
    sqlite3* db_ = nullptr;
    SqliteDialect dialect_;
};

}  // namespace ca::db
