// The desktop the tests run on must be a Chinese one: the customs client's ANSI controls hold GBK
// text only where the ANSI code page is 936. Under another code page every Chinese field would be
// typed as other characters, so this is checked first and by itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ca/util/Gbk.h"

namespace ca::win32test {
namespace {

TEST(Win32Environment, AnsiCodePageIsGbk) {
    EXPECT_EQ(GetACP(), 936u);

    // GBK bytes given to an ANSI window come back as the same Chinese characters in Unicode.
    const std::wstring chinese = L"\u4E0A\u6D77\u6D66\u4E1C\u56FD\u9645\u673A\u573A";  // 上海浦东国际机场
    const std::string gbk = ca::utf8ToGbk("上海浦东国际机场");
    ASSERT_EQ(gbk.size(), 16u);
    HWND edit = CreateWindowExA(0, "Edit", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(SetWindowTextA(edit, gbk.c_str()));
    wchar_t wide[64] = {};
    GetWindowTextW(edit, wide, 64);
    char ansi[64] = {};
    GetWindowTextA(edit, ansi, 64);
    DestroyWindow(edit);
    EXPECT_EQ(std::wstring(wide), chinese);
    EXPECT_EQ(std::string(ansi), gbk);
}

}  // namespace
}  // namespace ca::win32test
