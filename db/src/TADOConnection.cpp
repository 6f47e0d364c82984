#include "ca/db/TADOConnection.h"

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
#include "SqliteFunctions.h"
#include "StatementCache.h"
#include "ca/db/DbError.h"
#include "ca/db/Schema.h"
#include "ca/util/SystemErrorText.h"

namespace ca::db {

namespace fs = std::filesystem;

namespace {

// Statements with joined values are rarely repeated; the cache is emptied when it grows past this.
constexpr size_t kTranslationCacheLimit = 2000;
// The statements a window or the download runs again and again are few; one-off statements pass
// through without pushing them out for long.
constexpr size_t kStatementCacheSize = 64;

// The first bytes of an Access database name its engine at offset 4.
bool isAccessFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<char, 32> head{};
    in.read(head.data(), head.size());
    std::string_view text(head.data(), static_cast<size_t>(in.gcount()));
    return text.size() >= 19 &&
           (text.substr(4, 15) == "Standard Jet DB" || text.substr(4, 15) == "Standard ACE DB");
}

// Paths travel as UTF-8 text; std::filesystem on Windows would read a narrow string in the ANSI
// code page, so the conversion goes through char8_t both ways.
fs::path pathFromUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string utf8FromPath(const fs::path& path) {
    std::u8string u = path.u8string();
    return std::string(reinterpret_cast<const char*>(u.data()), u.size());
}

// WAL needs memory shared between the processes of one machine, which a network drive does not give.
bool onNetworkDrive(const fs::path& path) {
#ifdef _WIN32
    std::wstring root = path.root_path().wstring();
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
#elif defined(__linux__)
    struct statfs info {};
    if (statfs(utf8FromPath(path.parent_path()).c_str(), &info) != 0) return false;
    const auto type = static_cast<unsigned long>(info.f_type);
    return type == 0x6969 /* NFS */ || type == 0xFF534D42 /* CIFS */ || type == 0xFE534D42 /* SMB2 */ ||
           type == 0x517B /* SMB */;
#else
    (void)path;
    return false;
#endif
}

}  // namespace

TADOConnection::TADOConnection(std::string fileName)
    : fileName_(std::move(fileName)),
      dialect_(std::make_unique<SqliteDialect>()),
      statements_(std::make_unique<StatementCache>(kStatementCacheSize)) {}

TADOConnection::~TADOConnection() {
    statements_->clear();
    if (db_) sqlite3_close_v2(db_);
}

void TADOConnection::Open() {
    if (db_) return;
    std::string path = fileName_;
    bool fresh = true;
    if (fileName_ != ":memory:") {
        std::error_code ec;
        fs::path p = fs::absolute(pathFromUtf8(fileName_), ec);
        if (ec) throw DbError("无法打开数据库“" + fileName_ + "”：" + systemErrorText(ec));
        path = utf8FromPath(p);
        if (fs::is_directory(p, ec)) throw DbError("无法打开数据库“" + path + "”：这是一个文件夹，不是文件");
        if (!fs::exists(p.parent_path(), ec))
            throw DbError("无法打开数据库“" + path + "”：文件夹“" + utf8FromPath(p.parent_path()) +
                          "”不存在");
        if (fs::exists(p, ec)) {
            if (isAccessFile(p))
                throw DbError("无法打开数据库“" + path +
                              "”：这是 Access 数据库，本程序不再读取，必须先转换为新的数据库格式");
            fresh = fs::file_size(p, ec) == 0;
        } else if (fs::path mdb = fs::path(p).replace_extension(".mdb");
                   fs::exists(mdb, ec) && isAccessFile(mdb)) {
            // A new, empty database beside the office's Access file would hide its declarations
            // and split the data in two.
            throw DbError("无法打开数据库“" + path + "”：报关单还在 Access 数据库“" + utf8FromPath(mdb) +
                          "”中，必须先转换为新的数据库格式");
        }
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = chineseEngineMessage(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw DbError("无法打开数据库“" + path + "”：" + why);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 5000);
    registerSqliteFunctions(db);
    db_ = db;
    openedPath_ = path;
    try {
        // Reading the schema fails here, not at the first statement, for a file that is not a
        // database.
        execRaw("SELECT count(*) FROM sqlite_schema");
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
        execRaw("PRAGMA synchronous=NORMAL");
        execRaw("PRAGMA cache_size=-32768");
        if (fresh) CreateDefaultSchema(*this);
    } catch (const DbError& e) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        openedPath_.clear();
        throw DbError("无法打开数据库“" + path + "”：" + e.what());
    }
}

sqlite3* TADOConnection::handle() {
    if (!db_) Open();
    return db_;
}

void TADOConnection::execRaw(const std::string& sql) {
    char* err = nullptr;
    int rc = sqlite3_exec(handle(), sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = chineseEngineMessage(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        throw DbError(msg);
    }
}

const Translation& TADOConnection::translate(const std::string& jetSql) {
    auto it = translations_.find(jetSql);
    if (it != translations_.end()) return it->second;
    Translation t = dialect_->translate(jetSql, *this);
    if (translations_.size() >= kTranslationCacheLimit) translations_.clear();
    return translations_.emplace(jetSql, std::move(t)).first->second;
}

void TADOConnection::schemaChanged() {
    translations_.clear();
    tables_.clear();
    statements_->clear();
}

const std::vector<std::string>& TADOConnection::parameterNames(const std::string& jetSql) {
    // A named parameter starts with ":"; text without one (values joined into it, mostly run once)
    // is neither split nor kept.
    static const std::vector<std::string> none;
    if (jetSql.find(':') == std::string::npos) return none;
    auto it = parameterNames_.find(jetSql);
    if (it != parameterNames_.end()) return it->second;
    std::vector<std::string> names;
    try {
        for (const auto& t : tokenizeJet(jetSql)) {
            if (t.kind != TokenKind::Param || t.text.empty()) continue;
            std::string name = toLowerAscii(t.text);
            bool known = false;
            for (const auto& n : names)
                known = known || n == name;
            if (!known) names.push_back(std::move(name));
        }
    } catch (const DbError&) {
        // The statement is malformed; running it reports that.
        names.clear();
    }
    if (parameterNames_.size() >= kTranslationCacheLimit) parameterNames_.clear();
    return parameterNames_.emplace(jetSql, std::move(names)).first->second;
}

const std::vector<ColumnInfo>* TADOConnection::columns(std::string_view table) {
    std::string key = toLowerAscii(table);
    auto it = tables_.find(key);
    if (it != tables_.end()) return &it->second;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle(), "SELECT name, type FROM pragma_table_info(?1)", -1, &st, nullptr) !=
        SQLITE_OK)
        return nullptr;
    sqlite3_bind_text(st, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    std::vector<ColumnInfo> cols;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        const auto* type = sqlite3_column_text(st, 1);
        c.kind = kindOfSqliteType(type ? reinterpret_cast<const char*>(type) : "");
        cols.push_back(std::move(c));
    }
    sqlite3_finalize(st);
    if (cols.empty()) return nullptr;
    return &tables_.emplace(key, std::move(cols)).first->second;
}

}  // namespace ca::db
