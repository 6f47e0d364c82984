#include <gtest/gtest.h>

#include "ca/util/AsciiCase.h"

using namespace ca;

// Only the 52 ASCII letters fold: UTF-8 and GBK bytes (all >= 0x80 in a lead byte) and the
// characters next to the letters ('@', '[', '`', '{') stay as they are.
TEST(AsciiCase, OnlyAsciiLettersFold) {
    EXPECT_EQ(toLowerAscii("AZaz@[`{ 0_Ä报关单ÉX"), "azaz@[`{ 0_Ä报关单Éx");
    EXPECT_EQ(toUpperAscii("AZaz@[`{ 0_ä报关单éx"), "AZAZ@[`{ 0_ä报关单éX");
    struct Case {
        const char *a, *b;
        bool equal;
    };
    const Case cases[] = {
        {"T_FEE", "t_fee", true}, {"bgf", "BGF", true}, {"", "", true},    {"报关单A", "报关单a", true},
        {"Ä", "ä", false},        {"a", "ab", false},   {"@", "`", false}, {"[", "{", false},
        {"ta", "t\xc1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(equalsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}
