#pragma once
// Splitting a typed list at commas the way the office's telephone field has always been read: commas
// and blanks (any character up to the blank) separate items, blanks around a comma are dropped, an
// empty piece between two commas (or after a final comma) is an empty item, and an item may be
// written in double quotes ("a b" is one item, "" inside quotes is one quote character).
#include <string>
#include <string_view>
#include <vector>

namespace ca::reports {

std::vector<std::string> splitCommaText(std::string_view text);

}  // namespace ca::reports
