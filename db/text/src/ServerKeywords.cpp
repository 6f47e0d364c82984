#include "ServerKeywords.h"

#include <algorithm>
#include <array>
#include <string>

#include "ca/util/AsciiCase.h"

namespace ca::db {

bool isServerReservedWord(std::string_view word) {
    static constexpr std::array<std::string_view, 101> words = {
        // reserved
        "all", "analyse", "analyze", "and", "any", "array", "as", "asc", "asymmetric", "both", "case", "cast",
        "check", "collate", "column", "constraint", "create", "current_catalog", "current_date",
        "current_role", "current_time", "current_timestamp", "current_user", "default", "deferrable", "desc",
        "distinct", "do", "else", "end", "except", "false", "fetch", "for", "foreign", "from", "grant",
        "group", "having", "in", "initially", "intersect", "into", "lateral", "leading", "limit", "localtime",
        "localtimestamp", "not", "null", "offset", "on", "only", "or", "order", "placing", "primary",
        "references", "returning", "select", "session_user", "some", "symmetric", "system_user", "table",
        "then", "to", "trailing", "true", "union", "unique", "user", "using", "variadic", "when", "where",
        "window", "with",
        // reserved but for a function or type name
        "authorization", "binary", "collation", "concurrently", "cross", "current_schema", "freeze", "full",
        "ilike", "inner", "is", "isnull", "join", "left", "like", "natural", "notnull", "outer", "overlaps",
        "right", "similar", "tablesample", "verbose"};
    return std::find(words.begin(), words.end(), toLowerAscii(word)) != words.end();
}

}  // namespace ca::db
