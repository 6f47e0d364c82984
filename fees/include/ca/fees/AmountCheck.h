#pragma once
// Reading a typed fee amount: a number that an amount column (numeric (18 ,2)) can hold. A refusal
// names the fee item and the text, so the clerk knows which cell to correct.
#include <stdexcept>
#include <string>
#include <string_view>

namespace ca::fees {

class FeeAmountError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Largest amount an amount column holds: 16 digits before the decimal point.
inline constexpr double kMaxAmount = 1e16;

// The amount `text` of the fee item `itemName`, or FeeAmountError whose text names both and ends
// with `consequence` (for example "未保存任何费用。"). Empty text, letters, an overflow ("1e400")
// and amounts of 1e16 or more are refused; "-0" reads as 0.
double checkedAmount(std::string_view itemName, std::string_view text, std::string_view consequence);

}  // namespace ca::fees
