#include <gtest/gtest.h>

#include <algorithm>

#include "ClientTestSupport.h"
#include "ca/automation/Controls.h"
#include "ca/automation/EntryControls.h"
#include "ca/automation/Lookup.h"
#include "ca/automation/TextEntry.h"

namespace ca::automation {
namespace {

using sim::Area;
using testing::Desk;
using testing::entryConfig;

std::size_t filled(const Chain& chain) {
    return static_cast<std::size_t>(std::count_if(chain.begin(), chain.end(), [](HWnd w) { return w != 0; }));
}

std::optional<EntryWindowMap> find(Desk& desk, const sim::StandInClient& client) {
    const auto& c = client.config().classes;
    return FindEntryControls(desk.desktop, desk.log, client.config().processName, c.container, c.edit);
}

TEST(FindEntryControls, FindsEveryChainOfTheEntryForm) {
    Desk desk;
    auto client = desk.client(entryConfig());
    const auto map = find(desk, *client);
    ASSERT_TRUE(map.has_value());
    EXPECT_EQ(desk.log.lines, (std::vector<std::string>{"已找到海关录入程序", "搜索编辑框......."}));
    EXPECT_EQ(client->restoreCount(), 1);
    EXPECT_EQ(map->client, client->mainWindow());

    struct Expect {
        const Chain& chain;
        std::size_t length;
        Area area;
    };
    const Expect edits[] = {
        {map->HeaderEdits, 82, Area::Header}, {map->Panel1Edits, 11, Area::Panel1},
        {map->Panel3Edits, 5, Area::Panel3},  {map->Panel4Edits, 7, Area::Panel4},
        {map->GoodsEdits, 42, Area::Goods},   {map->SidePanelEdits, 11, Area::Side},
    };
    for (const Expect& e : edits) {
        ASSERT_EQ(e.chain.size(), e.length);
        EXPECT_EQ(filled(e.chain), e.length);
        for (std::size_t i = 0; i < e.length; ++i) {
            EXPECT_EQ(e.chain[i], client->fieldWindow({e.area, static_cast<int>(i)}));
        }
    }
    EXPECT_EQ(filled(map->OuterPanels), 11u);
    EXPECT_EQ(filled(map->InnerPanels), 101u);
}

TEST(FindEntryControls, ShortChainLeavesLaterPositionsEmptyAndTheirWritesDoNothing) {
    Desk desk;
    auto config = entryConfig();
    config.layout.panel3Edits = 3;
    config.layout.outerPanels = 1;
    auto client = desk.client(config);
    const auto map = find(desk, *client);
    ASSERT_TRUE(map.has_value());
    EXPECT_EQ(filled(map->Panel3Edits), 3u);
    EXPECT_EQ(map->Panel3Edits[3], 0u);
    EXPECT_EQ(map->Panel3Edits[4], 0u);
    // No side panel: the chain under the missing OuterPanels 1 is empty.
    EXPECT_EQ(filled(map->SidePanelEdits), 0u);

    const auto before = desk.desktop.sentCount();
    const auto events = client->events().size();
    PasteConfirm(desk.desktop, desk.clock, map->Panel3Edits[4], "无处可写", 50, 50);
    SetText(desk.desktop, map->SidePanelEdits[3], "x");
    EXPECT_EQ(desk.desktop.sentCount(), before);
    EXPECT_EQ(client->events().size(), events);
}

TEST(FindEntryControls, FailingContainerLookups) {
    struct Case {
        const char* what;
        std::function<void(Desk&, sim::StandInClient&)> arrange;
        std::vector<std::string> log;
    };
    const std::string missing = "无法找到 " + sim::ClientClasses{}.container + "，请确认程序是否已经启动";
    const Case cases[] = {
        {"client not running",
         [](Desk&, sim::StandInClient& c) { c.exit(); },
         {"无法找到海关录入程序，请确认程序是否已经启动"}},
        {"no container under the main window",
         [](Desk& d, sim::StandInClient& c) {
             for (HWnd w : d.desktop.children(c.mainWindow()))
                 d.desktop.destroyWindow(w);
         },
         {kClientFound, missing}},
        {"first container has no container child",
         [](Desk& d, sim::StandInClient& c) {
             const HWnd outer = d.desktop.children(c.mainWindow()).front();
             for (HWnd w : d.desktop.children(outer))
                 d.desktop.destroyWindow(w);
         },
         {kClientFound, missing}},
        {"modal dialog in front",
         [](Desk&, sim::StandInClient& c) { c.showModalDialog("请确认"); },
         {kClientFound, missing}},
    };
    for (const Case& c : cases) {
        Desk desk;
        auto client = desk.client(entryConfig());
        c.arrange(desk, *client);
        EXPECT_FALSE(find(desk, *client).has_value()) << c.what;
        EXPECT_EQ(desk.log.lines, c.log) << c.what;
    }
}

}  // namespace
}  // namespace ca::automation
