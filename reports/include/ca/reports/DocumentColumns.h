#pragma once
// What the document query shows: the columns of its two grids and the labelled boxes of its two
// detail panels, in their order.
#include <string>
#include <vector>

#include "ca/reports/Column.h"

namespace ca::reports {

// The header grid: 46 LoadData columns.
const std::vector<Column>& headerColumns();
// The goods grid: 20 subData columns.
const std::vector<Column>& goodsColumns();

// One labelled row of a detail panel: the label and the fields whose boxes follow it.
struct DetailRow {
    std::string label;
    std::vector<Column> fields;
};

// The header detail panel: 40 rows. The ZSBL row's label switches with the declaration kind.
const std::vector<DetailRow>& headerDetailRows();
// The goods detail panel: 22 rows; the last two (GJF, SCCJ) belong to export declarations.
const std::vector<DetailRow>& goodsDetailRows();

// The two labels of the ZSBL box.
inline constexpr const char* kLevyRateLabel = "征税比例：";    // import declarations
inline constexpr const char* kSettlementLabel = "结汇方式：";  // export declarations

}  // namespace ca::reports
