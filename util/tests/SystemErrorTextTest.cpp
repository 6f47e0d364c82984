#include "ca/util/SystemErrorText.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
