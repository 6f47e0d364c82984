#pragma once
// The report column tables as grid columns: the same captions and cell texts the command-line
// listing prints (dates without a midnight time).
#include <vector>

#include "ca/app/common/QueryTableModel.h"
#include "ca/reports/Column.h"

namespace ca::app {

std::vector<GridColumn> gridColumns(const std::vector<reports::Column>& columns);

// The text a box or cell shows for a value of that kind.
std::string reportText(const db::Value& value, reports::CellKind kind);

}  // namespace ca::app
