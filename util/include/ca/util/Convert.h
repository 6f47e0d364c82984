#pragma once
// Conversions of text to numbers and dates with the rules of the platform the office runs on:
// integers may carry a sign and a $ / 0x / 0X hexadecimal prefix, floats use '.' as the decimal
// separator, dates are year-month-day with '-' or '/' between the parts.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ca {

// A text that does not convert. The message reads like the platform's: "'abc' is not a valid
// integer value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Date {
    int year = 0, month = 0, day = 0;
    bool operator==(const Date&) const = default;
};

std::optional<std::int32_t> parseInt(std::string_view text);
std::optional<double> parseFloat(std::string_view text);
std::optional<Date> parseDate(std::string_view text);

// Throwing forms, for the places where a failed conversion ends the command.
std::int32_t toInt(std::string_view text);
double toFloat(std::string_view text);

bool isValidDate(int year, int month, int day);

}  // namespace ca
