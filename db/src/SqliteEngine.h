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

    // The unit's write lock (begin) holds the whole file already.
    void lockDeclarations(const std::vector<std::string>&) override {}
    // The planner works from the indexes alone; statistics gathered once would have to be kept
    // fresh by hand ever after.
    void refreshStatistics(const std::vector<std::string>&) override {}
    std::unique_ptr<BulkCopy> bulkCopy(const std::string& table,
                                       const std::vector<std::string>& columns) override;
    std::string version() override;
    // The file's unit holds the write lock however long the update takes; rows are filled by one.
    bool addColumnOfZeros(const std::string& addSql, const std::string&, const std::string&) override {
        exec(addSql);
        return false;
    }
    void setLockWait(int milliseconds) override;
    void setOpenMode(OpenMode mode) override { mode_ = mode; }
    std::optional<std::string> damage() override;

private:
    // The open handle, opening first.
    sqlite3* handle();
    // A new handle on `name` with the program's settings; DbError naming `shown` when it fails.
    sqlite3* connect(const std::string& name, int flags, const std::string& shown);
    void refuseUnwritable(const std::string& path) const;
    void createSchema();
    void upgradeSchema();

    std::string fileName_;
    std::string openedPath_;
    sqlite3* db_ = nullptr;
    int lockWait_ = 5000;
    OpenMode mode_ = OpenMode::Default;
    SqliteDialect dialect_;
};

}  // namespace ca::db
