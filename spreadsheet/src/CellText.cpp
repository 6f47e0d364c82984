#include "ca/spreadsheet/CellText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ca/util/AsciiCase.h"

namespace ca::spreadsheet {

namespace {

// Removes trailing zeros of a fraction ("1.500" -> "1.5", "2.000" -> "2").
void trimFraction(std::string& s) {
    if (s.find('.') == std::string::npos) return;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
}

// Days from 0001-01-01 style civil date, after Howard Hinnant's algorithm.
void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}

constexpr long long kDays1970To1899_12_30 = -25569;  // 1899-12-30 relative to 1970-01-01
constexpr long long kDays1970To1904_01_01 = -24107;

}  // namespace

std::string generalNumberText(double value) {
    if (std::isnan(value)) return "#NUM!";
    if (std::isinf(value)) return value > 0 ? "#NUM!" : "-#NUM!";
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s = buf;
    const auto e = s.find('e');
    if (e == std::string::npos) return s;
    // Exponent form: mantissa without trailing zeros, then E, sign and at least two digits.
    std::string mantissa = s.substr(0, e);
    trimFraction(mantissa);
    int exponent = std::atoi(s.c_str() + e + 1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + exp;
}

std::string dateText(double serial, bool date1904) {
    if (!(serial >= 0) || serial >= 2958466.0) return generalNumberText(serial);
    long long seconds = std::llround(serial * 86400.0);
    long long days = seconds / 86400;
    long long secs = seconds % 86400;
    char time[16];
    std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", secs / 3600, secs / 60 % 60, secs % 60);
    if (days == 0 && !date1904) return time;
    int y, m, d;
    if (date1904) {
        civilFromDays(days + kDays1970To1904_01_01, y, m, d);
    } else if (days == 60) {
        y = 1900, m = 2, d = 29;  // the 1900 system's phantom leap day
    } else {
        // Serials before 60 count from 1899-12-31, later ones skip the phantom day.
        civilFromDays(days + kDays1970To1899_12_30 + (days < 60 ? 1 : 0), y, m, d);
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    std::string out = buf;
    if (secs != 0) out += std::string(" ") + time;
    return out;
}

bool isDateFormatCode(std::string_view code) {
    const std::string lower = toLowerAscii(code);
    if (lower == "general" || lower == "@") return false;
    for (size_t i = 0; i < lower.size(); ++i) {
        const char c = lower[i];
        if (c == '"') {
            const auto end = lower.find('"', i + 1);
            if (end == std::string::npos) return false;
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // escaped or padding character
        } else if (c == '[') {
            const auto end = lower.find(']', i + 1);
            if (end == std::string::npos) return false;
            const std::string_view inner = std::string_view(lower).substr(i + 1, end - i - 1);
            // Elapsed-time parts ([h], [mm], [ss]) show times; colours and conditions do not.
            if (!inner.empty() && inner.find_first_not_of("hms") == std::string_view::npos) return true;
            i = end;
        } else if (c == ';') {
            return false;  // only the first section decides
        } else if (c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's') {
            return true;
        }
    }
    return false;
}

bool isBuiltinDateFormat(int index) {
    return (index >= 14 && index <= 22) || (index >= 27 && index <= 36) || (index >= 45 && index <= 47) ||
           (index >= 50 && index <= 58);
}

}  // namespace ca::spreadsheet
