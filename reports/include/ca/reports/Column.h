#pragma once
// A column of a result grid or list: the field it shows, its caption, and how its values turn into
// text. The document query's grids, its detail panels and the command-line listing share these
// tables, so every place shows the same captions and the same dates.
#include <string>

namespace ca::reports {

enum class CellKind {
    Text,  // shown as stored
    Date,  // a date column: the date alone when its time is midnight
};

struct Column {
    std::string field;    // column name in the result (compared without regard to case)
    std::string caption;  // heading shown above the column
    CellKind kind = CellKind::Text;
};

}  // namespace ca::reports
