#pragma once
// What a new password may hold. The cipher enciphers a password's GBK bytes, and a character GBK
// cannot hold would become "?": "p😀w", "p😃w" and "p?w" would share one stored text. Every place
// that sets a password (the user window, the password change, the command line) asks this rule.
#include <optional>
#include <string>
#include <string_view>

namespace ca::users {

// The warning for a text with a character GBK cannot hold, naming that character; nullopt when the
// cipher takes the text as it is.
std::optional<std::string> gbkPasswordRefusal(std::string_view password);

// The warning for a new password that cannot be stored as typed (a character GBK cannot hold) or
// that is blanks only (spaces, full-width spaces, tabs: nothing anybody could tell from no
// password); nullopt when it may be set.
std::optional<std::string> newPasswordRefusal(std::string_view password);

}  // namespace ca::users
