#pragma once
// The fee query run on the database: the fee items, the statement, the grid of matching
// declarations with a subtotal per declaration and a totals row, and the grid as it is exported.
#include <string>
#include <vector>

#include "ca/db/TDM.h"
#include "ca/fees/FeeItem.h"
#include "ca/fees/FeeQuery.h"

namespace ca::fees {

// Every fee item of func_desc, in the order the table returns them.
std::vector<FeeItem> feeItems(db::TDM& dm);

struct FeeQueryGrid {
    std::vector<FeeItem> items;
    std::vector<std::string> header;  // row 0 of the grid
    // The declarations (an empty value as " "), then the totals row: columns 0 to 4 " ", "合计：",
    // the total of each fee item and the sum of the subtotals, all "0.00". Without a match: one
    // empty row.
    std::vector<std::vector<std::string>> rows;
    int recordCount = 0;  // declarations found; 0 leaves the window's count as it was
};

// Runs the query. Amounts show as their text rounded to cents (Amount::plainText) and add up
// exactly. A missing amount (Null) shows as " " and counts as 0 in the subtotal and the
// totals. Database errors propagate as db::DbError.
FeeQueryGrid runFeeQuery(db::TDM& dm, const FeeQueryFilter& filter);

// The header row followed by the rows: every cell of the grid, as the export writes it.
std::vector<std::vector<std::string>> gridCells(const FeeQueryGrid& grid);

// Writes the grid's cells to a new workbook at path (sheet "StringGrid1", every cell text "@"),
// replacing an existing file. Throws spreadsheet::SpreadsheetError; an existing file is then
// unchanged.
void exportFeeGrid(const std::string& path, const FeeQueryGrid& grid);

// Why the grid must not be exported to `path` (an .xlsx name, the database or one of its companion
// files), in Chinese; empty when it may.
std::string feeExportProblem(db::TDM& dm, const std::string& path);

}  // namespace ca::fees
