#include <gtest/gtest.h>

#include <string>

#include "ca/db/DbError.h"
#include "ca/db/Quoting.h"

using ca::db::DbError;

namespace {

TEST(Quoting, Identifiers) {
    for (const char* good : {"zdy01", "bgf", "THCf", "a_1", "Z"})
        EXPECT_TRUE(ca::db::IsValidIdentifier(good)) << good;
    for (const char* bad : {"", "1abc", "_x", "a-b", "a b", "费用", "select", "limit", "x'y", "a;drop"})
        EXPECT_FALSE(ca::db::IsValidIdentifier(bad)) << bad;
    // A word either engine reserves is refused on both, so a desk's fee item can move to the server.
    for (const char* reserved :
         {"verbose", "Binary", "grant", "some", "any", "authorization", "overlaps", "collation", "ilike"})
        EXPECT_FALSE(ca::db::IsValidIdentifier(reserved)) << reserved;
    EXPECT_FALSE(ca::db::IsValidIdentifier(std::string(65, 'a')));
    EXPECT_THROW(ca::db::CheckIdentifier("a b"), DbError);
}

}  // namespace
