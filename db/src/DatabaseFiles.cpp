#include "ca/db/DatabaseFiles.h"

#include <string>

#include "ca/db/TADOConnection.h"
#include "ca/util/Folders.h"
#include "ca/util/OutputTarget.h"

namespace ca::db {

namespace fs = std::filesystem;

std::string DatabaseFilePath(const TADOConnection& connection) {
    if (IsServerTarget(connection.FileName())) return {};
    if (!connection.RealPath().empty()) return connection.RealPath();
    const std::string& name = connection.FileName();
    if (name.empty() || name == ":memory:") return {};
    return pathToUtf8(realFilePath(pathFromUtf8(name)));
}

bool IsDatabaseFile(const TADOConnection& connection, const fs::path& path) {
    const std::string database = DatabaseFilePath(connection);
    return !path.empty() && !database.empty() && databaseFileNamed(path, pathFromUtf8(database)).has_value();
}

}  // namespace ca::db
