#include "ca/db/Quoting.h"

#include <sqlite3.h>

#include "ServerKeywords.h"
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

void AppendCondition(std::string& sql, std::string_view prefix, std::string_view text,
                     std::string_view suffix) {
    if (text.empty()) return;
    sql += prefix;
    sql += EscapeQuotes(text);
    sql += suffix;
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

namespace {

// Safe to join into a statement as a name: an ASCII letter, then letters, digits or underscores, and
// no keyword of the engine under a desk's file.
bool isPlainName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!letter(name[0])) return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
    return !sqlite3_keyword_check(name.data(), static_cast<int>(name.size()));
}

}  // namespace

bool IsValidIdentifier(std::string_view name) {
    // One rule on every engine: a word either engine reserves is refused on both, so a fee item a
    // desk adds can later move to the server.
    return isPlainName(name) && !isServerReservedWord(name);
}

void CheckIdentifier(std::string_view name) {
    // A column a desk made before the rule covered both engines stays usable there.
    if (!isPlainName(name))
        throw DbError("“" + std::string(name) +
                      "”不能用作名称：必须以英文字母开头，只能包含英文字母、数字和下划线（最多 64 个），"
                      "并且不能是 SQL 关键字");
}

}  // namespace ca::db
