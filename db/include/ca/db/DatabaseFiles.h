#pragma once
// Whether a path names one of the files of the open database: the database file itself or one of
// the files SQLite keeps beside it (-wal, -shm, -journal), by any name (a relative path, another
// spelling, a link). Such a file is the database engine's alone: any other opening of it would be a
// fault (on Linux, closing a descriptor of the file drops the connection's locks on it).
#include <filesystem>
#include <string>

namespace ca::db {

class TADOConnection;

// The database file of the connection with links and ".." resolved: as resolved when it opened,
// else its name as it would be resolved now. Empty for a server or an in-memory database.
std::string DatabaseFilePath(const TADOConnection& connection);

// Compares by file identity where the file exists and by absolute path where it does not. Opens
// neither file. A connection not yet open counts with the file it will open (its name resolved
// against the current directory); a server or an in-memory database has no files.
bool IsDatabaseFile(const TADOConnection& connection, const std::filesystem::path& path);

}  // namespace ca::db
