#pragma once
// A fee amount as a query returns it from an amount column of T_fee.
#include <optional>

#include "ca/db/TField.h"
#include "ca/fees/Amount.h"

namespace ca::fees {

// nullopt for Null (a fee item added after the declaration was stored); an integer, a double or a
// number text read by the rule of Amount.h. A text that is no number, or an infinite double, throws
// ca::ConversionError.
std::optional<Amount> storedAmount(const db::Value& value);

}  // namespace ca::fees
