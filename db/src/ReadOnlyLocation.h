#pragma once
// A database file on a disk that cannot be written: recognised, and read as it is.
#include <filesystem>
#include <string>

namespace ca::db {

// Whether the file system holding `path` (an existing file or folder) is mounted read-only.
bool onReadOnlyFileSystem(const std::filesystem::path& path);

// Whether this process may write the existing file.
bool writableFile(const std::filesystem::path& path);

// The file as a URI that tells SQLite the file cannot change while it is open (no locks, no shared
// memory): how a database on a read-only disk is read when its -shm file is not there and cannot be
// made there. To be opened with SQLITE_OPEN_URI.
std::string immutableUri(const std::string& path);

}  // namespace ca::db
