#pragma once
// How stored cell values turn into the text that Cells(row, column).Value gives.
#include <string>
#include <string_view>

namespace ca::spreadsheet {

// A number in general decimal form: at most 15 significant digits, no trailing zeros, integers
// without a decimal point, and exponent form ("1.5E-07", "1E+15") only where the general number
// format uses it: below 1E-4 or from 1E15 on in magnitude. -0 gives "0".
std::string generalNumberText(double value);

// A date serial number as YYYY-MM-DD, with " HH:MM:SS" when it has a time part; a serial below 1
// gives the time alone. Serial 60 of the 1900 system is the day that system counts as 1900-02-29.
// Serials outside the date range (negative, or beyond 9999-12-31) give the general number text.
std::string dateText(double serial, bool date1904);

// Whether a number format code shows dates or times (y, m, d, h or s outside quoted text,
// escapes and bracketed parts, other than in "General").
bool isDateFormatCode(std::string_view code);

// Whether a built-in number format index is a date or time format (14-22, 27-36, 45-47, 50-58).
bool isBuiltinDateFormat(int index);

}  // namespace ca::spreadsheet
