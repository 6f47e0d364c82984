#include <gtest/gtest.h>

#include "ca/fees/Amount.h"
#include "ca/fees/AmountCheck.h"
#include "ca/fees/FeeStatement.h"

using namespace ca::fees;

TEST(Amount, RoundsHalfAwayFromZeroOnTheDecimalDigitsAndNeverShowsMinusZero) {
    struct Case {
        const char* typed;
        const char* text;   // two decimals
        const char* plain;  // as a grid cell shows it
    };
    const Case cases[] = {
        {"0", "0.00", "0"},
        {"-0", "0.00", "0"},
        {"-0.004", "0.00", "0"},
        {"12.5", "12.50", "12.5"},
        {"80.125", "80.13", "80.13"},  // a double would hold 80.125 and round it to even
        {"-80.125", "-80.13", "-80.13"},
        {"1.005", "1.01", "1.01"},  // a double holds 1.00499999...
        {"0.005", "0.01", "0.01"},
        {"-3.456", "-3.46", "-3.46"},
        {" 7 ", "7.00", "7"},
        {"+.5", "0.50", "0.5"},
        {"1.5e3", "1500.00", "1500"},
        {"5e-3", "0.01", "0.01"},
        {"4.9e-3", "0.00", "0"},
        {"123456789012345.67", "123456789012345.67", "123456789012345.67"},
        {"1e-999999999", "0.00", "0"},
    };
    for (const Case& c : cases) {
        const auto a = Amount::parse(c.typed);
        ASSERT_TRUE(a) << c.typed;
        EXPECT_EQ(a->text(), c.text) << c.typed;
        EXPECT_EQ(a->plainText(), c.plain) << c.typed;
    }
    for (const char* bad :
         {"", " ", "abc", "12,5", "1.2.3", ".", "-", "1e", "1e+", "inf", "nan", "0x10", "1 2"})
        EXPECT_FALSE(Amount::parse(bad)) << bad;
}

TEST(Amount, StoredValuesAndSumsStayExact) {
    // Stored doubles read as the shortest text that gives them back, then the same rounding.
    EXPECT_EQ(Amount::fromDouble(80.125)->text(), "80.13");
    EXPECT_EQ(Amount::fromDouble(123456789012345.67)->plainText(), "123456789012345.67");
    EXPECT_EQ(Amount::fromDouble(-0.0)->text(), "0.00");
    EXPECT_FALSE(Amount::fromDouble(1.0 / 0.0));
    EXPECT_EQ(Amount::fromInteger(-9223372036854775807 - 1).text(), "-9223372036854775808.00");

    auto sum = [](std::initializer_list<const char*> texts) {
        Amount total;
        for (const char* t : texts)
            total += *Amount::parse(t);
        return total.text();
    };
    EXPECT_EQ(sum({"0.1", "0.2"}), "0.30");
    EXPECT_EQ(sum({"123456789012345.67", "0.02"}), "123456789012345.69");
    EXPECT_EQ(sum({"5", "-7.5"}), "-2.50");
    EXPECT_EQ(sum({"-5", "5"}), "0.00");
    EXPECT_EQ(sum({"-0.01", "-0.99", "10"}), "9.00");
    Amount huge = *Amount::fromDouble(1e308);
    huge += huge;
    EXPECT_EQ(huge.text(), "2" + std::string(308, '0') + ".00");  // never "inf"
}

TEST(Amount, AnAmountColumnHoldsThirteenDigitsBeforeThePoint) {
    EXPECT_EQ(checkedAmount("报关费", "9999999999999.99", "").text(), "9999999999999.99");
    EXPECT_EQ(checkedAmount("报关费", "-9999999999999.994", "").text(), "-9999999999999.99");
    for (const char* tooLarge :
         {"9999999999999.995", "10000000000000", "123456789012345.67", "1e308", "-1e16"}) {
        try {
            checkedAmount("报关费", tooLarge, "未保存任何费用。");
            ADD_FAILURE() << tooLarge;
        } catch (const FeeAmountError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("费用“报关费”的金额“") + tooLarge +
                                                 "”超出范围（整数部分最多 13 位），未保存任何费用。");
        }
    }
}

TEST(FeeStatement, LinesLeaveOutZeroAndEmptyAmountsAndFormatTheRest) {
    const FeeGridRows rows = {
        {"报关费", "0", "免", "bgf"},       // exactly "0": left out
        {"报检费", "0.00", "", "bjf"},      // typed "0.00": printed
        {"打单费", "12.5", "现金", "ddf"},  //
        {"代理费", "", "", "dlf"},          // no amount (Null): left out
        {"运费", "-0", "退", "yf"},         //
        {"滞报金", " 7 ", "", "zbj"},       // blanks around a number still read
        {"查验费", "1.005", "", "cyf"},     // rounded half away from zero on the digits
    };
    EXPECT_EQ(feeStatementLines(rows), (std::vector<StatementLine>{
                                           {"费用项目", "费用", "备注"},
                                           {"报检费 : ", "0.00", ""},
                                           {"打单费 : ", "12.50", "现金"},
                                           {"运费 : ", "0.00", "退"},
                                           {"滞报金 : ", "7.00", ""},
                                           {"查验费 : ", "1.01", ""},
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
