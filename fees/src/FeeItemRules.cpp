#include "ca/fees/FeeItemRules.h"

#include "ca/db/Quoting.h"
#include "ca/fees/FeeTexts.h"
#include "ca/util/AsciiCase.h"
#include "ca/util/NameRule.h"

namespace ca::fees {

std::optional<std::string> codeRefusal(std::string_view code) {
    for (auto reserved : kReservedCodes)
        if (equalsNoCase(code, reserved)) return std::string(code) + kSystemFieldSuffix;
    if (code.empty()) return "请输入新字段名称！";
    if (!db::IsValidIdentifier(code))
        return "新字段名称“" + std::string(code) +
               "”不能用作字段名：只能由英文字母、数字和下划线组成，以字母开头，最多 64 个字符，"
               "且不能是 SQL 关键字。";
    return std::nullopt;
}

std::optional<std::string> nameRefusal(std::string_view name) {
    if (trimName(name).empty()) return "请输入费用名称！";
    if (hasControlCharacter(name)) return "费用名称中不能有控制字符（制表符、换行符等）！";
    return std::nullopt;
}

}  // namespace ca::fees
