#pragma once
// A workbook opened from a file or newly created, with the operations the entry, export and append
// procedures use. Rows, columns and sheet indexes are 1-based. Every failure raises
// SpreadsheetError naming the file and the reason.
#include <string>

#include "ca/spreadsheet/Cell.h"
#include "ca/spreadsheet/Sheet.h"
#include "ca/spreadsheet/WorkbookData.h"

namespace ca::spreadsheet {

class Workbook {
public:
    // Reads a .xls (BIFF8 or BIFF5) or .xlsx file, recognised by its content, not its name.
    static Workbook open(const std::string& path);
    // A new workbook with one empty sheet named "Sheet1".
    static Workbook add();
    // Decodes a workbook held in memory; `name` stands for its path in error messages.
    static Workbook fromBytes(std::string bytes, const std::string& name);

    // The file the workbook was opened from or last saved to; empty for a new, unsaved workbook.
    const std::string& path() const { return path_; }

    // The value of a cell of the active sheet as text: empty text for an empty cell, a number in
    // general decimal form, a date as YYYY-MM-DD[ HH:MM:SS], a formula's stored result. Throws
    // when the active sheet holds no cells at all, since nothing can be read from it.
    std::string cellText(int row, int column) const;

    int sheetCount() const { return static_cast<int>(data_.sheets.size()); }
    // Sheet by 1-based index or by name (names compared without regard to ASCII case).
    Sheet& worksheet(int index);
    Sheet& worksheet(const std::string& name);
    Sheet& activeSheet() { return data_.sheets.at(data_.activeSheet); }
    const Sheet& activeSheet() const { return data_.sheets.at(data_.activeSheet); }
    void activateSheet(int index);
    // Adds sheets or removes trailing ones so that the workbook has exactly n (n >= 1).
    void setSheetCount(int n);

    // Number of used rows of a sheet the way the append counts them: the last row holding any cell
    // (0 for an empty sheet), so that content never gets overwritten.
    int usedRows(int sheetIndex) const;

    // Writes the workbook as .xls to path through a temporary file in the same folder that is then
    // renamed over the target, so a failure leaves any existing file as it was. With
    // replaceExisting false an existing file is refused.
    void saveAs(const std::string& path, bool replaceExisting);

    const WorkbookData& data() const { return data_; }

private:
    Workbook() = default;
    std::string shownName() const;  // the path, or a stand-in for a new workbook, for messages
    std::string path_;
    WorkbookData data_;
};

}  // namespace ca::spreadsheet
