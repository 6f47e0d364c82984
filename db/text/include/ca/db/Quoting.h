#pragma once
// Helpers for values and names that are joined into statement text. Every value that a window joins
// between single quotes goes through EscapeQuotes (or QuotedStr), so an apostrophe in a name is
// stored and matched literally instead of ending the literal. Names that come from data (fee item
// codes become column names) are checked with IsValidIdentifier before they reach a statement.
#include <string>
#include <string_view>

namespace ca::db {

// The text with every apostrophe doubled, for use between the single quotes of a statement:
// "O'Neil" -> "O''Neil".
std::string EscapeQuotes(std::string_view value);

// The value as a complete text literal: "O'Neil" -> "'O''Neil'".
std::string QuotedStr(std::string_view value);

// A value for the inside of a like pattern that should match literally: apostrophes doubled and
// the wildcard characters %, _ and [ each written as a one-character class ("[%]"), so
// " and GOODS like '%" + EscapeLike(text) + "%'" finds text anywhere, percent signs included.
std::string EscapeLike(std::string_view value);

// Joins one filter condition into a statement when its typed text is not empty: prefix, the text
// with its apostrophes doubled (one literal whatever was typed), suffix, nothing between.
void AppendCondition(std::string& sql, std::string_view prefix, std::string_view text,
                     std::string_view suffix);

// True for a name a new table or column may take: an ASCII letter followed by ASCII letters, digits
// or underscores, at most 64 characters, and no SQL keyword of either engine (the same rule on both).
bool IsValidIdentifier(std::string_view name);

// Throws DbError naming a name that cannot be joined in (a desk's older server-only keyword can).
void CheckIdentifier(std::string_view name);

}  // namespace ca::db
