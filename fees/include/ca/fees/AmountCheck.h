#pragma once
// Reading a typed fee amount: a number that an amount column (numeric (18 ,2)) can hold, rounded to
// cents by the rule of Amount.h. A refusal names the fee item and the text, so the clerk knows which
// cell to correct.
#include <stdexcept>
#include <string>
#include <string_view>

#include "ca/fees/Amount.h"

namespace ca::fees {

class FeeAmountError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The amount `text` of the fee item `itemName`, rounded to cents, or FeeAmountError whose text
// names both and ends with `consequence` (for example "未保存任何费用。"). Empty text, letters and
// amounts with more than Amount::kMaxIntegerDigits digits before the point ("1e16", "1e308") are
// refused; "-0" reads as 0.
Amount checkedAmount(std::string_view itemName, std::string_view text, std::string_view consequence);

}  // namespace ca::fees
