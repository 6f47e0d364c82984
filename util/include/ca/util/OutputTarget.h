#pragma once
// An output (an exported workbook, a report, a settings file) must never be written onto the
// database it was made from: writing over the database file, or over one of its companion files
// (the -wal, -shm and -journal files SQLite keeps beside the real file), destroys the office's data.
// The database is named by the path of its real file, every link and ".." resolved (realFilePath);
// an output is compared with it and its companions by file identity where they exist, and by name
// in the same folder (compared by identity too, so a bind-mounted alias of the folder counts) where
// a companion does not exist yet.
#include <filesystem>
#include <optional>
#include <string>

namespace ca {

// The path of the file `path` names: absolute, ".." and every symbolic link resolved (a chain of
// links too, and the last one when it points at a file that does not exist yet).
std::filesystem::path realFilePath(const std::filesystem::path& path);

// Which of the database's files `output` names: "" for the database file itself, "-wal", "-shm" or
// "-journal" for a companion, nullopt for any other file. `realDatabase` as realFilePath gives it.
std::optional<std::string> databaseFileNamed(const std::filesystem::path& output,
                                             const std::filesystem::path& realDatabase);

// The SQLite database whose companion file (-wal, -shm, -journal) `path` names, resolved, whether
// the companion exists or not; nullopt when it names none.
std::optional<std::filesystem::path> databaseOfCompanion(const std::filesystem::path& path);

// The Chinese sentence refusing `output` when it names the database file `databaseFile` or one of
// its companions, or another SQLite database file or a companion of one; empty when the output is
// another file. Both paths are UTF-8; an empty `databaseFile` (a server) checks the second part only.
std::string databaseOutputProblem(const std::string& output, const std::string& databaseFile);

// The Chinese sentence refusing an exported workbook named `output` with the extension .xlsx (in any
// case): the exports write the .xls format (EXCEL 97-2003), which would then sit under a name that
// promises another format. Empty for any other name.
std::string xlsOutputProblem(const std::string& output);

}  // namespace ca
