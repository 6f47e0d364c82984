#pragma once
// The spreadsheet server as an entry uses it: started for one entry, opens the declaration
// workbook, reads cells of its active sheet, and is told to quit in every case.
#include <functional>
#include <memory>
#include <string>

#include "ca/entry/CellSource.h"

namespace ca::entry {

class SpreadsheetServer : public CellSource {
public:
    // Opens the workbook as the active workbook; throws when it cannot be read.
    virtual void open(const std::string& path) = 0;
    // Ends the server; called once, also after a failure.
    virtual void quit() = 0;
};

// Starts a server; may throw when the server cannot be started.
using SpreadsheetServerFactory = std::function<std::unique_ptr<SpreadsheetServer>()>;

}  // namespace ca::entry
