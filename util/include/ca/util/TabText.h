#pragma once
// Texts in tab-separated lines (the command-line tool's rows and previews). A tab, line break,
// carriage return or backslash inside a text is written as \t, \n, \r or \\ so every row stays one
// line with its columns intact; every other control character (C0 controls, DEL and the C1 controls
// U+0080 to U+009F) is written as \xHH or \uHHHH, so that no text from a cell or the database can
// move the cursor, change colours or clear a terminal.
#include <string>
#include <string_view>

namespace ca {

std::string escapeTabText(std::string_view text);

// A message or a value shown on a terminal: control characters are written as escapeTabText writes
// them, except the tab and the line break, which stay; a backslash is itself.
std::string escapeControls(std::string_view text);

// The reverse of escapeTabText: \t, \n, \r, \\, \xHH and \uHHHH (hexadecimal digits) are read back; a backslash
// before anything else stays as it is.
std::string unescapeTabText(std::string_view text);

}  // namespace ca
