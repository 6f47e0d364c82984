#include "ca/util/Excerpt.h"

#include "ca/util/Utf8.h"

namespace ca {

std::string excerpt(std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0, chars = 0, cut = 0;
    while (pos < text.size()) {
        nextCodePoint(text, pos);
        if (++chars == maxChars) cut = pos;
    }
    if (chars <= maxChars) return std::string(text);
    return std::string(text.substr(0, cut)) + "……（共 " + std::to_string(chars) + " 个字符，只显示前 " +
           std::to_string(maxChars) + " 个）";
}

}  // namespace ca
