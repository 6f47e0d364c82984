#include <gtest/gtest.h>

#include "ca/util/NameRule.h"

using namespace ca;

TEST(NameRule, TrimsBlanksOfEitherWidthAtBothEndsOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"张三", "张三"},
        {"  张三\t", "张三"},
        {"\u3000张三\u3000", "张三"},     // ideographic space
        {"\u00A0O'Neil \r\n", "O'Neil"},  // no-break space, line break
        {"张 三", "张 三"},               // blanks inside stay
        {"   ", ""},
        {"\u3000", ""},
        {"", ""},
    };
    for (auto [typed, trimmed] : cases)
        EXPECT_EQ(trimName(typed), trimmed) << typed;
}

TEST(NameRule, NamesDifferingOnlyInBlanksCaseOrWidthAreTheSame) {
    const std::pair<const char*, const char*> same[] = {
        {"ABC", "abc"},          {"ＡＢＣ", "abc"},          {" 报关部 ", "报关部"},
        {"财务部１", "财务部1"}, {"Ｏ＇Ｎｅｉｌ", "o'neil"}, {"A\u3000B", "A B"},
    };
    for (auto [a, b] : same)
        EXPECT_TRUE(sameName(a, b)) << a << " / " << b;
    const std::pair<const char*, const char*> different[] = {
        {"张三", "张四"}, {"AB C", "ABC"}, {"报关部", "报关"}, {"Ä", "ä"},  // only ASCII letters fold
    };
    for (auto [a, b] : different)
        EXPECT_FALSE(sameName(a, b)) << a << " / " << b;
}
