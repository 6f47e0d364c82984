#include "ca/db/DatabaseFile.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string_view>

#include "EngineMessage.h"
#include "ReadOnlyLocation.h"
#include "ca/db/DatabaseFiles.h"
#include "ca/db/Schema.h"
#include "ca/db/TDM.h"
#include "ca/util/AsciiCase.h"
#include "ca/util/Folders.h"
#include "ca/util/OutputTarget.h"

namespace ca::db {

namespace fs = std::filesystem;

namespace {

// Whether the file starts with SQLite's header; nullopt when it cannot be read at all (another
// program holds it without sharing, no permission).
std::optional<bool> hasSqliteHeader(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return std::nullopt;
    char head[16] = {};
    in.read(head, sizeof head);
    return in.gcount() == sizeof head &&
           std::string_view(head, sizeof head) == std::string_view("SQLite format 3\0", 16);
}

// The tables of a SQLite file, lower case, read through a read-only connection; the engine's reason
// when the file cannot be read as a database.
FileCheck readTables(const std::string& path, std::set<std::string>& tables) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    if (rc == SQLITE_OK &&
        sqlite3_exec(db, "SELECT 1 FROM sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK &&
        onReadOnlyFileSystem(fs::absolute(pathFromUtf8(path)).parent_path())) {
        // A database in WAL mode on a read-only disk, without its -shm file: read as it is.
        sqlite3_close_v2(db);
        db = nullptr;
        rc = sqlite3_open_v2(immutableUri(pathToUtf8(fs::absolute(pathFromUtf8(path)))).c_str(), &db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    }
    if (rc == SQLITE_OK) sqlite3_busy_timeout(db, 5000);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type='table'", -1, &st, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            tables.insert(toLowerAscii(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
    }
    FileCheck check{FileState::Ours, {}};
    if (rc != SQLITE_DONE)
        check = {FileState::Unreadable, chineseEngineMessage(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc))};
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    return check;
}

}  // namespace

FileCheck CheckDatabaseFile(const std::string& path) {
    std::error_code ec;
    const fs::path p = pathFromUtf8(path);
    const fs::file_status status = fs::status(p, ec);
    if (!fs::exists(status)) return {FileState::Missing, {}};
    if (fs::is_directory(status)) return {FileState::Folder, {}};
    if (fs::file_size(p, ec) == 0 && !ec) return {FileState::Empty, {}};
    // A file too short to be refused by the engine would have a new database written into it.
    const std::optional<bool> sqlite = hasSqliteHeader(p);
    if (!sqlite) return {FileState::Unreadable, "无法打开文件（没有读取权限，或被其他程序占用）"};
    if (!*sqlite) return {FileState::NotSqlite, {}};
    std::set<std::string> tables;
    FileCheck check = readTables(path, tables);
    if (check.state != FileState::Ours) return check;
    for (const TableDef& t : DefaultTables())
        if (!tables.count(toLowerAscii(t.name))) return {FileState::Foreign, t.name};
    return check;
}

std::string DatabaseFileProblem(const FileCheck& check, const std::string& what, const std::string& path) {
    switch (check.state) {
        case FileState::Missing:
            return "找不到" + what + "文件“" + path + "”";
        case FileState::Folder:
            return what + "“" + path + "”是一个文件夹，不是数据库文件";
        case FileState::Empty:
            return what + "文件“" + path + "”是空文件，不是本程序的数据库";
        case FileState::NotSqlite:
            return what + "文件“" + path + "”不是本程序的数据库（不是 SQLite 数据库文件）";
        case FileState::Unreadable:
            return what + "文件“" + path + "”无法读取：" + check.detail + "，没有做任何改动";
        case FileState::Foreign:
            return what + "不是本程序的数据库：没有数据表 " + check.detail + "（文件“" + path +
                   "”），没有做任何改动";
        case FileState::Ours:
            break;
    }
    return {};
}

std::string DatabaseOutputProblem(TDM& dm, const std::string& output) {
    // Once open, the file it opened as resolved then; before, its name as it would be resolved now.
    return databaseOutputProblem(output, DatabaseFilePath(dm.ADOConnection1));
}

}  // namespace ca::db
