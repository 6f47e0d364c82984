#include "ca/util/NameRule.h"

#include "ca/util/AsciiCase.h"
#include "ca/util/Utf8.h"

namespace ca {

namespace {

bool isBlank(char32_t cp) {
    return cp == U' ' || cp == U'\t' || cp == U'\r' || cp == U'\n' || cp == 0xA0 || cp == 0x3000;
}

}  // namespace

std::string trimName(std::string_view name) {
    size_t begin = 0, end = name.size();
    for (size_t pos = 0; pos < name.size();) {
        const size_t at = pos;
        if (!isBlank(nextCodePoint(name, pos))) {
            begin = at;
            break;
        }
        begin = pos;
    }
    // From the front again, remembering where the last character that is not a blank ends.
    end = begin;
    for (size_t pos = begin; pos < name.size();)
        if (!isBlank(nextCodePoint(name, pos))) end = pos;
    return std::string(name.substr(begin, end - begin));
}

bool hasControlCharacter(std::string_view name) {
    const std::string trimmed = trimName(name);
    for (size_t pos = 0; pos < trimmed.size();) {
        const char32_t cp = nextCodePoint(trimmed, pos);
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return true;
    }
    return false;
}

std::string nameKey(std::string_view name) {
    const std::string trimmed = trimName(name);
    std::string key;
    key.reserve(trimmed.size());
    for (size_t pos = 0; pos < trimmed.size();) {
        char32_t cp = nextCodePoint(trimmed, pos);
        if (cp >= 0xFF01 && cp <= 0xFF5E) cp -= 0xFF01 - 0x21;
        if (cp == 0x3000 || cp == 0xA0) cp = U' ';
        appendUtf8(key, cp);
    }
    return toLowerAscii(key);
}

}  // namespace ca
