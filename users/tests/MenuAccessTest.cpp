#include <gtest/gtest.h>

#include "ca/users/MenuAccess.h"

namespace ca::users {
namespace {

TEST(MenuAccess, RevealsByCategoryOnlyAfterALogIn) {
    EXPECT_EQ(menuAccessFor(CurrentUser{}), MenuAccess{});
    //                         entry query passwd rights items docButton
    const struct {
        int category;
        MenuAccess access;
    } cases[] = {
        {0, {true, true, true, false, false, true}},
        {1, {true, true, true, true, true, true}},
        {2, {true, true, true, false, false, false}},
        {7, {true, true, true, false, false, false}},
    };
    for (const auto& c : cases) {
        CurrentUser user;
        user.logIn("某人", c.category);
        EXPECT_EQ(menuAccessFor(user), c.access) << c.category;
    }
}

}  // namespace
}  // namespace ca::users
