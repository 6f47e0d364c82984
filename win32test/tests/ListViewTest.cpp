// Reading and selecting rows of a real "SysListView32" in another process, 64-bit and 32-bit: the
// item record is written into the client's memory in the client's own layout.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/Controls.h"
#include "ca/automation/ListView.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;

class Win32ListView : public testing::TestWithParam<int> {
protected:
    const std::filesystem::path& exe() const {
        return GetParam() == 64 ? testPaths().standin64 : testPaths().standin32;
    }
    // The query list as the download finds it: outer panel, panel 0, first list.
    static HWnd queryList(Desktop& desktop, HWnd main) {
        HWnd outer = FirstChild(desktop, main, kClasses.container);
        HWnd panel0 = FirstChild(desktop, outer, kClasses.container);
        return FirstChild(desktop, panel0, kClasses.list);
    }
    static UINT state(HWnd list, int row) {
        return static_cast<UINT>(SendMessageA(reinterpret_cast<HWND>(list), LVM_GETITEMSTATE,
                                              static_cast<WPARAM>(row), LVIS_FOCUSED | LVIS_SELECTED));
    }
};

TEST_P(Win32ListView, ReadsCellsAcrossTheProcessBoundary) {
    StandinProcess client(exe(), queryListFixture(), "list-read-" + std::to_string(GetParam()));
    ASSERT_TRUE(client.running());
    EXPECT_EQ(client.is64(), GetParam() == 64);
    Desktop& desktop = realDesktop();
    HWnd list = queryList(desktop, client.mainWindow());
    ASSERT_NE(list, 0u);

    struct Case {
        int row, column;
        std::string text;
        LResult answer;  // characters (bytes) copied; -1: not compared
    };
    const Case cases[] = {
        {0, 0, "220120241000000001", 18},
        {0, 2, "上海经营单位甲", 14},
        {0, 12, "吴淞海关", 8},
        {1, 1, "TY0002", 6},
        // A 300-byte cell comes back cut to 255 bytes. Wine's list view fills all 256 bytes of the
        // buffer and answers 256 where Windows answers 255, so the answer is not compared.
        {1, 2, std::string(255, 'x'), -1},
        {2, 5, "进料加工", 8},
        {4, 11, "1", 1},
        {4, 12, "", 0},  // an empty cell
        {5, 0, "", 0},   // beyond the last row
        {0, 13, "", 0},  // beyond the last column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
        ListAnswer a = ReadListCell(desktop, list, c.row, c.column);
        EXPECT_EQ(a.text, c.text);
        if (c.answer >= 0) {
            EXPECT_EQ(a.answer, c.answer);
        }
    }
}

TEST_P(Win32ListView, SelectingARowKeepsOtherSelectionsAndMovesTheFocus) {
    StandinProcess client(exe(), queryListFixture(), "list-select-" + std::to_string(GetParam()));
    ASSERT_TRUE(client.running());
    Desktop& desktop = realDesktop();
    HWnd list = queryList(desktop, client.mainWindow());
    ASSERT_NE(list, 0u);

    ListAnswer first = SelectListRow(desktop, list, 1, 1);
    EXPECT_NE(first.answer, 0);
    EXPECT_EQ(first.text, "TY0002");
    ListAnswer third = SelectListRow(desktop, list, 3, 11);
    EXPECT_NE(third.answer, 0);
    EXPECT_EQ(third.text, "1");

    EXPECT_EQ(state(list, 1), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(state(list, 3), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(state(list, 0), 0u);
    EXPECT_EQ(client.received(), (std::vector<std::string>{"focus query 1", "select query 1", "focus query 3",
                                                           "select query 3"}));

    ListAnswer beyond = SelectListRow(desktop, list, 7, 11);
    EXPECT_EQ(beyond.text, "");
    EXPECT_EQ(beyond.answer, 0);
}

INSTANTIATE_TEST_SUITE_P(Client, Win32ListView, testing::Values(64, 32),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace ca::win32test
