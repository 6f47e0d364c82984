#include <gtest/gtest.h>

#include "ca/app/main/DropRule.h"

using ca::app::acceptDroppedFiles;

TEST(DropRule, OnlyLowerCaseXlsAnywhereInThePathCounts) {
    const std::string refused = " 不是一个有效的EXCEL文件，无法导入！";
    struct Case {
        std::string path;
        bool accepted;
    } cases[] = {
        {"/data/报关单.xls", true},
        {"/data/报关单.XLS", false},
        {"/data/报关单.xlsx", true},
        {"/data/xls样本/说明.txt", true},
        {"/data/Xls/a.doc", false},
        {"/data/" + std::string(400, 'd') + "/长路径.xls", true},  // long paths are taken whole
    };
    for (const auto& c : cases) {
        auto out = acceptDroppedFiles({c.path});
        ASSERT_EQ(out.logLines.size(), 1u);
        EXPECT_EQ(out.logLines[0], c.accepted ? c.path : c.path + refused) << c.path;
        EXPECT_EQ(out.pendingFile.value_or(""), c.accepted ? c.path : "") << c.path;
    }
}

TEST(DropRule, LastAcceptedFileOfADropIsPending) {
    auto out = acceptDroppedFiles({"/d/1.xls", "/d/2.xls", "/d/3.txt", "/d/4.xls", "/d/5.doc"});
    EXPECT_EQ(out.logLines.size(), 5u);
    EXPECT_EQ(out.pendingFile.value_or(""), "/d/4.xls");
}
