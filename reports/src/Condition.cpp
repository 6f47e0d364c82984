#include "Condition.h"

#include "ca/db/Quoting.h"

namespace ca::reports {

void appendCondition(std::string& sql, std::string_view prefix, std::string_view text,
                     std::string_view suffix) {
    if (text.empty()) return;
    sql += prefix;
    sql += db::EscapeQuotes(text);
    sql += suffix;
}

}  // namespace ca::reports
