#include "ca/util/SystemErrorText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

namespace {

TEST(SystemErrorText, CommonReasonsAreChineseAndTheRestKeepTheirCode) {
    EXPECT_EQ(ca::systemErrorText(std::make_error_code(std::errc::no_space_on_device)), "磁盘空间不足");
    EXPECT_EQ(ca::systemErrorText(std::make_error_code(std::errc::permission_denied)),
              "没有权限，或文件正被其他程序使用");
    // The platform's own error of a real call, as std::filesystem reports it.
    std::error_code ec;
    (void)std::filesystem::file_size("/no/such/folder/file.xls", ec);
    EXPECT_EQ(ca::systemErrorText(ec), "文件或文件夹不存在");

    const std::string other = ca::systemErrorText(std::make_error_code(std::errc::protocol_error));
    EXPECT_EQ(other.rfind("系统错误 " + std::to_string(static_cast<int>(std::errc::protocol_error)), 0), 0u)
        << other;
}

// The standard library's own errors reach the error box in Chinese; every other error keeps its text.
TEST(SystemErrorText, StandardLibraryErrorsBecomeChinese) {
    try {
        (void)std::filesystem::file_size("/no/such/folder/a.xls");
        FAIL();
    } catch (const std::filesystem::filesystem_error& e) {
        EXPECT_EQ(ca::errorText(e), "文件操作失败“/no/such/folder/a.xls”：文件或文件夹不存在");
    }
    EXPECT_EQ(ca::errorText(std::bad_alloc()), "内存不足");
    EXPECT_EQ(ca::errorText(std::runtime_error("无法读取“a.xls”：文件是空的")),
              "无法读取“a.xls”：文件是空的");
}

}  // namespace
