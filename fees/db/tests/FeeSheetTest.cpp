#include <gtest/gtest.h>

#include "FeesFixture.h"
#include "ca/db/DbError.h"
#include "ca/fees/FeeSheet.h"

using namespace ca::fees;

namespace {

class FeeSheetTest : public FeesFixture {
protected:
    void SetUp() override {
        FeesFixture::SetUp();
        if (IsSkipped()) return;
        store({"TY0000000123456789", "520120111000000001"});
        store(
            {"TY0000000987654321", "520220111000000002", "2011-01-06", "客户乙", "铜", "HT2", "TD2", "PZ2"});
        // Permission rows in a deliberate order: ddf before bgf; bjf not allowed.
        addUser(1, "张三", {{"ddf", 1}, {"bjf", 0}, {"bgf", 1}});
        exec("update T_fee set bgf=12.5,ddf=30,bjf=100 where ty_no='TY0000000123456789'");
        exec("update T_fee1 set bgf='现金',ddf='O''Neil' where ty_no='TY0000000123456789'");
    }
    FeeSheet sheet;
};

}  // namespace

TEST_P(FeeSheetTest, SerialSearchComparesCharactersTenToEighteenWholeSearchTheWholeValue) {
    struct Case {
        const char* value;
        const char* field;
        MatchMode mode;
        LoadOutcome outcome;
    };
    const Case cases[] = {
        {"123456789", "TY_NO", MatchMode::Serial, LoadOutcome::Loaded},
        {"TY0000000123456789", "TY_NO", MatchMode::Serial, LoadOutcome::NotFound},
        {"TY0000000123456789", "TY_NO", MatchMode::Whole, LoadOutcome::Loaded},
        {"111000000001", "bgno", MatchMode::Serial, LoadOutcome::NotFound},
        {"000000001", "bgno", MatchMode::Serial, LoadOutcome::Loaded},
        {"520120111000000001", "bgno", MatchMode::Whole, LoadOutcome::Loaded},
        {"HT1", "htno", MatchMode::Whole, LoadOutcome::Loaded},
        {"td1", "tdno", MatchMode::Whole, LoadOutcome::Loaded},  // values compare without regard to case
        {"PZ1", "PZ_No", MatchMode::Whole, LoadOutcome::Loaded},
        {"PZ'1", "PZ_No", MatchMode::Whole, LoadOutcome::NotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.value);
        FeeSheet s;
        EXPECT_EQ(s.InputData(dm, "张三", c.value, c.field, c.mode), c.outcome);
        if (c.outcome == LoadOutcome::Loaded) {
            EXPECT_EQ(s.fields.unifiedNo, "TY0000000123456789");
        }
    }
}

TEST_P(FeeSheetTest, LoadsFieldsAndTheAllowedItemsInPermissionOrderWithTheirTotal) {
    ASSERT_EQ(sheet.InputData(dm, "张三", "HT1", "htno", MatchMode::Whole), LoadOutcome::Loaded);
    EXPECT_EQ(sheet.fields, (FeeFields{"客户甲", "2011-01-05", "钢材", "HT1", "TD1", "520120111000000001",
                                       "TY0000000123456789", "PZ1"}));
    EXPECT_EQ(sheet.rows,
              (FeeGridRows{{"打单费", "30", "O'Neil", "ddf"}, {"报关费", "12.5", "现金", "bgf"}}));
    // bjf (100) is not allowed, so it is neither shown nor counted.
    EXPECT_EQ(sheet.totalText, "42.50");
}

TEST_P(FeeSheetTest, StoredAmountsOfEarlierVersionsShowRoundedToCentsAndAddUpExactly) {
    // Rows written before amounts were rounded: three decimals, seventeen digits, a huge value.
    exec("update T_fee set ddf=80.125,bgf=123456789012345.67 where ty_no='TY0000000123456789'");
    ASSERT_EQ(sheet.InputData(dm, "张三", "HT1", "htno", MatchMode::Whole), LoadOutcome::Loaded);
    EXPECT_EQ(sheet.rows[0][kAmountColumn], "80.13");
    EXPECT_EQ(sheet.rows[1][kAmountColumn], "123456789012345.67");
    EXPECT_EQ(sheet.totalText, "123456789012425.80");
    exec("update T_fee set ddf=1e308,bgf=1e308 where ty_no='TY0000000123456789'");
    ASSERT_EQ(sheet.InputData(dm, "张三", "HT1", "htno", MatchMode::Whole), LoadOutcome::Loaded);
    EXPECT_EQ(sheet.totalText, "2" + std::string(308, '0') + ".00");
}

TEST_P(FeeSheetTest, AMissingAmountShowsEmptyAndCountsAsZero) {
    // A fee item added after the declarations were stored, then a declaration stored afterwards.
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('zdy01','自定义收费项目01')");
    exec("alter table T_fee add zdy01 numeric (18 ,2)");
    exec("alter table T_fee1 add zdy01 char (50)");
    store({"TY0000000555555555", "520120111000000005"});
    addUser(2, "李四", {{"zdy01", 1}, {"bgf", 1}});
    exec("update T_fee set bgf=7 where ty_no='TY0000000555555555'");
    ASSERT_EQ(sheet.InputData(dm, "李四", "TY0000000555555555", "TY_NO", MatchMode::Whole),
              LoadOutcome::Loaded);
    EXPECT_EQ(sheet.rows, (FeeGridRows{{"自定义收费项目01", "", "", "zdy01"}, {"报关费", "7", "", "bgf"}}));
    EXPECT_EQ(sheet.totalText, "7.00");
}

TEST_P(FeeSheetTest, NoPermissionAndNotFoundKeepWhatTheWindowKeeps) {
    ASSERT_EQ(sheet.InputData(dm, "张三", "HT1", "htno", MatchMode::Whole), LoadOutcome::Loaded);
    // Nobody has an empty name: found, but no fee may be entered.
    EXPECT_EQ(sheet.InputData(dm, "", "HT2", "htno", MatchMode::Whole), LoadOutcome::NoPermission);
    EXPECT_EQ(sheet.fields.customer, "客户乙");
    EXPECT_TRUE(sheet.rows.empty());
    EXPECT_EQ(sheet.totalText, "42.50");  // the total of the last full load stays

    sheet.fields.declarationNo = "typed";
    EXPECT_EQ(sheet.InputData(dm, "张三", "nothing", "tdno", MatchMode::Whole), LoadOutcome::NotFound);
    EXPECT_EQ(sheet.fields, (FeeFields{"", "", "", "", "", "typed", "TY0000000987654321", "PZ2"}));
    EXPECT_TRUE(sheet.rows.empty());
}

TEST_P(FeeSheetTest, ADeclarationWithoutRemarkRowLoadsEmptyRemarks) {
    exec("delete from T_fee1 where ty_no='TY0000000123456789'");
    ASSERT_EQ(sheet.InputData(dm, "张三", "TY0000000123456789", "TY_NO", MatchMode::Whole),
              LoadOutcome::Loaded);
    EXPECT_EQ(sheet.rows, (FeeGridRows{{"打单费", "30", "", "ddf"}, {"报关费", "12.5", "", "bgf"}}));
}

TEST_P(FeeSheetTest, APermissionForAnUnknownColumnIsADatabaseErrorAndLeavesNoRows) {
    exec("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) values(1,'gone','已删除',1)");
    EXPECT_THROW(sheet.InputData(dm, "张三", "HT1", "htno", MatchMode::Whole), ca::db::DbError);
    EXPECT_TRUE(sheet.rows.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, FeeSheetTest, ca::db::testing::AllEngines(), ca::db::testing::EngineName);
