#pragma once
// Which dropped files the main window accepts as the next spreadsheet to enter. Qt-free so that the
// rule is tested on its own.
#include <optional>
#include <string>
#include <vector>

namespace ca::app {

struct DropOutcome {
    std::vector<std::string> logLines;       // one line per dropped file, in the drop's order
    std::optional<std::string> pendingFile;  // the last accepted file, if any
};

// A path is accepted when it contains the lower-case letters "xls" anywhere (case-sensitive, on the
// whole path, so "a.XLS" is refused and "xls-folder/a.txt" accepted). Paths are taken whole, however
// long they are.
DropOutcome acceptDroppedFiles(const std::vector<std::string>& paths);

}  // namespace ca::app
