#include "ca/fees/Amount.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ca::fees {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string withoutLeadingZeros(std::string digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

// Magnitudes as digit strings without leading zeros.
int compareMagnitudes(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

std::string addMagnitudes(const std::string& a, const std::string& b) {
    std::string out;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        int d = carry;
        if (i < a.size()) d += a[a.size() - 1 - i] - '0';
        if (i < b.size()) d += b[b.size() - 1 - i] - '0';
        out.push_back(static_cast<char>('0' + d % 10));
        carry = d / 10;
    }
    std::reverse(out.begin(), out.end());
    return withoutLeadingZeros(out);
}

// a - b with a >= b.
std::string subtractMagnitudes(const std::string& a, const std::string& b) {
    std::string out;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int d = a[a.size() - 1 - i] - '0' - borrow;
        if (i < b.size()) d -= b[b.size() - 1 - i] - '0';
        borrow = d < 0 ? 1 : 0;
        out.push_back(static_cast<char>('0' + d + 10 * borrow));
    }
    std::reverse(out.begin(), out.end());
    return withoutLeadingZeros(out);
}

// Exponents beyond this only make an amount that is refused anyway, or zero: they are clamped so
// that "1e999999999" cannot make a text of a billion digits.
constexpr long kExponentLimit = 400;

}  // namespace

std::optional<Amount> Amount::parse(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::string digits;  // every mantissa digit, the point removed
    long pointAt = -1;   // digits before the point
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            digits.push_back(s[i]);
        } else if (s[i] == '.' && pointAt < 0) {
            pointAt = static_cast<long>(digits.size());
        } else {
            break;
        }
    }
    if (digits.empty()) return std::nullopt;
    if (pointAt < 0) pointAt = static_cast<long>(digits.size());
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool minus = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) minus = s[i++] == '-';
        long exponent = 0;
        const size_t first = i;
        for (; i < s.size() && isDigit(s[i]); ++i)
            exponent = std::min(exponent * 10 + (s[i] - '0'), kExponentLimit);
        if (i == first) return std::nullopt;
        pointAt += minus ? -exponent : exponent;
    }
    if (i != s.size()) return std::nullopt;

    // The digits down to the cents, then the next digit decides the rounding.
    const long keep = pointAt + 2;
    std::string cents;
    int next = 0;
    if (keep <= 0) {
        cents = "0";
        if (keep == 0) next = digits[0] - '0';
    } else {
        cents = digits.substr(0, static_cast<size_t>(std::min<long>(keep, static_cast<long>(digits.size()))));
        cents.append(static_cast<size_t>(std::max<long>(0, keep - static_cast<long>(digits.size()))), '0');
        if (keep < static_cast<long>(digits.size())) next = digits[static_cast<size_t>(keep)] - '0';
    }
    Amount a;
    a.cents_ = withoutLeadingZeros(cents);
    if (next >= 5) a.cents_ = addMagnitudes(a.cents_, "1");
    a.negative_ = negative && !a.isZero();
    return a;
}

std::optional<Amount> Amount::fromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return parse(std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
}

Amount Amount::fromInteger(std::int64_t value) {
    Amount a;
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    a.cents_ = magnitude == 0 ? std::string("0") : std::to_string(magnitude) + "00";
    a.negative_ = value < 0;
    return a;
}

Amount& Amount::operator+=(const Amount& other) {
    if (negative_ == other.negative_) {
        cents_ = addMagnitudes(cents_, other.cents_);
    } else if (compareMagnitudes(cents_, other.cents_) >= 0) {
        cents_ = subtractMagnitudes(cents_, other.cents_);
    } else {
        cents_ = subtractMagnitudes(other.cents_, cents_);
        negative_ = other.negative_;
    }
    if (isZero()) negative_ = false;
    return *this;
}

std::string Amount::text() const {
    std::string digits = cents_;
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    digits.insert(digits.size() - 2, 1, '.');
    return negative_ ? "-" + digits : digits;
}

std::string Amount::plainText() const {
    std::string t = text();
    while (t.back() == '0')
        t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t;
}

int Amount::integerDigits() const {
    return cents_.size() > 3 ? static_cast<int>(cents_.size()) - 2 : 1;
}

}  // namespace ca::fees
