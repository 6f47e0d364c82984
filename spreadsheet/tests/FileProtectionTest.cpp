// Saving and appending leave a file they may not write alone, keep the permissions of the file they
// replace, write through a symbolic link to the file it names, and name a missing folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "TestFiles.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::spreadsheet {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const SpreadsheetError& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<fs::path> entries(const fs::path& dir) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(FileProtection, AReadOnlyFileIsRefusedAndLeftAsItWas) {
    const auto dir = tempDir("protect_readonly");
    const std::string path = (dir / "list.xls").string();
    saveTextRows(path, "StringGrid1", {{"旧"}}, false);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = readFile(path);
    const std::string message = errorOf([&] { appendTextRows(path, {{"新"}}); });
    EXPECT_NE(message.find("只读"), std::string::npos) << message;
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(errorOf([&] { saveTextRows(path, "StringGrid1", {{"新"}}, true); }), message);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(entries(dir), std::vector<fs::path>{"list.xls"});
}

TEST(FileProtection, AnAppendKeepsThePermissionsOfTheFile) {
    const auto dir = tempDir("protect_mode");
    const std::string path = (dir / "list.xls").string();
    saveTextRows(path, "StringGrid1", {{"旧"}}, false);
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    appendTextRows(path, {{"新"}});
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, mode);
    EXPECT_EQ(Workbook::open(path).cellText(3, 1), "新");
}

#ifndef _WIN32
TEST(FileProtection, AnAppendThroughALinkWritesTheFileItNames) {
    const auto dir = tempDir("protect_link");
    fs::create_directories(dir / "real");
    fs::create_directories(dir / "links");
    const std::string real = (dir / "real" / "list.xls").string();
    saveTextRows(real, "StringGrid1", {{"旧"}}, false);
    fs::create_symlink("../real/list.xls", dir / "links" / "list.xls");
    const std::string link = (dir / "links" / "list.xls").string();
    appendTextRows(link, {{"新"}});
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(Workbook::open(real).cellText(3, 1), "新");
    EXPECT_EQ(entries(dir / "links"), std::vector<fs::path>{"list.xls"});
    EXPECT_EQ(entries(dir / "real"), std::vector<fs::path>{"list.xls"});
}
#endif

TEST(FileProtection, AMissingFolderOrAFolderIsNamed) {
    const auto dir = tempDir("protect_folder");
    const std::string inMissing = (dir / "没有" / "list.xls").string();
    std::string message = errorOf([&] { saveTextRows(inMissing, "StringGrid1", {{"x"}}, false); });
    EXPECT_NE(message.find("文件夹“" + (dir / "没有").string() + "”不存在"), std::string::npos) << message;
    message = errorOf([&] { saveTextRows(dir.string(), "StringGrid1", {{"x"}}, true); });
    EXPECT_NE(message.find("文件夹，不是文件"), std::string::npos) << message;
}

}  // namespace
}  // namespace ca::spreadsheet
