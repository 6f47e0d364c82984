#include "SheetBuilder.h"

#include <algorithm>
#include <string>

#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet {

void CellBudget::check(std::size_t n) const {
    if (n > kMaxWorkbookCells - used_)
        throw FormatError("工作簿的单元格超过 " + std::to_string(kMaxWorkbookCells) +
                          " 个（本程序读取的上限），不是报关单或业务清单");
}

void CellBudget::take(std::size_t n) {
    check(n);
    used_ += n;
}

void SheetBuilder::add(int row, int column, bool blank, Cell cell) {
    if (row < 1 || row > Sheet::kMaxRows || column < 1 || column > Sheet::kMaxColumns)
        throw FormatError("单元格（第 " + std::to_string(row) + " 行，第 " + std::to_string(column) +
                          " 列）超出工作表范围");
    budget_.take(1);
    cells_.push_back(Pending{row, column, blank, std::move(cell)});
}

void SheetBuilder::put(int row, int column, Cell cell) {
    add(row, column, false, std::move(cell));
}

void SheetBuilder::blank(int row, int column, bool textFormat) {
    add(row, column, true, Cell{Cell::Kind::Blank, "", 0.0, textFormat});
}

void SheetBuilder::buildInto(Sheet& sheet) {
    std::stable_sort(cells_.begin(), cells_.end(), [](const Pending& a, const Pending& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    for (Pending& p : cells_) {
        if (p.blank)
            sheet.setBlank(p.row, p.column, p.cell.textFormat);
        else
            sheet.set(p.row, p.column, std::move(p.cell));
    }
    cells_.clear();
    cells_.shrink_to_fit();
}

}  // namespace ca::spreadsheet
