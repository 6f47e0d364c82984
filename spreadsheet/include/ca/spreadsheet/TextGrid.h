#pragma once
// Writing a table of texts the way the exports do: a new workbook with one sheet, or a block
// appended to the first sheet of an existing workbook. Every cell is formatted as text ("@") before
// its text goes in.
#include <string>
#include <vector>

namespace ca::spreadsheet {

using TextRows = std::vector<std::vector<std::string>>;

// The rows are taken by value: a caller that passes them on with std::move saves a copy of every
// cell's text.
//
// A new .xls at path with one sheet named sheetName holding rows from row 1, column 1. An
// existing file is replaced only when replaceExisting is true.
void saveTextRows(const std::string& path, const std::string& sheetName, TextRows rows, bool replaceExisting);

// Appends rows to the first sheet of the workbook at path: with n its used rows, row r (0-based)
// of the block goes to sheet row n + 2 + r, leaving one empty row. Every record of the workbook is
// kept as it was (formats, formulas, merged cells, widths, other sheets and streams); only the new
// rows and what points at them are added (see XlsAppender.h). The file is replaced through a
// temporary file, so a failure leaves it as it was. Only BIFF8 .xls workbooks are appended to: an
// .xlsx file, an encrypted or an older workbook is refused with the reason.
void appendTextRows(const std::string& path, TextRows rows);

}  // namespace ca::spreadsheet
