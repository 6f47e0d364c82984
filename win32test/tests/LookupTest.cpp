// Finding the client on a real desktop: the process snapshot, the top-level windows, restore.
#include <windows.h>

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/Lookup.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;

TEST(Win32Lookup, FindsTheClientByExecutableNameIgnoringAsciiCase) {
    StandinProcess client(testPaths().standin64, entryFixture("import"), "lookup-name");
    ASSERT_TRUE(client.running());
    Desktop& desktop = realDesktop();
    struct Case {
        const char* name;
        bool found;
    };
    const Case cases[] = {{"Eport.exe", true}, {"EPORT.EXE", true},   {"eport.EXE", true},
                          {"Eport", false},    {"Eport.exe ", false}, {"other.exe", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetPID(desktop, c.name), c.found ? client.pid() : 0u);
    }
    EXPECT_EQ(GetHWndByPID(desktop, client.pid()), client.mainWindow());
    EXPECT_EQ(GetHWndByPID(desktop, 0), 0u);
}

TEST(Win32Lookup, AMinimisedClientIsFoundAndRestored) {
    StandinProcess client(testPaths().standin64, entryFixture("import"), "lookup-restore");
    ASSERT_TRUE(client.running());
    HWND main = reinterpret_cast<HWND>(client.mainWindow());
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));

    VectorLog log;
    EXPECT_EQ(FindClient(realDesktop(), log, "EPORT.EXE"), client.mainWindow());
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(client.waitForLine("restore"));
    EXPECT_FALSE(IsIconic(main));
}

TEST(Win32Lookup, NoClientRunningLogsTheFixedLine) {
    VectorLog log;
    EXPECT_EQ(FindClient(realDesktop(), log, "Eport.exe"), 0u);
    EXPECT_EQ(log.lines, std::vector<std::string>{kClientNotFound});
}

}  // namespace
}  // namespace ca::win32test
