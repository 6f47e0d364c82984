#include "ca/spreadsheet/TextGrid.h"

#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/Excel.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/XlsAppender.h"
#include "ca/spreadsheet/XlsWriter.h"

namespace ca::spreadsheet {

namespace {

void checkRowCount(const std::string& path, size_t firstRow, const TextRows& rows) {
    if (firstRow - 1 + rows.size() > static_cast<size_t>(kXlsMaxRows))
        throw SpreadsheetError::about("无法保存", path,
                                      "表格将写到第 " + std::to_string(firstRow - 1 + rows.size()) +
                                          " 行，.xls 工作表最多只能有 65536 行");
}

void putRows(excel::Worksheet sheet, int firstRow, TextRows& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            sheet.Cells(firstRow + static_cast<int>(r), static_cast<int>(c) + 1)
                .TextValue(std::move(rows[r][c]));
        }
    }
}

}  // namespace

void saveTextRows(const std::string& path, const std::string& sheetName, TextRows rows,
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

void appendTextRows(const std::string& path, TextRows rows) {
    refuseFileInUse(path, "无法追加到");
    std::string bytes = readWholeFile(path);
    if (!CompoundFile::hasSignature(bytes))
        throw SpreadsheetError::about("无法追加到", path,
                                      bytes.empty() ? "文件是空的" : "只能追加到 .xls 工作簿");
    XlsAppendResult result;
    try {
        result = appendRowsToXls(std::move(bytes), rows);
    } catch (const FormatError& e) {
        throw SpreadsheetError::about("无法追加到", path, e.what());
    } catch (const std::bad_alloc&) {
        throw SpreadsheetError::about("无法追加到", path, "内存不足");
    }
    replaceFile(path, result.bytes);
}

}  // namespace ca::spreadsheet
