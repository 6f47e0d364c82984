#include "ca/util/TabText.h"

#include <cstdint>

#include "ca/util/Utf8.h"

namespace ca {

namespace {

constexpr char kHex[] = "0123456789abcdef";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of `digits` hexadecimal digits at text[at], or -1.
long hexAt(std::string_view text, size_t at, size_t digits) {
    if (at + digits > text.size()) return -1;
    long v = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int d = hexValue(text[at + i]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

// tabText: tab, line breaks and backslash as \t, \n, \r, \\ (reversible); otherwise tab and line
// break stay and a backslash is itself.
std::string escape(std::string_view text, bool tabText) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!tabText && (c == '\t' || c == '\n' || c == '\\')) {
            out += static_cast<char>(c);
            continue;
        }
        switch (c) {
            case '\t':
                out += "\\t";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // A C1 control in UTF-8 (U+0080 to U+009F); U+009B starts an escape sequence in many terminals.
            const auto second = static_cast<unsigned char>(text[++i]);
            out += "\\u00";
            out += kHex[second >> 4];
            out += kHex[second & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

std::string escapeTabText(std::string_view text) {
    return escape(text, true);
}

std::string escapeControls(std::string_view text) {
    return escape(text, false);
}

std::string unescapeTabText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '\\') {
            out += text[i];
        } else if (next == 't' || next == 'n' || next == 'r' || next == '\\') {
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else if (const long v = next == 'x' ? hexAt(text, i + 2, 2) : -1; v >= 0) {
            out += static_cast<char>(v);
            i += 3;
        } else if (const long u = next == 'u' ? hexAt(text, i + 2, 4) : -1;
                   u >= 0 && (u < 0xD800 || u > 0xDFFF)) {
            appendUtf8(out, static_cast<char32_t>(u));
            i += 5;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace ca
