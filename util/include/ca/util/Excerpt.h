#pragma once
// Texts shown to a person are cut to a readable length: an error that echoes a whole statement of a
// hundred kilobytes helps nobody. The cut keeps the start (where the cause is said) and tells the
// full length.
#include <cstddef>
#include <string>
#include <string_view>

namespace ca {

inline constexpr std::size_t kExcerptChars = 300;

// The text itself when it has at most maxChars characters; otherwise its first maxChars characters
// followed by "……（共 N 个字符，只显示前 M 个）". Never cuts inside a UTF-8 character.
std::string excerpt(std::string_view text, std::size_t maxChars = kExcerptChars);

}  // namespace ca
