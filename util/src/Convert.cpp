#include "ca/util/Convert.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ca {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> parseInt(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;  // leading blanks are accepted, trailing ones are not
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return std::nullopt;
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        int d = hex ? hexValue(s[i]) : (isDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0) return std::nullopt;
        v = v * (hex ? 16 : 10) + d;
        if (v > 0xFFFFFFFFLL) return std::nullopt;
    }
    if (hex) {
        // Hexadecimal text covers the whole 32-bit pattern ($FFFFFFFF is -1).
        // The sign is applied in unsigned arithmetic: -$80000000 wraps to the lowest integer
        // instead of overflowing.
        auto u = static_cast<std::uint32_t>(v);
        return static_cast<std::int32_t>(negative ? 0u - u : u);
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

std::optional<double> parseFloat(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    if (b == e) return std::nullopt;
    std::string t(s.substr(b, e - b));
    // Only sign, digits, one '.', and an exponent; no hexadecimal, no inf/nan words.
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-') ++i;
    size_t digits = 0;
    while (i < t.size() && isDigit(t[i]))
        ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < t.size() && isDigit(t[i]))
            ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    double v = std::strtod(t.c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

bool isValidDate(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    int dm = days[m - 1] + (m == 2 && leap ? 1 : 0);
    return d <= dm;
}

std::optional<Date> parseDate(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    int parts[3];
    size_t i = b;
    char sep = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            if (i >= e || (s[i] != '-' && s[i] != '/')) return std::nullopt;
            if (sep && s[i] != sep) return std::nullopt;
            sep = s[i++];
        }
        size_t start = i;
        long v = 0;
        while (i < e && isDigit(s[i]) && i - start < 4)
            v = v * 10 + (s[i++] - '0');
        if (i == start) return std::nullopt;
        parts[k] = static_cast<int>(v);
    }
    if (i != e) return std::nullopt;
    if (!isValidDate(parts[0], parts[1], parts[2])) return std::nullopt;
    return Date{parts[0], parts[1], parts[2]};
}

std::int32_t toInt(std::string_view text) {
    if (auto v = parseInt(text)) return *v;
    throw ConversionError("“" + std::string(text) + "”不是有效的整数值");
}

double toFloat(std::string_view text) {
    if (auto v = parseFloat(text)) return *v;
    throw ConversionError("“" + std::string(text) + "”不是有效的浮点数值");
}

}  // namespace ca
