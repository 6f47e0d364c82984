#include "ca/db/Quoting.h"

#include <sqlite3.h>

#include "ca/db/DbError.h"

namespace ca::db {

std::string EscapeQuotes(std::string_view value) {
    std::string r;
    r.reserve(value.size() + 2);
    for (char c : value) {
        if (c == '\'') r += '\'';
        r += c;
    }
    return r;
}

std::string QuotedStr(std::string_view value) {
    std::string r = "'";  // built step by step: GCC 12 misreports "x" + std::string at -O3
    r += EscapeQuotes(value);
    r += '\'';
    return r;
}

std::string EscapeLike(std::string_view value) {
    std::string r;
    for (char c : EscapeQuotes(value)) {
        if (c == '%' || c == '_' || c == '[') {
            r += '[';
            r += c;
            r += ']';
        } else {
            r += c;
        }
    }
    return r;
}

bool IsValidIdentifier(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!letter(name[0])) return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
    return !sqlite3_keyword_check(name.data(), static_cast<int>(name.size()));
}

void CheckIdentifier(std::string_view name) {
    if (!IsValidIdentifier(name))
        throw DbError("'" + std::string(name) +
                      "' cannot be used as a name: it must start with a letter, hold only letters, digits "
                      "and underscores (at most 64), and not be an SQL keyword");
}

}  // namespace ca::db
