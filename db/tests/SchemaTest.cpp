#include <gtest/gtest.h>

#include "ca/db/Schema.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

using namespace ca::db;

TEST(Schema, NewDatabaseHasEveryTableAndTheFeeItems) {
    TDM dm(":memory:");
    TADOQuery q(dm);
    q.SetSQL("select * from func_desc");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 24);
    EXPECT_EQ(q.FieldByName("Fd_func_code").AsString(), "bgf");
}
