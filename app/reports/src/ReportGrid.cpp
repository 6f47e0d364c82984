#include "ca/app/reports/ReportGrid.h"

#include "ca/reports/CellText.h"

namespace ca::app {

std::string reportText(const db::Value& value, reports::CellKind kind) {
    return reports::cellText(db::valueToString(value), kind);
}

std::vector<GridColumn> gridColumns(const std::vector<reports::Column>& columns) {
    std::vector<GridColumn> out;
    for (const auto& c : columns)
        out.push_back(
            {c.field, c.caption, [kind = c.kind](const db::Value& v) { return reportText(v, kind); }});
    return out;
}

}  // namespace ca::app
