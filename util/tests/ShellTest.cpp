#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ca/util/CommandGuard.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"

using namespace ca;
namespace fs = std::filesystem;

TEST(MessageBoxes, EmptyCaptionMeansApplicationTitle) {
    ScriptedPrompts p;
    p.answerQuestion(Button::Yes);
    infoBox(p, "i");
    warningBox(p, "w", "提示");
    EXPECT_EQ(questionBox(p, "q"), Button::Yes);
    EXPECT_EQ(questionBox(p, "q2", "确认"), Button::No);  // unanswered: No, the default button
    plainMessage(p, "m");
    ASSERT_EQ(p.shown().size(), 5u);
    EXPECT_EQ(p.shown()[0].caption, "报关助手");
    EXPECT_EQ(p.shown()[1].caption, "提示");
    EXPECT_EQ(p.shown()[2].caption, "报关助手");
    EXPECT_EQ(p.shown()[3].caption, "确认");
    EXPECT_EQ(p.shown()[4].kind, "plain");
}

TEST(CommandGuard, ShowsTheErrorAndRunsOn) {
    ScriptedPrompts p;
    EXPECT_TRUE(CommandGuard::run(p, [] {}));
    EXPECT_FALSE(CommandGuard::run(p, [] { throw std::runtime_error("数据库错误"); }));
    EXPECT_FALSE(CommandGuard::run(p, [] { throw 42; }));
    EXPECT_EQ(p.texts("error"), (std::vector<std::string>{"数据库错误", "发生未知错误"}));
}

TEST(Folders, ListsVisibleFilesSortedByName) {
    fs::path dir = fs::temp_directory_path() / "ca_folders_test";
    fs::remove_all(dir);
    fs::create_directories(dir / "子文件夹.xls");
    for (const char* name : {"b.xls", "A.xls", "报关单.xls", ".hidden.xls", "a2.txt"})
        std::ofstream(dir / pathFromUtf8(name)) << "x";
    EXPECT_EQ(listFolderFiles(dir), (std::vector<std::string>{"A.xls", "a2.txt", "b.xls", "报关单.xls"}));
    EXPECT_TRUE(listFolderFiles(dir / "missing").empty());

    fs::path before = fs::current_path();
    enterFolder(dir / pathFromUtf8("子文件夹.xls"));
    EXPECT_EQ(fs::current_path(), fs::canonical(dir / pathFromUtf8("子文件夹.xls")));
    fs::current_path(before);
    EXPECT_THROW(enterFolder(dir / "missing"), std::runtime_error);
    EXPECT_THROW(enterFolder(""), std::runtime_error);
    fs::remove_all(dir);
}
