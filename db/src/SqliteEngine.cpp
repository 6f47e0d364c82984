#include "SqliteEngine.h"

#include <sqlite3.h>
#ifdef _WIN32
#include <windows.h>
#elif defined(__linux__)
#include <sys/vfs.h>
#endif

#include <array>
#include <filesystem>
#include <fstream>

#include "EngineMessage.h"
#include "JetLexer.h"
#include "ReadOnlyLocation.h"
#include "SqliteFunctions.h"
#include "ca/db/DbError.h"
#include "ca/db/Schema.h"
#include "ca/util/Folders.h"
#include "ca/util/SystemErrorText.h"

namespace ca::db {

namespace fs = std::filesystem;

namespace {

// The first bytes of an Access database name its engine at offset 4.
bool isAccessFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<char, 32> head{};
    in.read(head.data(), head.size());
    std::string_view text(head.data(), static_cast<size_t>(in.gcount()));
    return text.size() >= 19 &&
           (text.substr(4, 15) == "Standard Jet DB" || text.substr(4, 15) == "Standard ACE DB");
}

// WAL needs memory shared between the processes of one machine, which a network drive does not give.
bool onNetworkDrive(const fs::path& path) {
#ifdef _WIN32
    std::wstring root = path.root_path().wstring();
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
#elif defined(__linux__)
    struct statfs info {};
    if (statfs(pathToUtf8(path.parent_path()).c_str(), &info) != 0) return false;
    const auto type = static_cast<unsigned long>(info.f_type);
    return type == 0x6969 /* NFS */ || type == 0xFF534D42 /* CIFS */ || type == 0xFE534D42 /* SMB2 */ ||
           type == 0x517B /* SMB */;
#else
    (void)path;
    return false;
#endif
}

// The engine's message in Chinese; DbBusy when another connection holds the lock the statement needs.
[[noreturn]] void throwSqliteError(sqlite3* db, std::string_view message, const std::string& suffix = {}) {
    const int code = sqlite3_errcode(db) & 0xff;
    std::string text = chineseEngineMessage(message) + suffix;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) throw DbBusy(text);
    throw DbError(text);
}

class SqliteStatement : public EngineStatement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* st) : db_(db), st_(st) {
        const int count = sqlite3_bind_parameter_count(st);
        names_.reserve(static_cast<size_t>(count));
        for (int i = 1; i <= count; ++i) {
            const char* name = sqlite3_bind_parameter_name(st, i);
            names_.emplace_back(name ? name : "");
        }
    }
    ~SqliteStatement() override { sqlite3_finalize(st_); }

    const std::vector<std::string>& parameterNames() const override { return names_; }
    void bindText(int i, std::string_view v) override {
        sqlite3_bind_text(st_, i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
    }
    void bindInteger(int i, std::int64_t v) override { sqlite3_bind_int64(st_, i, v); }
    void bindReal(int i, double v) override { sqlite3_bind_double(st_, i, v); }
    void bindNull(int i) override { sqlite3_bind_null(st_, i); }

    bool step() override {
        const int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throwSqliteError(db_, sqlite3_errmsg(db_));
    }
    int columnCount() const override { return sqlite3_column_count(st_); }
    std::string columnName(int c) const override { return sqlite3_column_name(st_, c); }
    CellType columnType(int c) const override {
        switch (sqlite3_column_type(st_, c)) {
            case SQLITE_INTEGER:
                return CellType::Integer;
            case SQLITE_FLOAT:
                return CellType::Real;
            case SQLITE_NULL:
                return CellType::Null;
            default:
                return CellType::Text;
        }
    }
    std::int64_t columnInteger(int c) const override { return sqlite3_column_int64(st_, c); }
    double columnReal(int c) const override { return sqlite3_column_double(st_, c); }
    std::string_view columnText(int c) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, c));
        return p ? std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(st_, c)))
                 : std::string_view();
    }
    int changes() const override { return sqlite3_stmt_readonly(st_) ? 0 : sqlite3_changes(db_); }
    void rewind() override {
        // reset repeats the error of a failed last step; that error was reported when it happened.
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
    }

private:
    sqlite3* db_;
    sqlite3_stmt* st_;
    std::vector<std::string> names_;
};

}  // namespace

SqliteEngine::SqliteEngine(std::string fileName) : fileName_(std::move(fileName)) {}

SqliteEngine::~SqliteEngine() {
    if (db_) sqlite3_close_v2(db_);
}

