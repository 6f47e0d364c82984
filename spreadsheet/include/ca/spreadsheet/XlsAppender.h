#pragma once
// Appending text rows to the first sheet of an existing .xls workbook without rewriting it.
#include <string>
#include <vector>

namespace ca::spreadsheet {

// The first sheet's used rows the way the append counts them: the last row holding a cell or a row
// record of its own (0 for an empty sheet).
struct XlsAppendResult {
    std::string bytes;  // the new file
    int usedRows = 0;   // of the first sheet before the append
};

// Adds rows to the first sheet of the BIFF8 workbook in `file` (the bytes of a .xls file): with n its
// used rows, row r (0-based) goes to sheet row n + 2 + r, every cell a shared-string text formatted
// as text ("@"), an empty text a blank cell with that format. Every record of the workbook stays as
// it was, byte for byte; only the new rows, their strings, and what points at them change: the
// shared string table's counts and its index (EXTSST), the sheet's DIMENSIONS and INDEX, the sheet
// offsets in BOUNDSHEET and other sheets' INDEX, and a text cell format (XF) when the workbook has
// none. The container keeps every other stream. Throws FormatError (a Chinese reason) for a workbook
// that cannot be appended to this way: encrypted, older than BIFF8, a first sheet that is not a
// worksheet, a damaged structure, or more rows than a sheet holds.
XlsAppendResult appendRowsToXls(std::string file, const std::vector<std::vector<std::string>>& rows);

}  // namespace ca::spreadsheet
