#include "ca/users/PasswordRule.h"

#include "ca/util/Gbk.h"
#include "ca/util/NameRule.h"

namespace ca::users {

std::optional<std::string> gbkPasswordRefusal(std::string_view password) {
    if (const auto cp = firstCharacterGbkCannotHold(password))
        return "密码含有 GBK 编码无法保存的字符" + describeCharacter(*cp) + "，请换一个密码！";
    return std::nullopt;
}

std::optional<std::string> newPasswordRefusal(std::string_view password) {
    if (!password.empty() && trimName(password).empty()) return "密码不能只有空格，请换一个密码！";
    return gbkPasswordRefusal(password);
}

}  // namespace ca::users
