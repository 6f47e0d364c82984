#pragma once
// Names compared as both database engines, Jet statements, config.ini keys and file suffixes compare
// them: ASCII letters without regard to case, every other byte (UTF-8 or GBK text) exactly as it is.
#include <string>
#include <string_view>

namespace ca {

constexpr char toLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char toUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);

// Equal byte for byte but for the case of ASCII letters.
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace ca
