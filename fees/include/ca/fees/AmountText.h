#pragma once
// How fee amounts are shown and printed: two decimals, "0.00", never "-0.00".
#include <string>

namespace ca::fees {

// The amount rounded to cents, e.g. 12.5 -> "12.50", 0 -> "0.00", -0.004 -> "0.00".
std::string amountText(double amount);

}  // namespace ca::fees
