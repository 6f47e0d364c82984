#include <gtest/gtest.h>

#include "ca/fees/FeeLookup.h"

using namespace ca::fees;

TEST(FeeLookup, TheSearchedColumnFollowsFieldAndModeInBothStatements) {
    struct Case {
        const char* value;
        const char* field;
        MatchMode mode;
        const char* amountCondition;
        const char* remarkCondition;
    };
    const Case cases[] = {
        {"", "TY_NO", MatchMode::Whole, "T_fee.TY_NO=''", "T_fee1.TY_NO=''"},
        {"123456789", "TY_NO", MatchMode::Serial, "mid(T_fee.TY_NO,10,9)='123456789'",
         "mid(T_fee1.TY_NO,10,9)='123456789'"},
        {"520120111", "bgno", MatchMode::Serial, "mid(bgno,10,9)='520120111'", "mid(bgno,10,9)='520120111'"},
        {"520120111000000001", "bgno", MatchMode::Whole, "bgno='520120111000000001'",
         "bgno='520120111000000001'"},
        {"HT'01", "htno", MatchMode::Whole, "htno='HT''01'", "htno='HT''01'"},
        {"TD 7", "tdno", MatchMode::Whole, "tdno='TD 7'", "tdno='TD 7'"},
        {"PZ9", "PZ_No", MatchMode::Whole, "PZ_No='PZ9'", "PZ_No='PZ9'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.value);
        const auto sql = feeLookupStatements(c.value, c.field, c.mode);
        EXPECT_EQ(
            sql.amounts,
            std::string("select T_fee.*,loaddata.pz_no from T_fee,loaddata where loaddata.TY_NO=T_fee.TY_NO "
                        "and ") +
                c.amountCondition);
        EXPECT_EQ(sql.remarks, std::string("select T_fee1.*,loaddata.pz_no from T_fee1,loaddata where "
                                           "loaddata.TY_NO=T_fee1.TY_NO and ") +
                                   c.remarkCondition);
    }
}

TEST(FeeLookup, PermissionStatementNamesTheUserWithApostrophesDoubled) {
    EXPECT_EQ(permissionStatement(""),
              "select * from limit where L_have_Limit=1 and L_pers_id=(select e_id from employee where "
              "E_name='')");
    EXPECT_EQ(permissionStatement("O'Neil"),
              "select * from limit where L_have_Limit=1 and L_pers_id=(select e_id from employee where "
              "E_name='O''Neil')");
}
