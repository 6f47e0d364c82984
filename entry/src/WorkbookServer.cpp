#include "ca/entry/WorkbookServer.h"

#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::entry {

void WorkbookServer::open(const std::string& path) {
    workbook_ = spreadsheet::Workbook::open(path);
}

std::string WorkbookServer::cell(int row, int col) {
    if (!workbook_) throw SpreadsheetError("没有打开的工作簿");
    return workbook_->cellText(row, col);
}

SpreadsheetServerFactory WorkbookServer::factory() {
    return [] { return std::make_unique<WorkbookServer>(); };
}

}  // namespace ca::entry
