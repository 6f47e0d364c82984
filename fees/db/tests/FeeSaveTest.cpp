#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "FeesFixture.h"
#include "ca/db/DbError.h"
#include "ca/db/Transaction.h"
#include "ca/fees/AmountCheck.h"
#include "ca/fees/FeeSave.h"
#include "ca/fees/FeeSheet.h"
#include "ca/util/Prompts.h"

using namespace ca::fees;

namespace {

class FeeSaveTest : public FeesFixture {
protected:
    void SetUp() override {
        FeesFixture::SetUp();
        if (IsSkipped()) return;
        store({"TY0000000123456789", "520120111000000001"});
        store({"TY0000000987654321", "520220111000000002"});
    }
    std::string saved(const char* code) {
        return scalar(
            std::string("select T_fee.") + code + ",T_fee1." + code +
            " from T_fee,T_fee1 where T_fee.ty_no=T_fee1.ty_no and T_fee.ty_no='TY0000000123456789'");
    }
    ca::ScriptedPrompts prompts;
};

}  // namespace

TEST_P(FeeSaveTest, WritesEveryAmountAndRemarkOfTheDeclarationOnly) {
    saveFees(dm,
             {{"报关费", "12.50", "O'Neil 付", "bgf"},
              {"打单费", "-0", "", "ddf"},
              {"运费", " 3 ", "运'费", "yf"}},
             "TY0000000123456789");
    EXPECT_EQ(saved("bgf"), "12.5|O'Neil 付");
    EXPECT_EQ(saved("yf"), "3|运'费");
    EXPECT_EQ(rows("select bgf from T_fee where ty_no='TY0000000987654321'"), Rows{"0"});
    EXPECT_EQ(saved("ddf"), "0|");
}

// Two desks saving the fees of different declarations at the same time: the second desk's save does
// not wait for the first desk's unit of work, which holds its own declaration's rows only.
TEST_P(FeeSaveTest, AmountsAreStoredRoundedToCentsAndLoadBackExactly) {
    saveFees(dm,
             {{"报关费", "80.125", "", "bgf"},
              {"打单费", "-1.005", "", "ddf"},
              {"运费", "9999999999999.99", "", "yf"}},
             "TY0000000123456789");
    EXPECT_EQ(saved("bgf"), "80.13|");
    EXPECT_EQ(saved("ddf"), "-1.01|");
    ca::fees::FeeSheet sheet;
    addUser(1, "张三", {{"bgf", 1}, {"ddf", 1}, {"yf", 1}});
    ASSERT_EQ(sheet.InputData(dm, "张三", "TY0000000123456789", "TY_NO", MatchMode::Whole),
              LoadOutcome::Loaded);
    EXPECT_EQ(sheet.rows[0][kAmountColumn], "80.13");
    EXPECT_EQ(sheet.rows[1][kAmountColumn], "-1.01");
    EXPECT_EQ(sheet.rows[2][kAmountColumn], "9999999999999.99");
    EXPECT_EQ(sheet.totalText, "10000000000079.11");
}

TEST_P(FeeSaveTest, TwoDesksSavingDifferentDeclarationsDoNotWaitForEachOther) {
    if (!onServer())
        GTEST_SKIP() << "a SQLite file takes one writer at a time: a second desk's save waits for the first";
    ca::db::TDM desk2(database.target());
    ca::db::Transaction unfinished(dm);  // desk 1 in the middle of its save
    saveFees(dm, {{"报关费", "1", "甲", "bgf"}}, "TY0000000123456789");
    auto second = std::async(std::launch::async, [&] {
        saveFees(desk2, {{"报关费", "2", "乙", "bgf"}}, "TY0000000987654321");
    });
    const bool done = second.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    unfinished.commit();
    second.get();
    EXPECT_TRUE(done) << "desk 2 waited for desk 1";
    EXPECT_EQ(rows("select ty_no,bgf from T_fee order by ty_no"),
              (Rows{"TY0000000123456789|1", "TY0000000987654321|2"}));
}