void SqliteEngine::open() {
    if (db_) return;
    std::string path = fileName_;
    bool fresh = true;
    if (fileName_ != ":memory:") {
        std::error_code ec;
        fs::path p = fs::absolute(pathFromUtf8(fileName_), ec);
        if (ec) throw DbError("无法打开数据库“" + fileName_ + "”：" + systemErrorText(ec));
        path = pathToUtf8(p);
        if (fs::is_directory(p, ec)) throw DbError("无法打开数据库“" + path + "”：这是一个文件夹，不是文件");
        if (!fs::exists(p.parent_path(), ec))
            throw DbError("无法打开数据库“" + path + "”：文件夹“" + pathToUtf8(p.parent_path()) + "”不存在");
        if (fs::exists(p, ec)) {
            if (isAccessFile(p))
                throw DbError("无法打开数据库“" + path +
                              "”：这是 Access 数据库，本程序不再读取，必须先转换为新的数据库格式");
            fresh = fs::file_size(p, ec) == 0;
        } else if (fs::path mdb = fs::path(p).replace_extension(".mdb");
                   fs::exists(mdb, ec) && isAccessFile(mdb)) {
            // A new, empty database beside the office's Access file would hide its declarations
            // and split the data in two.
            throw DbError("无法打开数据库“" + path + "”：报关单还在 Access 数据库“" + pathToUtf8(mdb) +
                          "”中，必须先转换为新的数据库格式");
        }
    }
    const bool file = fileName_ != ":memory:";
    const bool readOnly = file && mode_ == OpenMode::ReadOnly;
    if (file && mode_ == OpenMode::Writable) refuseUnwritable(path);
    // A reader opens the file for writing all the same (SQLite falls back to reading where it cannot
    // write): as the last one out it then tidies the -wal and -shm files away, as every desk does.
    // It changes no data: query_only refuses every statement that would.
    db_ = connect(path, readOnly ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, path);
    openedPath_ = path;
    try {
        // Reading the schema fails here, not at the first statement, for a file that is not a
        // database.
        if (readOnly &&
            sqlite3_exec(db_, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK &&
            onReadOnlyFileSystem(pathFromUtf8(path).parent_path())) {
            // On a read-only disk SQLite cannot make the -shm file a database in WAL mode needs to be
            // read with others: nobody can change the file there, so it is read as unchangeable.
            sqlite3_close_v2(db_);
            db_ = connect(immutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, path);
        }
        exec("SELECT count(*) FROM sqlite_schema");
        if (readOnly) exec("PRAGMA query_only=1");
        if (mode_ == OpenMode::Writable && sqlite3_db_readonly(db_, "main") == 1)
            throw DbError("数据库文件不能写入（没有写入权限），没有做任何改动");
        if (readOnly) return;
        if (!fresh) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_schema", -1, &st, nullptr);
            if (st && sqlite3_step(st) == SQLITE_ROW) fresh = sqlite3_column_int(st, 0) == 0;
            sqlite3_finalize(st);
        }
        if (path != ":memory:" && !onNetworkDrive(pathFromUtf8(path))) {
            // A read-only file keeps its journal mode: the statement fails and is ignored.
            sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        }
        // With WAL, NORMAL syncs at checkpoints only: a power cut may lose the last statements but
        // never damages the file. The larger page cache keeps month-long queries in memory.
        exec("PRAGMA synchronous=NORMAL");
        exec("PRAGMA cache_size=-32768");
        if (fresh)
            createSchema();
        else
            upgradeSchema();
    } catch (const DbError& e) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        openedPath_.clear();
        throw DbError("无法打开数据库“" + path + "”：" + e.what());
    }
}

sqlite3* SqliteEngine::connect(const std::string& name, int flags, const std::string& shown) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = chineseEngineMessage(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw DbError("无法打开数据库“" + shown + "”：" + why);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, lockWait_);
    registerSqliteFunctions(db);
    return db;
}

// A command that is to change the data learns before anything is done that it cannot: the disk is
// mounted read-only, or the file may not be written.
void SqliteEngine::refuseUnwritable(const std::string& path) const {
    const fs::path p = pathFromUtf8(path);
    std::error_code ec;
    const bool exists = fs::exists(p, ec);
    if (onReadOnlyFileSystem(exists ? p : p.parent_path()))
        throw DbError("不能修改数据库“" + path +
                      "”：它所在的位置是只读的（磁盘或文件系统以只读方式挂载），没有做任何改动");
    if (exists && !writableFile(p))
        throw DbError("不能修改数据库“" + path + "”：数据库文件是只读的（没有写入权限），没有做任何改动");
}

std::optional<std::string> SqliteEngine::damage() {
    sqlite3_stmt* st = nullptr;
    std::string found;
    int rc = sqlite3_prepare_v2(handle(), "PRAGMA quick_check(3)", -1, &st, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(st);
        if (rc != SQLITE_ROW) break;
        const auto* line = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const std::string text = line ? line : "";
        if (text != "ok") found += (found.empty() ? "" : "；") + text;
    }
    if (rc != SQLITE_DONE) found = chineseEngineMessage(sqlite3_errmsg(db_));
    sqlite3_finalize(st);
    if (found.empty()) return std::nullopt;
    return found;
}

