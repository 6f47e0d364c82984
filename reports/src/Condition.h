#pragma once
// Joining one filter condition into a statement: prefix, the typed text, suffix, nothing between.
#include <string>
#include <string_view>

namespace ca::reports {

// Appends prefix + text + suffix when text is not empty; the text with its apostrophes doubled, so
// that it stays one literal whatever was typed.
void appendCondition(std::string& sql, std::string_view prefix, std::string_view text,
                     std::string_view suffix);

}  // namespace ca::reports
