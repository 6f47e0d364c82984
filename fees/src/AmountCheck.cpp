#include "ca/fees/AmountCheck.h"

#include <cmath>

#include "ca/util/Convert.h"

namespace ca::fees {

double checkedAmount(std::string_view itemName, std::string_view text, std::string_view consequence) {
    const std::string item = "费用“" + std::string(itemName) + "”";
    if (text.empty()) throw FeeAmountError(item + "的金额为空，" + std::string(consequence));
    auto value = parseFloat(text);
    if (!value)
        throw FeeAmountError(item + "的金额“" + std::string(text) + "”不是有效的数字，" +
                             std::string(consequence));
    if (std::fabs(*value) >= kMaxAmount)
        throw FeeAmountError(item + "的金额“" + std::string(text) + "”超出范围，" + std::string(consequence));
    return *value + 0.0;
}

}  // namespace ca::fees
