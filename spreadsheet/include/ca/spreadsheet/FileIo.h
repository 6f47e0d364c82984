#pragma once
// Whole-file reading and the replace-by-rename writing that every save uses. Paths are UTF-8.
#include <filesystem>
#include <string>

namespace ca::spreadsheet {

// Reads a whole file; throws SpreadsheetError naming the file when it cannot be read or is larger
// than any workbook the program handles.
std::string readWholeFile(const std::string& path);

// The first n bytes of a file (fewer when it is shorter); throws SpreadsheetError when unreadable.
std::string readFileStart(const std::string& path, size_t n);

// Writes bytes to a temporary file next to path and renames it over path. A symbolic link is written
// through: the file it names is replaced (its temporary file beside it) and the link stays. An
// existing file keeps its permissions; a read-only file, one the user may not write, a folder, or a
// path whose folder does not exist is refused before anything is written. Throws SpreadsheetError
// naming the path and the cause, and removes the temporary file on failure; the existing file then
// stays as it was.
void replaceFile(const std::string& path, const std::string& bytes);

}  // namespace ca::spreadsheet
