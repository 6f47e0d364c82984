#pragma once
// An output (an exported workbook, a report) must never be written onto the database it was made
// from: writing a workbook over the database file, or over one of its companion files (the -wal,
// -shm and -journal files beside it), destroys the office's data. The check compares files by
// identity where they exist (so a relative path, "..", a symbolic or a hard link naming the same
// file are caught) and by their resolved paths where they do not exist yet.
#include <string>

namespace ca {

// The Chinese sentence refusing `output` when it names the database file `databaseFile` or one of
// its companions; empty when the output is another file. Both paths are UTF-8.
std::string databaseOutputProblem(const std::string& output, const std::string& databaseFile);

// The Chinese sentence refusing an exported workbook named `output` with the extension .xlsx (in any
// case): the exports write the .xls format (EXCEL 97-2003), which would then sit under a name that
// promises another format. Empty for any other name.
std::string xlsOutputProblem(const std::string& output);

}  // namespace ca
