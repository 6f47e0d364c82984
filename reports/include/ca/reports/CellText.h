#pragma once
// How a field's text is shown in a grid or written into an export cell.
#include <string>
#include <string_view>

#include "ca/reports/Column.h"

namespace ca::reports {

// The text of a field value of the given kind, starting from its default text form (Null already
// gives the empty text): a date or date-time keeps its time only when it is not midnight,
// "2011-01-05 00:00:00" -> "2011-01-05", "2011-01-05 08:30:00" stays.
std::string cellText(std::string_view text, CellKind kind);

// A data cell of a result table: a single blank stands for an empty text, so that the cells after
// it keep their columns wherever the table goes.
std::string dataCell(std::string text);

}  // namespace ca::reports
