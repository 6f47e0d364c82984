// Control chains, the entry window map and the menu command by position on real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "StandinMenu.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/Controls.h"
#include "ca/automation/EntryControls.h"
#include "ca/automation/Lookup.h"
#include "ca/automation/sim/StandInConfig.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;

TEST(Win32Chains, FollowWindowOrderWhateverTheClassAndEndAtTheLastSibling) {
    StandinProcess client(testPaths().standin64, entryFixture("import"), "chains");
    ASSERT_TRUE(client.running());
    Desktop& desktop = realDesktop();

    // Under the main window: the form's 11 outer panels, the hidden query screen's outer panel,
    // then the caption label, which is the last child.
    Chain outer = BuildChain(desktop, client.mainWindow(), kClasses.container, 15);
    ASSERT_EQ(outer.size(), 15u);
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(desktop.windowClassName(outer[i]), kClasses.container) << i;
    EXPECT_EQ(desktop.windowClassName(outer[12]), kClasses.label);
    EXPECT_EQ(outer[13], 0u);
    EXPECT_EQ(outer[14], 0u);
    EXPECT_EQ(FirstChild(desktop, client.mainWindow(), kClasses.label), outer[12]);
    EXPECT_EQ(FirstChild(desktop, client.mainWindow(), "NoSuchClass"), 0u);

    // Panel 5 holds the goods list first: the edit chain starts at the first edit after it.
    HWnd panel5 = At(BuildChain(desktop, outer[0], kClasses.container, 6), 5);
    Chain goods = BuildChain(desktop, panel5, kClasses.edit, 3);
    EXPECT_EQ(desktop.windowClassName(FirstChild(desktop, panel5, kClasses.list)), kClasses.list);
    EXPECT_EQ(NextSibling(desktop, FirstChild(desktop, panel5, kClasses.list)), goods[0]);
}

// The configured class names of the client's windows: the stand-in's default names (its own
// classes built on the system's controls) and the system's own class names.
struct ClassSet {
    const char* what;
    std::string container, edit;
    std::vector<std::string> args;  // the stand-in's ROLE=CLASS arguments
};

TEST(Win32Chains, FindEntryControlsBuildsTheWholeMapUnderTheConfiguredClassNames) {
    const ClassSet sets[] = {
        {"stand-in defaults", kClasses.container, kClasses.edit, {}},
        {"system classes",
         "TPanel",
         "Edit",
         {"container=TPanel", "edit=Edit", "list=SysListView32", "button=Button", "label=Static",
          "combo=ComboBox"}},
    };
    for (const ClassSet& set : sets) {
        SCOPED_TRACE(set.what);
        StandinProcess client(testPaths().standin64, entryFixture("export"), "entry-map", set.args);
        ASSERT_TRUE(client.running());
        Desktop& desktop = realDesktop();
        VectorLog log;
        auto map = FindEntryControls(desktop, log, "Eport.exe", set.container, set.edit);
        ASSERT_TRUE(map.has_value());
        EXPECT_EQ(log.lines, (std::vector<std::string>{kClientFound, kSearchingEdits}));
        EXPECT_EQ(map->client, client.mainWindow());
        struct Case {
            const char* name;
            const Chain& chain;
            std::size_t length;
            const std::string& cls;
        };
        const Case cases[] = {
            {"OuterPanels", map->OuterPanels, 11, set.container},
            {"InnerPanels", map->InnerPanels, 101, set.container},
            {"HeaderEdits", map->HeaderEdits, 82, set.edit},
            {"Panel1Edits", map->Panel1Edits, 11, set.edit},
            {"Panel3Edits", map->Panel3Edits, 5, set.edit},
            {"Panel4Edits", map->Panel4Edits, 7, set.edit},
            {"GoodsEdits", map->GoodsEdits, 42, set.edit},
            {"SidePanelEdits", map->SidePanelEdits, 11, set.edit},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            ASSERT_EQ(c.chain.size(), c.length);
            for (std::size_t i = 0; i < c.length; ++i)
                EXPECT_EQ(desktop.windowClassName(c.chain[i]), c.cls) << i;
        }
        EXPECT_TRUE(client.waitForLine("restore"));

        VectorLog failed;
        EXPECT_FALSE(FindEntryControls(desktop, failed, "Eport.exe", "TNoPanel", set.edit).has_value());
        EXPECT_EQ(failed.lines,
                  (std::vector<std::string>{kClientFound, "无法找到 TNoPanel，请确认程序是否已经启动"}));
    }
}

// The menu walk runs in this process: Wine answers no menu queries about another process's menus
// (the cross-process path is covered through the resulting WM_COMMAND by the download test).
struct Received {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    int count = 0;
};
Received g_received;

LRESULT CALLBACK recordingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) {
        g_received = {msg, wp, lp, g_received.count + 1};
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST(Win32Menu, CommandByPositionSendsTheItemIdentifier) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CaMenuProbe";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "CaMenuProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                             buildClientMenuBar(), wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    Desktop& desktop = realDesktop();
    const HWnd hw = reinterpret_cast<HWnd>(w);

    struct Case {
        int top, item;
        bool sent;
    };
    const Case cases[] = {{7, 2, true},  {0, 0, true},  {3, 1, true},
                          {8, 0, false}, {7, 4, false}, {-1, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.top << "/" << c.item);
        g_received = {};
        EXPECT_EQ(MenuCommand(desktop, hw, c.top, c.item), c.sent);
        EXPECT_EQ(g_received.count, c.sent ? 1 : 0);
        if (c.sent) {
            EXPECT_EQ(g_received.wParam, automation::sim::menuItemIdentifier(c.top, c.item));
            EXPECT_EQ(g_received.lParam, 0);
        }
    }
    DestroyWindow(w);
}

}  // namespace
}  // namespace ca::win32test
