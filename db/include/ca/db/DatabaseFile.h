#pragma once
// A database file looked at before anything opens it for writing: opening a file that is not this
// program's database would switch it to WAL or write a new schema into it, and opening a missing
// one creates it. The look reads only: the file is opened read-only, its tables are listed, and it
// is closed again before the engine opens it.
#include <string>

namespace ca::db {

class TDM;

enum class FileState {
    Missing,     // nothing at the path
    Folder,      // a folder
    Empty,       // a file of zero bytes (the engine would write a new database into it)
    NotSqlite,   // not a SQLite database (too short, another format)
    Unreadable,  // a SQLite header, but the engine cannot read the file (damaged, locked)
    Foreign,     // a SQLite database without this program's tables
    Ours,        // a SQLite database holding every table of this program
};

struct FileCheck {
    FileState state = FileState::Missing;
    // Foreign: the first table that is missing; Unreadable: the engine's reason.
    std::string detail;
};

// Looks at the file at `path` (UTF-8) without changing it.
FileCheck CheckDatabaseFile(const std::string& path);

// The Chinese sentence for a file that is not a database of this program (empty for Ours and
// Missing), naming the file as "<what>“<path>”" ("数据库文件“D:\\x.sqlite”…").
std::string DatabaseFileProblem(const FileCheck& check, const std::string& what, const std::string& path);

// The Chinese sentence refusing an output at `output` that is the database file `dm` works on or one
// of its companions (ca::databaseOutputProblem); empty for any other file and on a server. Every
// command that writes a file the user named asks this before writing.
std::string DatabaseOutputProblem(TDM& dm, const std::string& output);

}  // namespace ca::db
