#pragma once
// The one conversion pair between the program's UTF-8 text and GBK (code page 936), the encoding of
// the settings file, the customs client's ANSI controls and legacy spreadsheet strings.
#include <optional>
#include <string>
#include <string_view>

namespace ca {

// UTF-8 -> GBK. A character that GBK cannot hold becomes '?', as the platform's own conversion does.
// Invalid UTF-8 input bytes also become '?'.
std::string utf8ToGbk(std::string_view utf8);

// The first character of a UTF-8 text that GBK cannot hold (U+FFFD for a byte that is not valid
// UTF-8), or nothing when utf8ToGbk keeps every character.
std::optional<char32_t> firstCharacterGbkCannotHold(std::string_view utf8);

// A character named for a message: the character itself and its code point, "“😀”（U+1F600）";
// a control character or an invalid byte by its code point alone.
std::string describeCharacter(char32_t cp);

// GBK -> UTF-8. A byte sequence that is not valid GBK becomes U+FFFD (one per offending byte).
std::string gbkToUtf8(std::string_view gbk);

}  // namespace ca
