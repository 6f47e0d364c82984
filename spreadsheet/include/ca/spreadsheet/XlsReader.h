#pragma once
// Reader of .xls workbooks: BIFF8 (Excel 97 and later) and BIFF5/7 (Excel 5 and 95) record streams
// inside a Compound File.
#include <string>

#include "ca/spreadsheet/WorkbookData.h"

namespace ca::spreadsheet {

// Decodes a whole .xls file held in memory. Throws FormatError with the reason when the bytes are
// not a readable workbook (not a Compound File, damaged, encrypted, without sheets).
WorkbookData readXls(std::string bytes);

}  // namespace ca::spreadsheet
