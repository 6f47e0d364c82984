#pragma once
// The optional log-in: a user name and password checked against employee with the password cipher.
#include <optional>
#include <string>

#include "ca/db/TDM.h"
#include "ca/users/CurrentUser.h"

namespace ca::users {

struct LoginUser {
    std::string name;  // as stored
    int category = 0;
};

// The user whose name matches (without regard to case, as every name comparison of the database)
// and whose stored password is the cipher text of `password`; nullopt otherwise. A user without a
// stored password cannot log in.
std::optional<LoginUser> checkLogin(db::TDM& dm, const std::string& name, const std::string& password);

// checkLogin, and on success the user becomes the current user. False when the name or the password
// is wrong (the current user is left as it was).
bool logIn(db::TDM& dm, CurrentUser& current, const std::string& name, const std::string& password);

}  // namespace ca::users
