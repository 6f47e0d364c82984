#include "ca/spreadsheet/Sheet.h"

#include <algorithm>
#include <stdexcept>

namespace ca::spreadsheet {

namespace {
const Cell kEmptyCell{};
const std::vector<Sheet::Entry> kEmptyRow{};

void checkPosition(int row, int column) {
    if (row < 1 || row > Sheet::kMaxRows || column < 1 || column > Sheet::kMaxColumns)
        throw std::out_of_range("单元格（第 " + std::to_string(row) + " 行，第 " + std::to_string(column) +
                                " 列）超出了工作表的范围");
}
}  // namespace

namespace {
bool columnBefore(const Sheet::Entry& e, int column) {
    return e.column < column;
}
}  // namespace

const Cell& Sheet::cell(int row, int column) const {
    if (row < 1 || column < 1 || row > lastRow()) return kEmptyCell;
    const auto& r = rows_[static_cast<size_t>(row - 1)];
    if (r.empty() || r.back().column < column) return kEmptyCell;
    if (r.back().column == column) return r.back().cell;
    const auto it = std::lower_bound(r.begin(), r.end(), column, columnBefore);
    return it->column == column ? it->cell : kEmptyCell;
}

void Sheet::set(int row, int column, Cell cell) {
    checkPosition(row, column);
    if (static_cast<size_t>(row) > rows_.size()) rows_.resize(static_cast<size_t>(row));
    auto& r = rows_[static_cast<size_t>(row - 1)];
    lastColumn_ = std::max(lastColumn_, column);
    if (r.empty() || r.back().column < column) {
        r.push_back(Entry{column, std::move(cell)});
        return;
    }
    const auto it = std::lower_bound(r.begin(), r.end(), column, columnBefore);
    if (it->column == column)
        it->cell = std::move(cell);
    else
        r.insert(it, Entry{column, std::move(cell)});
}

void Sheet::setText(int row, int column, std::string text) {
    set(row, column, Cell{Cell::Kind::Text, std::move(text), 0.0});
}

void Sheet::setBlank(int row, int column, bool textFormat) {
    checkPosition(row, column);
    if (!cell(row, column).empty()) return;
    set(row, column, Cell{Cell::Kind::Blank, "", 0.0, textFormat});
}

const std::vector<Sheet::Entry>& Sheet::row(int r) const {
    if (r < 1 || r > lastRow()) return kEmptyRow;
    return rows_[static_cast<size_t>(r - 1)];
}

}  // namespace ca::spreadsheet
