#include "ca/fees/AmountCheck.h"

namespace ca::fees {

Amount checkedAmount(std::string_view itemName, std::string_view text, std::string_view consequence) {
    const std::string item = "费用“" + std::string(itemName) + "”";
    if (text.empty()) throw FeeAmountError(item + "的金额为空，" + std::string(consequence));
    const std::optional<Amount> amount = Amount::parse(text);
    if (!amount)
        throw FeeAmountError(item + "的金额“" + std::string(text) + "”不是有效的数字，" +
                             std::string(consequence));
    if (!amount->fitsColumn())
        throw FeeAmountError(item + "的金额“" + std::string(text) + "”超出范围（整数部分最多 " +
                             std::to_string(Amount::kMaxIntegerDigits) + " 位），" +
                             std::string(consequence));
    return *amount;
}

}  // namespace ca::fees
