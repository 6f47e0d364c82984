#pragma once
// Column names and fee item codes compare as the database compares names: ASCII letters without
// regard to case, every other byte exactly.
#include <string_view>

namespace ca::fees {

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace ca::fees
