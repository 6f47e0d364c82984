#pragma once
// The spreadsheet server of an entry over the program's own workbook reader.
#include <memory>
#include <optional>
#include <string>

#include "ca/entry/SpreadsheetServer.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::entry {

class WorkbookServer : public SpreadsheetServer {
public:
    void open(const std::string& path) override;
    // Throws SpreadsheetError when no workbook is open.
    std::string cell(int row, int col) override;
    void quit() override { workbook_.reset(); }

    static SpreadsheetServerFactory factory();

private:
    std::optional<spreadsheet::Workbook> workbook_;
};

}  // namespace ca::entry
