#pragma once
// Writer of BIFF8 .xls workbooks. Text cells are shared strings formatted as text ("@", built-in
// number format 49); numbers, dates, booleans, errors and formatted blanks of sheets read from a
// file are written back as such, so that an append keeps every value of the old workbook.
#include <string>

#include "ca/spreadsheet/WorkbookData.h"

namespace ca::spreadsheet {

// Largest row and column a .xls sheet holds.
constexpr int kXlsMaxRows = 65536;
constexpr int kXlsMaxColumns = 256;

// Returns the bytes of the .xls file. Throws FormatError, before producing anything, when a sheet
// has more rows or columns than the format holds, a text is longer than 32767 characters, or a
// sheet name is empty, longer than 31 characters, repeated or holds one of : \ / ? * [ ].
std::string writeXls(const WorkbookData& book);

}  // namespace ca::spreadsheet
