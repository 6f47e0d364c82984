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

// Throws SpreadsheetError ("文件正被其他程序使用…") when another program has the workbook at path open
// for changing it: an office program's lock file beside it (LibreOffice's ".~lock.<name>#"), or, on
// POSIX, a lock another process holds on the file. Changing the file under that program would lose
// either its changes or ours, whichever is saved last.
void refuseFileInUse(const std::string& path, const std::string& action);

}  // namespace ca::spreadsheet
