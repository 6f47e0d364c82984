#include "ca/reports/CommaText.h"

namespace ca::reports {

namespace {

// Blanks and control characters (bytes 1 to 32); bytes of multi-byte characters are above them.
bool isBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= ' ';
}

}  // namespace

std::vector<std::string> splitCommaText(std::string_view text) {
    std::vector<std::string> items;
    size_t i = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            // Quoted: up to the closing quote; a doubled quote is one quote character.
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const size_t start = i;
            while (i < n && !isBlank(text[i]) && text[i] != ',')
                ++i;
            item.assign(text.substr(start, i - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (i < n && text[i] == ',') {
            if (i + 1 == n) items.emplace_back();  // a final comma ends with an empty item
            ++i;
            skipBlanks();
        }
    }
    return items;
}

}  // namespace ca::reports
