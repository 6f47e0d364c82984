#include "ca/db/DatabaseFiles.h"

#include <string>
#include <system_error>

#include "ca/db/TADOConnection.h"
#include "ca/util/Folders.h"

namespace ca::db {

namespace fs = std::filesystem;

namespace {

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    // Where either file does not exist (yet): the same absolute path, links in the folders resolved.
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
    if (ec) return false;
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return !ec && ca == cb;
}

}  // namespace

bool IsDatabaseFile(const TADOConnection& connection, const fs::path& path) {
    if (IsServerTarget(connection.FileName()) || path.empty()) return false;
    const std::string& name =
        connection.OpenedPath().empty() ? connection.FileName() : connection.OpenedPath();
    if (name.empty() || name == ":memory:") return false;
    const fs::path database = pathFromUtf8(name);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::path companion = database;
        companion += suffix;
        if (sameFile(path, companion)) return true;
    }
    return false;
}

}  // namespace ca::db
