#include "ca/spreadsheet/TextGrid.h"

#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/Excel.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/XlsWriter.h"

namespace ca::spreadsheet {

namespace {

void checkRowCount(const std::string& path, size_t firstRow, const TextRows& rows) {
    if (firstRow - 1 + rows.size() > static_cast<size_t>(kXlsMaxRows))
        throw SpreadsheetError::about("cannot save", path,
                                      "the table would end at row " +
                                          std::to_string(firstRow - 1 + rows.size()) +
                                          "; a .xls sheet holds at most 65536 rows");
}

void putRows(excel::Worksheet sheet, int firstRow, const TextRows& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            auto cell = sheet.Cells(firstRow + static_cast<int>(r), static_cast<int>(c) + 1);
            cell.NumberFormatLocal("@");
            cell.Value(rows[r][c]);
        }
    }
}

}  // namespace

void saveTextRows(const std::string& path, const std::string& sheetName, const TextRows& rows,
                  bool replaceExisting) {
    checkRowCount(path, 1, rows);
    excel::Application app;
    auto& book = app.WorkBooks().Add();
    app.SheetsInNewWorkbook = 1;
    book.WorkSheets(1).Name(sheetName);
    putRows(book.WorkSheets(sheetName), 1, rows);
    app.DisplayAlerts = !replaceExisting;
    book.SaveAs(path);
    app.Quit();
}

void appendTextRows(const std::string& path, const TextRows& rows) {
    excel::Application app;
    auto& book = app.WorkBooks().Open(path);
    if (!CompoundFile::hasSignature(readFileStart(path, 8)))
        throw SpreadsheetError::about("cannot append to", path, "only .xls workbooks can be appended to");
    app.WorkBooks()(1).Activate();
    const int used = book.WorkSheets(1).UsedRangeRowsCount();
    checkRowCount(path, static_cast<size_t>(used) + 2, rows);
    putRows(book.WorkSheets(1), used + 2, rows);
    app.DisplayAlerts = false;
    app.ActiveWorkBook().SaveAs(path);
    app.Quit();
}

}  // namespace ca::spreadsheet
