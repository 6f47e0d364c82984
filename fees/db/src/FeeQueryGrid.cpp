#include "ca/fees/FeeQueryGrid.h"

#include "ca/db/DatabaseFile.h"
#include "ca/db/TADOQuery.h"
#include "ca/fees/FeeTexts.h"
#include "ca/fees/StoredAmount.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/util/OutputTarget.h"

namespace ca::fees {

namespace {

std::string cell(std::string text) {
    return text.empty() ? std::string(" ") : text;
}

}  // namespace

std::vector<FeeItem> feeItems(db::TDM& dm) {
    db::TADOQuery q(dm);
    q.SetSQL("select * from func_desc");
    q.Open();
    std::vector<FeeItem> items;
    items.reserve(static_cast<size_t>(q.RecordCount()));
    const db::TField code = q.FieldByName("Fd_func_code"), name = q.FieldByName("Fd_func_name");
    for (q.First(); !q.Eof(); q.Next())
        items.push_back({code.AsString(), name.AsString()});
    return items;
}

FeeQueryGrid runFeeQuery(db::TDM& dm, const FeeQueryFilter& filter) {
    FeeQueryGrid grid;
    grid.items = feeItems(dm);
    grid.header = feeQueryHeader(grid.items);
    const size_t width = grid.header.size();
    const size_t f = grid.items.size();

    db::TADOQuery q(dm);
    q.SetSQL(feeQueryStatement(filter, grid.items));
    q.Open();
    if (q.IsEmpty()) {
        grid.rows.assign(1, std::vector<std::string>(width));
        return grid;
    }
    grid.recordCount = q.RecordCount();

    std::vector<db::TField> fixed;
    for (const char* name : {"kh", "bgno", "sdate", "htno", "tdno", "goods"})
        fixed.push_back(q.FieldByName(name));
    std::vector<db::TField> amounts;
    amounts.reserve(f);
    for (const auto& item : grid.items)
        amounts.push_back(q.FieldByName(item.code));

    // Totals grow with the fee items: no fixed limit on their number.
    std::vector<Amount> totals(f);
    Amount grandTotal;
    grid.rows.reserve(static_cast<size_t>(grid.recordCount) + 1);
    for (q.First(); !q.Eof(); q.Next()) {
        std::vector<std::string> row;
        row.reserve(width);
        for (const auto& field : fixed)
            row.push_back(cell(field.AsString()));
        Amount subtotal;
        for (size_t k = 0; k < f; ++k) {
            const std::optional<Amount> amount = storedAmount(amounts[k].AsVariant());
            if (!amount) {  // Null counts as 0
                row.push_back(" ");
                continue;
            }
            row.push_back(amount->plainText());
            subtotal += *amount;
            totals[k] += *amount;
        }
        row.push_back(subtotal.text());
        grandTotal += subtotal;
        grid.rows.push_back(std::move(row));
    }
    // Blank cells, so that a double click on the totals row searches for a blank number.
    std::vector<std::string> last(kFeeQueryFixedColumns - 1, " ");
    last.push_back("合计：");
    for (const Amount& t : totals)
        last.push_back(t.text());
    last.push_back(grandTotal.text());
    grid.rows.push_back(std::move(last));
    return grid;
}

std::vector<std::vector<std::string>> gridCells(const FeeQueryGrid& grid) {
    std::vector<std::vector<std::string>> cells;
    cells.reserve(grid.rows.size() + 1);
    cells.push_back(grid.header);
    cells.insert(cells.end(), grid.rows.begin(), grid.rows.end());
    return cells;
}

std::string feeExportProblem(db::TDM& dm, const std::string& path) {
    std::string problem = xlsOutputProblem(path);
    return problem.empty() ? db::DatabaseOutputProblem(dm, path) : problem;
}

void exportFeeGrid(const std::string& path, const FeeQueryGrid& grid) {
    spreadsheet::saveTextRows(path, kExportSheet, gridCells(grid), true);
}

}  // namespace ca::fees
