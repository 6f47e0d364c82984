#include "ca/users/MenuAccess.h"

#include "ca/users/UserCategory.h"

namespace ca::users {

MenuAccess menuAccessFor(const CurrentUser& user) {
    MenuAccess access;
    if (!user.loggedIn()) return access;
    const int category = user.CurrentUserCategory();
    access.feeEntry = access.feeQuery = access.changePassword = true;
    access.userRights = access.addFeeItem = category == kSuperUser;
    access.documentFeeButton = category == kOrdinaryUser || category == kSuperUser;
    return access;
}

}  // namespace ca::users
