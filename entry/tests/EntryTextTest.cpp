#include <gtest/gtest.h>

#include "ca/entry/EntryText.h"

using namespace ca::entry;

TEST(EntryText, CurrencyIsTheLeadingRunOfNonDigits) {
    const struct {
        const char* cell;
        const char* currency;
    } cases[] = {
        {"USD12345.00", "USD"}, {"EUR", "EUR"},  {"12345USD", ""}, {"", ""},
        {"美元 100", "美元 "},  {"HK$9", "HK$"}, {"-5", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetCurrencyText(c.cell), c.currency) << c.cell;
}

TEST(EntryText, GoodsCodePiecesCountGbkBytes) {
    const struct {
        const char* code;
        std::size_t first, count;
        const char* piece;
    } cases[] = {
        {"8471300000", 0, 8, "84713000"},
        {"8471300000", 8, 2, "00"},
        {"84713000", 8, 2, ""},
        {"847130001", 8, 2, "1"},
        {"", 0, 8, ""},
        {"编码12345678", 0, 8, "编码1234"},  // two Chinese characters are four bytes
        {"编码12345678", 8, 2, "56"},
        {"1234567编码", 0, 8, "1234567编"},  // a character starting at byte 8 stays whole
        {"1234567编码", 8, 2, "码"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gbkSlice(c.code, c.first, c.count), c.piece) << c.code;
}

TEST(EntryText, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(trimBlanksAndControls(" \t\r\n集装箱 001\x01 "), "集装箱 001");
    EXPECT_EQ(trimBlanksAndControls(" \t "), "");
}

TEST(EntryText, OnlyTheExactTextTaiwanIsReplaced) {
    EXPECT_EQ(countryText("台湾"), "台澎金马关税区");
    EXPECT_EQ(countryText("台湾省"), "台湾省");
    EXPECT_EQ(countryText(" 台湾"), " 台湾");
    EXPECT_EQ(countryText("日本"), "日本");
}
