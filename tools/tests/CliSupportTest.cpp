// The command base (declared options, one parser, the database's target) and the subcommands' row
// printing and console prompts.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../CliCommand.h"
#include "../CliRegistry.h"
#include "../CliSupport.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

using namespace ca::cli;

namespace {

std::filesystem::path& programDir() {
    static std::filesystem::path dir;
    return dir;
}

const Command kMonth{"u", {{"--month", "M", true}, {"--flag", ""}}, {{"文件", true}}, DatabaseUse::None, "",
                     {}};
const Command kData{"d", {}, {}, DatabaseUse::Existing, "", {}};

}  // namespace

// The tests decide where "the program" lies, and so which config.ini is beside it.
std::string ca::cli::executableDir() {
    return programDir().string();
}

TEST(CliCommand, ParsesDeclaredOptionsFlagsAndArguments) {
    Invocation a(kMonth, {"--flag", "x.xls", "--month", "2011-01", "--month", "2011-02"});
    EXPECT_EQ(a.option("--month"), "2011-02");  // the last of a repeated option counts
    EXPECT_TRUE(a.has("--flag"));
    EXPECT_EQ(a.option("--year"), std::nullopt);
    EXPECT_EQ(a.arguments(), (std::vector<std::string>{"x.xls"}));
    EXPECT_EQ(Invocation(kMonth, {"--month", "m"}).argument(0), "");  // an optional argument left out
    EXPECT_EQ(usageLine(kMonth), "u [文件] --month M [--flag]");
    EXPECT_EQ(usageLine(kData), "d [--db 数据库] [--config config.ini]");

    struct Case {
        std::vector<std::string> args;
        const char* message;
    } bad[] = {
        {{"--year", "2011"}, "未知的参数 '--year'\n用法：u [文件] --month M [--flag]"},
        {{"--month"}, "参数 --month 缺少值\n用法：u [文件] --month M [--flag]"},
        {{"--db", "x"}, "未知的参数 '--db'\n用法：u [文件] --month M [--flag]"},  // no database here
        {{}, "缺少 --month M\n用法：u [文件] --month M [--flag]"},
        {{"--month", "m", "a", "b c"},
         "多余的参数“b c”（含空格的值请用引号括成一个参数）\n用法：u [文件] --month M [--flag]"},
    };
    for (const auto& c : bad) {
        try {
            Invocation(kMonth, c.args);
            ADD_FAILURE() << c.message;
        } catch (const UsageError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_THROW(Invocation(kData, {"--db"}), UsageError);
    EXPECT_THROW(Invocation(kMonth, {"--month", "m"}).date("--month", {}), UsageError);
    EXPECT_EQ(Invocation(kMonth, {"--month", "2011-01-31"}).date("--month", {}), (ca::Date{2011, 1, 31}));
}

// The database of a command: --db, else the server of the config.ini given with --config or lying
// beside the program, else DB.sqlite, as the window program decides.
TEST(CliCommand, TakesTheDatabaseAsTheWindowProgramDoes) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ca_cli_command_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "program");
    programDir() = dir / "program";
    EXPECT_EQ(Invocation(kData, {}).databaseTarget(), "DB.sqlite");  // no config.ini at all
    const auto setServer = [](const std::filesystem::path& file, const std::string& server) {
        ca::IniFile(file).WriteString(ca::settings::kSection, ca::settings::kDatabaseServer, server);
    };
    setServer(dir / "program" / "config.ini", "server1");
    setServer(dir / "other.ini", "host=h2 dbname=d");
    EXPECT_EQ(Invocation(kData, {}).databaseTarget(), "host=server1");
    EXPECT_EQ(Invocation(kData, {"--config", (dir / "other.ini").string()}).databaseTarget(),
              "host=h2 dbname=d");
    EXPECT_EQ(
        Invocation(kData, {"--db", "d.sqlite", "--config", (dir / "other.ini").string()}).databaseTarget(),
        "d.sqlite");
    EXPECT_THROW(Invocation(kData, {"--config", (dir / "none.ini").string()}).databaseTarget(),
                 std::runtime_error);
    std::filesystem::remove_all(dir);
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
