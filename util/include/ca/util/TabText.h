#pragma once
// Texts in tab-separated lines (the command-line tool's rows and previews): a tab, line break,
// carriage return or backslash inside a text is written as \t, \n, \r or \\ so every row stays one
// line with its columns intact.
#include <string>
#include <string_view>

namespace ca {

std::string escapeTabText(std::string_view text);

// The reverse; a backslash before any other character stays as it is.
std::string unescapeTabText(std::string_view text);

}  // namespace ca
