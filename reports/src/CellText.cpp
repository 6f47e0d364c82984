#include "ca/reports/CellText.h"

namespace ca::reports {

std::string cellText(std::string_view text, CellKind kind) {
    constexpr std::string_view kMidnight = " 00:00:00";
    if (kind == CellKind::Date && text.ends_with(kMidnight)) text.remove_suffix(kMidnight.size());
    return std::string(text);
}

std::string dataCell(std::string text) {
    if (text.empty()) return " ";
    return text;
}

}  // namespace ca::reports
