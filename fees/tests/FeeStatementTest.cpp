#include <gtest/gtest.h>

#include "ca/fees/AmountCheck.h"
#include "ca/fees/AmountText.h"
#include "ca/fees/FeeStatement.h"

using namespace ca::fees;

TEST(FeeStatement, AmountTextRoundsToCentsAndNeverShowsMinusZero) {
    const std::pair<double, const char*> cases[] = {
        {0, "0.00"},
        {-0.0, "0.00"},
        {12.5, "12.50"},
        {-0.004, "0.00"},
        {0.005, "0.01"},
        {-3.456, "-3.46"},
        {1234567.891, "1234567.89"},
    };
    for (auto [value, text] : cases)
        EXPECT_EQ(amountText(value), text) << value;
}

TEST(FeeStatement, LinesLeaveOutZeroAndEmptyAmountsAndFormatTheRest) {
    const FeeGridRows rows = {
        {"报关费", "0", "免", "bgf"},       // exactly "0": left out
        {"报检费", "0.00", "", "bjf"},      // typed "0.00": printed
        {"打单费", "12.5", "现金", "ddf"},  //
        {"代理费", "", "", "dlf"},          // no amount (Null): left out
        {"运费", "-0", "退", "yf"},         //
        {"滞报金", " 7 ", "", "zbj"},       // blanks around a number still read
    };
    EXPECT_EQ(feeStatementLines(rows), (std::vector<StatementLine>{
                                           {"费用项目", "费用", "备注"},
                                           {"报检费 : ", "0.00", ""},
                                           {"打单费 : ", "12.50", "现金"},
                                           {"运费 : ", "0.00", "退"},
                                           {"滞报金 : ", "7.00", ""},
                                       }));
}

TEST(FeeStatement, ABadAmountStopsTheLinesBeforeAnythingIsPrintedAndNamesTheFee) {
    for (const char* bad : {"abc", "1e400", "12,5", "1e16"}) {
        try {
            feeStatementLines({{"报关费", "5", "", "bgf"}, {"查验商检费", bad, "", "cysjf"}});
            ADD_FAILURE() << bad;
        } catch (const FeeAmountError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("查验商检费"), std::string::npos) << text;
            EXPECT_NE(text.find(bad), std::string::npos) << text;
            EXPECT_NE(text.find("无法打印"), std::string::npos) << text;
        }
    }
}

TEST(FeeStatement, LayoutPlacesEveryTextAtItsDeviceCoordinates) {
    FeeStatementTexts t{"客户甲", "2011-01-05", "钢材", "HT1",     "TD2", "520120111000000001",
                        "99.00",  "某某报关行", "6222", "工商银行"};
    const std::vector<StatementLine> lines = {{"费用项目", "费用", "备注"}, {"报关费 : ", "12.50", "现金"}};
    const std::string rule(73, '-');
    // n = 2 lines including the header.
    EXPECT_EQ(feeStatementLayout(t, lines), (std::vector<PlacedText>{
                                                {200, 200, "客户：客户甲"},
                                                {200, 300, "日期：2011-01-05"},
                                                {200, 400, "货名：钢材"},
                                                {1800, 400, "合同号：HT1"},
                                                {200, 500, "提单号：TD2"},
                                                {1800, 500, "报关单号：520120111000000001"},
                                                {200, 600, rule},
                                                {200, 750, "费用项目"},
                                                {1200, 750, "费用"},
                                                {1900, 750, "备注"},
                                                {200, 900, "报关费 : "},
                                                {1200, 900, "12.50"},
                                                {1900, 900, "现金"},
                                                {200, 1050, rule},
                                                {1200, 1200, "99.00"},
                                                {200, 1500, "帐户：某某报关行"},
                                                {200, 1650, "帐号：6222"},
                                                {200, 1800, "开户行：工商银行"},
                                            }));
}