void SqliteEngine::createSchema() {
    std::string sql = "BEGIN;\n";
    for (const auto& statement : DefaultSchemaStatements(dialect_))
        sql += statement + ";\n";
    sql += "COMMIT;";
    try {
        exec(sql);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// A desk's file from before the goods line's unique key: its duplicate lines (the same line stored
// twice by two writers at once) go, the first stored stays, and the key is made, in one unit. A
// file that cannot take it now (read-only, held by another desk) is upgraded at a later opening.
void SqliteEngine::upgradeSchema() {
    auto count = [&](const char* sql) {
        sqlite3_stmt* st = nullptr;
        int n = 0;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        return n;
    };
    if (count("SELECT count(*) FROM sqlite_schema WHERE type='index' AND name='subData_line'") > 0) return;
    // Only this program's goods table: another program's file is left as it is.
    if (count("SELECT count(*) FROM pragma_table_info('subData') WHERE name IN ('Pid','SP_No')") != 2) return;
    const std::string sql =
        std::string(
            "BEGIN IMMEDIATE;\n"
            "DELETE FROM subData WHERE Pid IS NOT NULL AND SP_No IS NOT NULL AND rowid NOT IN "
            "(SELECT min(rowid) FROM subData GROUP BY Pid, SP_No);\n") +
        kUniqueGoodsLine + ";\nCOMMIT;";
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

sqlite3* SqliteEngine::handle() {
    if (!db_) open();
    return db_;
}

void SqliteEngine::exec(const std::string& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(handle(), sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const std::string message = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throwSqliteError(db_, message);
    }
}

std::unique_ptr<EngineStatement> SqliteEngine::prepare(const std::string& sql, const std::string& jetSql) {
    sqlite3* db = handle();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, &tail) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_finalize(st);
        throwSqliteError(db, message, jetSql.empty() ? std::string() : "。语句：" + jetSql);
    }
    if (!st) throw DbError("无效的 SQL 语句：" + jetSql);
    auto statement = std::make_unique<SqliteStatement>(db, st);
    for (const char* p = tail; p && *p; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';')
            throw DbError("SQL 语句结束后还有多余的字符：" + jetSql);
    return statement;
}

std::optional<std::vector<ColumnInfo>> SqliteEngine::tableColumns(std::string_view table) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle(), "SELECT name, type FROM pragma_table_info(?1)", -1, &st, nullptr) !=
        SQLITE_OK)
        return std::nullopt;
    sqlite3_bind_text(st, 1, table.data(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
    std::vector<ColumnInfo> cols;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const auto* type = sqlite3_column_text(st, 1);
        c.kind = kindOfSqliteType(type ? reinterpret_cast<const char*>(type) : "");
        cols.push_back(std::move(c));
    }
    sqlite3_finalize(st);
    if (cols.empty()) return std::nullopt;
    return cols;
}

bool SqliteEngine::inTransaction() {
    return sqlite3_get_autocommit(handle()) == 0;
}

void SqliteEngine::begin(Durability) {
    // IMMEDIATE takes the write lock at once, so the action waits for another desk's write (the
    // busy timeout) instead of failing midway.
    exec("BEGIN IMMEDIATE");
}

namespace {

// One compiled insert run once per row: inside the copy's unit this is as fast as the file takes
// rows.
class SqliteBulkCopy : public BulkCopy {
public:
    SqliteBulkCopy(std::unique_ptr<EngineStatement> insert) : insert_(std::move(insert)) {}

    void addRow(const std::vector<Value>& row) override {
        for (size_t i = 0; i < row.size(); ++i) {
            const int at = static_cast<int>(i + 1);
            if (const auto* n = std::get_if<std::int64_t>(&row[i]))
                insert_->bindInteger(at, *n);
            else if (const auto* d = std::get_if<double>(&row[i]))
                insert_->bindReal(at, *d);
            else if (const auto* t = std::get_if<std::string>(&row[i]))
                insert_->bindText(at, *t);
            else
                insert_->bindNull(at);
        }
        insert_->step();
        written_ += insert_->changes();
        insert_->rewind();
    }
    int finish() override { return written_; }

private:
    std::unique_ptr<EngineStatement> insert_;
    int written_ = 0;
};

}  // namespace

std::unique_ptr<BulkCopy> SqliteEngine::bulkCopy(const std::string& table,
                                                 const std::vector<std::string>& columns) {
    std::string names, values;
    for (size_t i = 0; i < columns.size(); ++i) {
        names += (i ? "," : "") + dialect_.quoteName(columns[i]);
        values += i ? ",?" : "?";
    }
    // A plain insert: the unit holds the file's write lock, so no other desk stores a key while the
    // copy runs, and a value the column cannot take is refused as always (OR IGNORE would drop it).
    const std::string sql =
        "INSERT INTO " + dialect_.quoteName(table) + "(" + names + ") VALUES (" + values + ")";
    return std::make_unique<SqliteBulkCopy>(prepare(sql, sql));
}

std::string SqliteEngine::version() {
    return std::string("SQLite ") + sqlite3_libversion();
}

void SqliteEngine::setLockWait(int milliseconds) {
    lockWait_ = milliseconds;
    if (db_) sqlite3_busy_timeout(db_, milliseconds);
}

}  // namespace ca::db
