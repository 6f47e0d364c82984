#pragma once
// Collects the cells a reader finds in one sheet, in file order, and stores them in the sheet sorted
// by position. A file may list the cells of a row in any order; storing them as they come would move
// the row's later cells on every insert, and a hostile file of a few hundred kilobytes could then
// keep the reader busy for minutes. Every cell counts against the workbook's cell budget, so a small
// file cannot declare millions of cells and take gigabytes.
#include <cstddef>
#include <vector>

#include "ca/spreadsheet/Sheet.h"

namespace ca::spreadsheet {

// Cells one workbook may produce when read: 65,536 rows of 32 columns, a full business list of 31
// columns and more. A declaration sheet has a few hundred.
inline constexpr std::size_t kMaxWorkbookCells = 65536u * 32u;

class CellBudget {
public:
    // Throws FormatError when n more cells would pass the bound.
    void check(std::size_t n) const;
    void take(std::size_t n);

private:
    std::size_t used_ = 0;
};

class SheetBuilder {
public:
    explicit SheetBuilder(CellBudget& budget) : budget_(budget) {}

    // A value; a later value at the same position replaces it. Throws FormatError for a position
    // outside the sheet or beyond the budget.
    void put(int row, int column, Cell cell);
    // A formatted blank cell, unless a value stands (or comes to stand) at that position first.
    void blank(int row, int column, bool textFormat);
    // Stores every collected cell, in file order per position, and forgets them.
    void buildInto(Sheet& sheet);

private:
    struct Pending {
        int row, column;
        bool blank;
        Cell cell;
    };
    void add(int row, int column, bool blank, Cell cell);
    CellBudget& budget_;
    std::vector<Pending> cells_;
};

}  // namespace ca::spreadsheet
