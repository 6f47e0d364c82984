#pragma once
// The current user replaces his own password: he is found by name, his old password must encipher
// to the stored text, and the new one is stored enciphered for every row with his name.
#include <string>

#include "ca/db/TDM.h"
#include "ca/util/Prompts.h"

namespace ca::users {

struct PasswordChangeForm {
    std::string oldPassword;   // Edit1
    std::string newPassword;   // Edit2
    std::string confirmation;  // Edit3
};

// Asks, checks in order, stores and confirms. False when answered No or refused (a warning says why).
bool changePassword(db::TDM& dm, Prompts& prompts, const std::string& userName,
                    const PasswordChangeForm& form);

// Stores the password, enciphered, for the user of that name (by the one name rule: the exact
// name first, else the one user whose name is the same by the rule); the number of rows changed,
// 0 when no user, or more than one, has that name.
int storePassword(db::TDM& dm, const std::string& userName, const std::string& password);

}  // namespace ca::users
