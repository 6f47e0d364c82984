#include "TextCodec.h"

#include "ca/util/Gbk.h"

#include <algorithm>

namespace ca::spreadsheet {

namespace {

void appendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Windows-1252 characters 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

void appendUtf16AsUtf8(std::string& out, std::u16string_view units) {
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendCodePoint(out, c);
    }
}

std::string utf16ToUtf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    appendUtf16AsUtf8(out, units);
    return out;
}

std::u16string utf8ToUtf16(std::string_view s) {
    if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::u16string(s.begin(), s.end());
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        char32_t c = 0xFFFD;
        size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else {
            size_t need = (b >= 0xF0 && b <= 0xF4)  ? 4
                          : (b >= 0xE0) && b < 0xF0 ? 3
                          : (b >= 0xC2 && b < 0xE0) ? 2
                                                    : 0;
            if (need != 0 && i + need <= s.size()) {
                char32_t v = b & (0xFF >> (need + 1));
                bool ok = true;
                for (size_t k = 1; k < need && ok; ++k) {
                    const unsigned char cb = static_cast<unsigned char>(s[i + k]);
                    ok = (cb & 0xC0) == 0x80;
                    v = (v << 6) | (cb & 0x3F);
                }
                const char32_t minimum = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                if (ok && v >= minimum && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
                    c = v;
                    len = need;
                }
            }
        }
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += len;
    }
    return out;
}

std::string validUtf8(std::string_view text) {
    // Checked by converting: valid UTF-8 survives the round trip through UTF-16 unchanged.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);
    return utf16ToUtf8(utf8ToUtf16(text));
}

std::string codePageToUtf8(std::string_view bytes, int codePage) {
    if (codePage == 936 || codePage == 0) return gbkToUtf8(bytes);
    if (codePage == 1200) {
        std::u16string units;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return utf16ToUtf8(units);
    }
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0) c = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : 0xFFFD;
        appendCodePoint(out, c);
    }
    return out;
}

}  // namespace ca::spreadsheet
