#include "ca/spreadsheet/Sheet.h"

#include <algorithm>
#include <stdexcept>

namespace ca::spreadsheet {

namespace {
const Cell kEmptyCell{};
const std::vector<Cell> kEmptyRow{};

void checkPosition(int row, int column) {
    if (row < 1 || row > Sheet::kMaxRows || column < 1 || column > Sheet::kMaxColumns)
        throw std::out_of_range("cell (" + std::to_string(row) + ", " + std::to_string(column) +
                                ") is outside the sheet");
}
}  // namespace

const Cell& Sheet::cell(int row, int column) const {
    if (row < 1 || column < 1 || row > lastRow()) return kEmptyCell;
    const auto& r = rows_[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > r.size()) return kEmptyCell;
    return r[static_cast<size_t>(column - 1)];
}

void Sheet::set(int row, int column, Cell cell) {
    checkPosition(row, column);
    if (static_cast<size_t>(row) > rows_.size()) rows_.resize(static_cast<size_t>(row));
    auto& r = rows_[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > r.size()) r.resize(static_cast<size_t>(column));
    r[static_cast<size_t>(column - 1)] = std::move(cell);
}

void Sheet::setText(int row, int column, std::string text) {
    set(row, column, Cell{Cell::Kind::Text, std::move(text), 0.0});
}

void Sheet::setBlank(int row, int column, bool textFormat) {
    checkPosition(row, column);
    if (!cell(row, column).empty()) return;
    set(row, column, Cell{Cell::Kind::Blank, "", 0.0, textFormat});
}

int Sheet::lastColumn() const {
    size_t m = 0;
    for (const auto& r : rows_)
        m = std::max(m, r.size());
    return static_cast<int>(m);
}

const std::vector<Cell>& Sheet::row(int r) const {
    if (r < 1 || r > lastRow()) return kEmptyRow;
    return rows_[static_cast<size_t>(r - 1)];
}

}  // namespace ca::spreadsheet