TEST_P(FeeSaveTest, ABadValueAnywhereIsRefusedBeforeAnyRowIsWritten) {
    const std::pair<const char*, const char*> bad[] = {
        {"abc", "费用“运费”的金额“abc”不是有效的数字，未保存任何费用。"},
        {"", "费用“运费”的金额为空，未保存任何费用。"},
        {"1e400", "费用“运费”的金额“1e400”超出范围（整数部分最多 13 位），未保存任何费用。"},
        {"1e20", "费用“运费”的金额“1e20”超出范围（整数部分最多 13 位），未保存任何费用。"},
        {"123456789012345.67",
         "费用“运费”的金额“123456789012345.67”超出范围（整数部分最多 13 位），未保存任何费用。"},
    };
    for (auto [amount, message] : bad) {
        try {
            saveFees(dm, {{"报关费", "12.50", "first", "bgf"}, {"运费", amount, "", "yf"}},
                     "TY0000000123456789");
            ADD_FAILURE() << amount;
        } catch (const FeeAmountError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
        EXPECT_EQ(saved("bgf"), "0|<null>") << amount;
    }
}

TEST_P(FeeSaveTest, AFailureMidwayUndoesTheWholeSave) {
    failOn("UPDATE", "T_fee1", "NEW.yf IS NOT NULL");
    EXPECT_THROW(
        saveFees(dm, {{"报关费", "12.5", "a", "bgf"}, {"运费", "3", "b", "yf"}}, "TY0000000123456789"),
        ca::db::DbError);
    EXPECT_EQ(saved("bgf"), "0|<null>");
    EXPECT_EQ(saved("yf"), "0|<null>");
    // A remark longer than an added item's remark column (char (50)) is refused by the database.
    exec("alter table T_fee add zdy01 numeric (18 ,2)");
    exec("alter table T_fee1 add zdy01 char (50)");
    try {
        saveFees(dm, {{"报关费", "1", "", "bgf"}, {"自定义", "1", std::string(51, 'x'), "zdy01"}},
                 "TY0000000123456789");
        ADD_FAILURE();
    } catch (const ca::db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("zdy01"), std::string::npos) << e.what();
    }
    EXPECT_EQ(saved("bgf"), "0|<null>");
    saveFees(dm, {{"自定义", "1", std::string(50, 'x'), "zdy01"}}, "TY0000000123456789");
}

TEST_P(FeeSaveTest, TheCommandAsksWarnsAndRefuses) {
    const FeeGridRows rows = {{"报关费", "5", "", "bgf"}};
    EXPECT_EQ(saveFeeSheet(dm, prompts, rows, "TY0000000123456789"),
              SaveOutcome::Declined);  // unscripted: No
    EXPECT_EQ(saved("bgf"), "0|<null>");

    prompts.answerQuestion(ca::Button::Yes);
    EXPECT_EQ(saveFeeSheet(dm, prompts, {}, "TY0000000123456789"), SaveOutcome::NothingToSave);
    prompts.answerQuestion(ca::Button::Yes);
    EXPECT_EQ(saveFeeSheet(dm, prompts, {{"报关费", "x", "", "bgf"}}, "TY0000000123456789"),
              SaveOutcome::Refused);
    prompts.answerQuestion(ca::Button::Yes);
    EXPECT_EQ(saveFeeSheet(dm, prompts, rows, "TY0000000123456789"), SaveOutcome::Saved);
    EXPECT_EQ(saved("bgf"), "5|");
    EXPECT_EQ(prompts.texts("question"), std::vector<std::string>(4, "您确定要保存吗？"));
    EXPECT_EQ(prompts.texts("warning"),
              (std::vector<std::string>{"当前用户无权限修改费用，无数据可保存！",
                                        "费用“报关费”的金额“x”不是有效的数字，未保存任何费用。"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, FeeSaveTest, ca::db::testing::AllEngines(), ca::db::testing::EngineName);
