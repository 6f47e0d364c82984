#pragma once
// Which of the hidden commands a user may reach. Without a log-in every one stays hidden; a logged-in
// user sees the fee windows and the password change, a super user also the user administration and
// the fee items, and the document query's fee-entry button is shown to every category but "QP用户".
// The delete-all command is never shown.
#include "ca/users/CurrentUser.h"

namespace ca::users {

struct MenuAccess {
    bool feeEntry = false;           // "费用录入" (N4)
    bool feeQuery = false;           // "费用查询" (Nfycx)
    bool changePassword = false;     // "修改密码" (Nchpass)
    bool userRights = false;         // "用户权限" (Nlimit)
    bool addFeeItem = false;         // "增加费用项" (N7)
    bool documentFeeButton = false;  // the document query's "费用录入" (BitBtn1)

    bool operator==(const MenuAccess&) const = default;
};

MenuAccess menuAccessFor(const CurrentUser& user);

}  // namespace ca::users
