#pragma once
// Walking and building UTF-8 text one code point at a time.
#include <string>
#include <string_view>

namespace ca {

// The code point starting at text[pos], advancing pos past it. A byte that does not start a valid,
// shortest-form sequence gives U+FFFD and advances by one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of a code point (surrogates and values above U+10FFFF as U+FFFD).
void appendUtf8(std::string& out, char32_t cp);

}  // namespace ca
