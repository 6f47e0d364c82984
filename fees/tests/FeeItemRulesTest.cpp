#include <gtest/gtest.h>

#include "ca/fees/FeeItemRules.h"

using namespace ca::fees;

TEST(FeeItemRules, CodesAreRefusedWhenTheyCannotBeAFeeColumn) {
    const std::pair<const char*, const char*> refused[] = {
        {"TY_NO", "TY_NO 是系统字段不可用！"},
        {"ty_no", "ty_no 是系统字段不可用！"},  // reserved in any letter case
        {"GID", "GID 是系统字段不可用！"},
        {"Kh", "Kh 是系统字段不可用！"},
        {"bgno", "bgno 是系统字段不可用！"},
        {"", "请输入新字段名称！"},
    };
    for (auto [code, message] : refused)
        EXPECT_EQ(codeRefusal(code), std::optional<std::string>(message)) << code;
    for (const char* bad : {"1abc", "a b", "select", "费用", "a-b", "_x", "x'y"}) {
        auto why = codeRefusal(bad);
        ASSERT_TRUE(why) << bad;
        EXPECT_NE(why->find(std::string("“") + bad + "”"), std::string::npos) << *why;
    }
    for (const char* good : {"zdy01", "A", "fee_2", "THCf2", "kh1"})
        EXPECT_EQ(codeRefusal(good), std::nullopt) << good;
    EXPECT_EQ(nameRefusal(""), std::optional<std::string>("请输入费用名称！"));
    EXPECT_EQ(nameRefusal("自定义收费项目01"), std::nullopt);
}
