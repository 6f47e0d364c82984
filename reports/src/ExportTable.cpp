#include "ca/reports/ExportTable.h"

#include "ca/reports/CellText.h"

namespace ca::reports {

ExportTable::ExportTable(const std::vector<std::string>& headings) {
    rows_.push_back(padded(headings));
}

void ExportTable::addRow(std::vector<std::string> cells) {
    for (auto& c : cells)
        c = dataCell(std::move(c));
    rows_.push_back(padded(std::move(cells)));
}

std::vector<std::string> ExportTable::padded(std::vector<std::string> cells) {
    cells.resize(kColumns);
    return cells;
}

}  // namespace ca::reports
