#include "ca/fees/StoredAmount.h"

#include "ca/util/Convert.h"

namespace ca::fees {

std::optional<Amount> storedAmount(const db::Value& value) {
    if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
    if (const auto* i = std::get_if<std::int64_t>(&value)) return Amount::fromInteger(*i);
    std::optional<Amount> amount;
    if (const auto* d = std::get_if<double>(&value)) amount = Amount::fromDouble(*d);
    if (const auto* s = std::get_if<std::string>(&value)) amount = Amount::parse(*s);
    if (!amount) throw ConversionError("“" + db::valueToString(value) + "”不是有效的金额");
    return amount;
}

}  // namespace ca::fees
