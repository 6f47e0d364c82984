#pragma once
// What a new password may hold. The cipher enciphers a password's GBK bytes, and a character GBK
// cannot hold would become "?": "p😀w", "p😃w" and "p?w" would share one stored text. Every place
// that sets a password (the user window, the password change, the command line) asks this rule.
#include <optional>
#include <string>
#include <string_view>

namespace ca::users {

// The warning for a new password with a character GBK cannot hold, naming that character; nullopt
// when the password can be stored as typed.
std::optional<std::string> newPasswordRefusal(std::string_view password);

}  // namespace ca::users
