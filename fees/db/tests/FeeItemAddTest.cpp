#include <gtest/gtest.h>

#include "FeesFixture.h"
#include "ca/db/DbError.h"
#include "ca/fees/FeeItemAdd.h"

using namespace ca::fees;

namespace {

class FeeItemAddTest : public FeesFixture {
protected:
    void SetUp() override {
        FeesFixture::SetUp();
        if (IsSkipped()) return;
        store({"TY0000000000000001", "520120111000000001"});
        store({"TY0000000000000002", "520120111000000002"});
        addUser(1, "张三", {{"bgf", 1}, {"bjf", 0}});
        addUser(2, "李四", {});
    }
    // What an addition may change, in one text.
    std::string state() {
        return std::to_string(count("func_desc")) + " " + std::to_string(count("limit")) + " " +
               std::to_string(rows("select * from T_fee").size()) + " " +
               std::to_string(dm.ADOConnection1.columns("T_fee")->size()) + " " +
               std::to_string(dm.ADOConnection1.columns("T_fee1")->size());
    }
};

}  // namespace

TEST_P(FeeItemAddTest, AddsCatalogueColumnsPermissionsAndZeroAmounts) {
    const FeeItemResult r = addFeeItem(dm, " zdy01\t", "\u3000自定义收费项目01 ");  // blanks around dropped
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.message, "增加成功！");
    EXPECT_EQ(rows("select * from func_desc where Fd_func_code='zdy01'"), Rows{"zdy01|自定义收费项目01"});
    EXPECT_EQ(rows("select zdy01 from T_fee"), (Rows{"0", "0"}));
    EXPECT_EQ(rows("select zdy01 from T_fee1"), (Rows{"<null>", "<null>"}));
    // Every user has exactly one not-allowed row for it, and the rows of older items he lacked.
    EXPECT_EQ(
        rows("select L_pers_id,count(*),sum(L_have_Limit) from limit where L_func_code='zdy01' group by "
             "L_pers_id"),
        (Rows{"1|1|0", "2|1|0"}));
    EXPECT_EQ(count("limit where L_pers_id=1"), 25);
    EXPECT_EQ(count("limit where L_pers_id=2"), 25);
    EXPECT_EQ(rows("select L_have_Limit from limit where L_pers_id=1 and L_func_code='bgf'"), Rows{"1"});
    // A declaration stored afterwards gets Null there; the next item goes on top.
    EXPECT_TRUE(addFeeItem(dm, "zdy02", "自定义收费项目02").added);
    EXPECT_EQ(count("limit where L_func_code='zdy02'"), 2);
}

TEST_P(FeeItemAddTest, ChecksInOrderAndRefusalsWriteNothing) {
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('old1','旧项目')");
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('old2','ABC费')");
    const std::string before = state();
    struct Case {
        const char* code;
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"TY_NO", "", "TY_NO 是系统字段不可用！"},
        {"ty_no", "x", "ty_no 是系统字段不可用！"},
        {"", "x", "请输入新字段名称！"},
        {"1abc", "x",
         "新字段名称“1abc”不能用作字段名：只能由英文字母、数字和下划线组成，以字母开头，最多 64 "
         "个字符，且不能是 SQL "
         "关键字。"},
        {"bgf", "报关费", "已经存在相同的新字段名称！请重新输入。"},
        {"OLD1", "x", "已经存在相同的新字段名称！请重新输入。"},
        {"BGF2", "报关费", "已经存在费用名称！请重新输入。"},
        {"HG_No", "x", "新字段名称 HG_No 与数据表 LoadData 中已有的字段重名，不可用！"},
        {"zdy01", "", "请输入费用名称！"},
        {"zdy01", " \u3000", "请输入费用名称！"},
        {"zdy01", "旧项目", "已经存在费用名称！请重新输入。"},
        {"zdy01", " 旧项目\t", "已经存在费用名称！请重新输入。"},
        {"zdy01", "ａＢｃ费", "已经存在费用名称！请重新输入。"},
        {" bgf ", "x", "已经存在相同的新字段名称！请重新输入。"},
        // SQLite's own names of a table's row id: a column of that name would hide it.
        {"rowid", "x", "rowid 是系统字段不可用！"},
        {"OID", "x", "OID 是系统字段不可用！"},
        {"_RowId_", "x", "_RowId_ 是系统字段不可用！"},
    };
    for (const auto& c : cases) {
        const FeeItemResult r = addFeeItem(dm, c.code, c.name);
        EXPECT_FALSE(r.added) << c.code;
        EXPECT_EQ(r.message, c.message) << c.code;
    }
    for (const char* code : {"a b", "select", "x'y"})
        EXPECT_FALSE(addFeeItem(dm, code, "x").added) << code;
    EXPECT_EQ(state(), before);

    // A column left in T_fee1 alone (a half addition of an older program) is found in any case.
    exec("alter table T_fee1 add Extra char (50)");
    EXPECT_EQ(addFeeItem(dm, "EXTRA", "x").message,
              "新字段名称 EXTRA 与数据表 T_fee1 中已有的字段重名，不可用！");
}

TEST_P(FeeItemAddTest, AFailureAfterTheTableChangesLeavesEverythingAsItWas) {
    const std::string before = state();
    failOn("INSERT", "limit", "NEW.L_pers_id = 2");
    EXPECT_THROW(addFeeItem(dm, "zdy01", "自定义收费项目01"), ca::db::DbError);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(count("func_desc where Fd_func_code='zdy01'"), 0);
    // The connection's knowledge of the tables was renewed: the same item can be added later.
    ca::db::testing::allowWrites(dm, "INSERT", "limit");
    EXPECT_TRUE(addFeeItem(dm, "zdy01", "自定义收费项目01").added);
    EXPECT_EQ(rows("select zdy01 from T_fee"), (Rows{"0", "0"}));
}

TEST_P(FeeItemAddTest, WithoutUsersAndFiftyInARow) {
    exec("delete from limit");
    exec("delete from employee");
    for (int i = 1; i <= 50; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        ASSERT_TRUE(addFeeItem(dm, "zdy" + n, "自定义收费项目" + n).added) << i;
    }
    EXPECT_EQ(count("func_desc"), 74);
    EXPECT_EQ(dm.ADOConnection1.columns("T_fee")->size(), 7u + 74u);
    EXPECT_EQ(count("limit"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, FeeItemAddTest, ca::db::testing::AllEngines(), ca::db::testing::EngineName);
