// The subcommands' shared argument parsing, row printing and console prompts.
#include <gtest/gtest.h>

#include <sstream>

#include "../CliSupport.h"

using namespace ca::cli;

TEST(CliSupport, ParsesTheCommonOptionsTheCommandsOwnAndPositionals) {
    Arguments a =
        parseArguments({"find", "--out", "x.xls", "--month", "2011-01", "--db", "d.sqlite", "extra"},
                       "business-data", {"--month"});
    EXPECT_EQ(a.db, "d.sqlite");
    EXPECT_EQ(a.out, "x.xls");
    EXPECT_EQ(a.option("--month"), "2011-01");
    EXPECT_EQ(a.option("--year"), std::nullopt);
    EXPECT_EQ(a.positional, (std::vector<std::string>{"find", "extra"}));
    EXPECT_EQ(parseArguments({}, "u").db, "DB.sqlite");  // the program's database file by default

    struct Case {
        std::vector<std::string> args;
        const char* message;
    } bad[] = {
        {{"--year", "2011"}, "未知的参数 '--year'\n用法：u --month M"},
        {{"--month"}, "参数 --month 缺少值\n用法：u --month M"},
        {{"--db"}, "参数 --db 缺少值\n用法：u --month M"},
    };
    for (const auto& c : bad) {
        try {
            parseArguments(c.args, "u --month M", {"--month"});
            ADD_FAILURE() << c.message;
        } catch (const UsageError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(CliSupport, PrintsRowsAsEscapedTabText) {
    std::ostringstream out;
    printRows(out, {{"a\tb", "c"}, {"第一行\n第二行", ""}});
    EXPECT_EQ(out.str(), "a\\tb\tc\n第一行\\n第二行\t\n");
}

TEST(CliSupport, ConsolePromptsAnswerTheSaveDialogWithTheOutFile) {
    EXPECT_EQ(ConsolePrompts("x.xls").saveFile("", "*.xls", "xls"), "x.xls");
    EXPECT_EQ(ConsolePrompts().saveFile("", "*.xls", "xls"), "");
    EXPECT_EQ(ConsolePrompts("x.xls").openFile("", "*.xls"), "");
    EXPECT_EQ(ConsolePrompts().question("覆盖吗？", ""), ca::Button::No);
}
