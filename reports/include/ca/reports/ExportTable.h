#pragma once
// The export table of the business data window (StringGrid1): 31 text columns, row 0 the headings,
// then one row per listed declaration. It is never shown; the workbook writers take its rows.
#include <string>
#include <vector>

#include "ca/spreadsheet/TextGrid.h"

namespace ca::reports {

class ExportTable {
public:
    static constexpr int kColumns = 31;

    // An empty table: no rows at all (before the first command).
    ExportTable() = default;
    // A table holding only its heading row; headings are kept exactly, the empty one included.
    explicit ExportTable(const std::vector<std::string>& headings);

    // Appends a data row; an empty text becomes a single blank. Columns the row does not reach
    // stay empty.
    void addRow(std::vector<std::string> cells);

    // Data rows (without the heading row).
    int declarationCount() const { return rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1; }
    bool empty() const { return rows_.empty(); }
    const spreadsheet::TextRows& rows() const { return rows_; }

private:
    static std::vector<std::string> padded(std::vector<std::string> cells);
    spreadsheet::TextRows rows_;
};

}  // namespace ca::reports
