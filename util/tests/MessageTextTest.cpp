// Texts shown to a person: long error texts are cut with their full length, the one command guard
// shows them cut.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ca/util/CommandGuard.h"
#include "ca/util/Excerpt.h"
#include "ca/util/Prompts.h"

using namespace ca;

TEST(Excerpt, ShortTextsStayLongOnesAreCutOnACharacterWithTheirLength) {
    EXPECT_EQ(excerpt("近似 short", 8), "近似 short");
    EXPECT_EQ(excerpt("报关单报关单", 4), "报关单报……（共 6 个字符，只显示前 4 个）");
    const std::string statement = "select * from LoadData where TY_No='" + std::string(100'000, 'x') + "'";
    const std::string cut = excerpt("无效的 SQL 语句：" + statement);
    EXPECT_LT(cut.size(), 500u);
    EXPECT_NE(cut.find("共 " + std::to_string(11 + statement.size()) + " 个字符"), std::string::npos);
}

TEST(Excerpt, TheCommandGuardShowsAnErrorCut) {
    ScriptedPrompts prompts;
    EXPECT_FALSE(CommandGuard::run(prompts, [] { throw std::runtime_error(std::string(50'000, 'q')); }));
    ASSERT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_LT(prompts.texts("error")[0].size(), 500u);
    EXPECT_NE(prompts.texts("error")[0].find("共 50000 个字符"), std::string::npos);
}
