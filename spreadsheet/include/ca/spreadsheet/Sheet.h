#pragma once
// One worksheet: a name and a sparse grid of cells addressed 1-based (row, column). Each row keeps
// only the cells it has, in column order, so that a cell far to the right costs no more memory
// than one at the left.
#include <cstdint>
#include <string>
#include <vector>

#include "ca/spreadsheet/Cell.h"

namespace ca::spreadsheet {

class Sheet {
public:
    // Largest row and column any reader accepts (those of the .xlsx format).
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

    Sheet() = default;
    explicit Sheet(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // The cell at (row, column); an empty cell for any position without one, also out of range.
    const Cell& cell(int row, int column) const;
    const std::string& text(int row, int column) const { return cell(row, column).text; }

    // Stores a cell; throws std::out_of_range for a position outside 1..kMaxRows / 1..kMaxColumns.
    void set(int row, int column, Cell cell);
    void setText(int row, int column, std::string text);
    // Marks a position as used without a value (a formatted blank cell), unless it holds a value.
    void setBlank(int row, int column, bool textFormat = false);

    // Highest row holding a cell record (value or blank), 0 for an empty sheet.
    int lastRow() const { return static_cast<int>(rows_.size()); }
    // Highest column in use over all rows, 0 for an empty sheet.
    int lastColumn() const { return lastColumn_; }
    bool hasCells() const { return !rows_.empty(); }

    struct Entry {
        int column;
        Cell cell;
    };
    // The cells of row r (1-based) in column order; empty for a row without cells.
    const std::vector<Entry>& row(int r) const;

private:
    std::string name_;
    std::vector<std::vector<Entry>> rows_;  // the last row always holds at least one cell
    int lastColumn_ = 0;
};

}  // namespace ca::spreadsheet
