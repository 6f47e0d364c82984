#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "ca/automation/Controls.h"
#include "ca/automation/ListView.h"
#include "ca/automation/Lookup.h"
#include "ca/automation/TextEntry.h"
#include "ca/util/Gbk.h"

namespace ca::automation {
namespace {

using sim::Area;
using testing::Desk;

sim::ClientFixture twoDeclarations() {
    return sim::parseFixture(R"({
      "queryDate": "20240115",
      "kind": "进口报关单",
      "rows": [
        ["220120240001", "TY0001", "甲公司", "BL1", "20240110", "一般贸易", "2", "船", "", "", "报关行", "1", "吴淞"],
        {"1": "TY0002", "5": "进料加工", "6": "0", "11": "1"}
      ],
      "declarations": {
        "TY0001": {
          "header": {"79": "TY0001", "75": "220120240001"},
          "operator": {"0": "021-1234", "2": "张三"},
          "goods": [
            {"texts": {"0": "84713000", "1": "笔记本电脑", "40": "1"}},
            {"texts": {"0": "84713000", "1": "平板电脑", "40": "2"}}
          ]
        }
      }
    })");
}

// The controls of the query screen and the declaration form as the download finds them.
struct Screens {
    Desk& desk;
    const sim::ClientClasses& c;
    HWnd main;

    HWnd outer() { return FirstChild(desk.desktop, main, c.container); }
    Chain queryPanels() { return BuildChain(desk.desktop, outer(), c.container, 11); }
    HWnd queryList() { return FirstChild(desk.desktop, queryPanels()[0], c.list); }
    Chain buttons() { return BuildChain(desk.desktop, queryPanels()[0], c.button, 4); }
    Chain filters() { return BuildChain(desk.desktop, queryPanels()[1], c.container, 11); }
    Chain formPanels() { return BuildChain(desk.desktop, outer(), c.container, 101); }
};

TEST(StandInClient, QueryScreenOpenReadAndCloseADeclaration) {
    Desk desk;
    auto client = desk.client({}, twoDeclarations());
    const auto& c = client->config().classes;
    Screens s{desk, c, FindClient(desk.desktop, desk.log, "Eport.exe")};
    ASSERT_NE(s.main, 0u);

    // Query screen.
    EXPECT_EQ(ControlText(desk.desktop, FirstChild(desk.desktop, s.main, c.label)),
              "报关单/转关运输提前报关单查询");
    EXPECT_EQ(ControlText(desk.desktop, FirstChild(desk.desktop, s.filters()[0], c.edit)), "20240115");
    EXPECT_EQ(ControlText(desk.desktop, BuildChain(desk.desktop, s.filters()[1], c.combo, 11)[3]),
              "进口报关单");
    const HWnd list = s.queryList();
    ASSERT_EQ(list, client->queryList());
    EXPECT_EQ(s.buttons()[2], client->openButton());
    EXPECT_EQ(ReadListCell(desk.desktop, list, 1, 11).text, "1");
    EXPECT_EQ(ReadListCell(desk.desktop, list, 2, 11).text, "");
    EXPECT_EQ(client->queryRows().at(1).at(5), "进料加工");

    // A posted click reaches the client only after its handling delay.
    PostClick(desk.desktop, list);
    EXPECT_TRUE(client->events().empty() ||
                client->events().back().type != sim::ClientEvent::Type::PostedClick);
    desk.clock.sleepMs(client->config().timings.postedMessage);
    EXPECT_EQ(client->events().back().type, sim::ClientEvent::Type::PostedClick);

    // Select row 0 and press the open button: the form shows after the client's delay.
    PostClick(desk.desktop, list);
    SelectListRow(desk.desktop, list, 0, 11);
    SendClick(desk.desktop, s.buttons()[2]);
    EXPECT_EQ(client->screen(), sim::Screen::Query);
    desk.clock.sleepMs(300);
    ASSERT_EQ(client->screen(), sim::Screen::Declaration);
    EXPECT_EQ(client->openedRows(), std::vector<int>{0});

    const Chain panels = s.formPanels();
    const Chain header = BuildChain(desk.desktop, panels[0], c.edit, 82);
    const Chain operators = BuildChain(desk.desktop, panels[2], c.edit, 82);
    const Chain goods = BuildChain(desk.desktop, panels[5], c.edit, 101);
    const HWnd goodsList = FirstChild(desk.desktop, panels[5], c.list);
    EXPECT_EQ(ControlText(desk.desktop, header[79]), "TY0001");
    EXPECT_EQ(ControlText(desk.desktop, header[1]), "");
    EXPECT_EQ(ControlText(desk.desktop, operators[2]), "张三");
    EXPECT_EQ(ControlText(desk.desktop, goods[1]), "笔记本电脑");
    EXPECT_EQ(ReadListCell(desk.desktop, goodsList, 0, 1).text, "84713000");
    EXPECT_EQ(client->goodsRows(),
              (std::vector<std::vector<std::string>>{{"1", "84713000"}, {"2", "84713000"}}));
    EXPECT_EQ(client->fieldTexts(Area::Operator)[0], "021-1234");

    // Selecting goods row 1 shows line 2; row 2 does not exist.
    PostClick(desk.desktop, goodsList);
    desk.clock.sleepMs(160);
    EXPECT_EQ(SelectListRow(desk.desktop, goodsList, 1, 0).text, "2");
    EXPECT_EQ(ControlText(desk.desktop, goods[1]), "平板电脑");
    EXPECT_EQ(ControlText(desk.desktop, goods[40]), "2");
    EXPECT_EQ(SelectListRow(desk.desktop, goodsList, 2, 0).text, "");

    // Menu 7, item 2 closes the form; the query screen's handles still hold.
    EXPECT_TRUE(MenuCommand(desk.desktop, s.main, 7, 2));
    desk.clock.sleepMs(300);
    EXPECT_EQ(client->screen(), sim::Screen::Query);
    EXPECT_EQ(s.queryList(), list);
    EXPECT_EQ(ReadListCell(desk.desktop, list, 0, 1).text, "TY0001");
    EXPECT_EQ(client->menuCommands(), std::vector<std::uint32_t>{sim::menuItemIdentifier(7, 2)});

    // A row without a declaration opens an empty form.
    PostClick(desk.desktop, list);
    SelectListRow(desk.desktop, list, 1, 11);
    SendClick(desk.desktop, s.buttons()[2]);
    desk.clock.sleepMs(300);
    EXPECT_EQ(client->openDeclarationKey(), "TY0002");
    EXPECT_EQ(ControlText(desk.desktop, BuildChain(desk.desktop, s.formPanels()[0], c.edit, 82)[79]), "");
    EXPECT_EQ(ReadListCell(desk.desktop, FirstChild(desk.desktop, s.formPanels()[5], c.list), 0, 1).text, "");
}

TEST(StandInClient, OtherMenuItemsAndMissingMenuPositions) {
    Desk desk;
    auto client = desk.client({}, twoDeclarations());
    client->openDeclaration(0);
    desk.desktop.setTracing(true);
    EXPECT_TRUE(MenuCommand(desk.desktop, client->mainWindow(), 0, 1));
    // One WM_COMMAND to the window: the item's identifier with a zero high word, no submenu.
    ASSERT_EQ(desk.desktop.trace().size(), 1u);
    EXPECT_EQ(desk.desktop.trace()[0].window, client->mainWindow());
    EXPECT_EQ(desk.desktop.trace()[0].msg, 0x0111u);
    EXPECT_EQ(desk.desktop.trace()[0].wParam, WParam{sim::menuItemIdentifier(0, 1)});
    EXPECT_EQ(desk.desktop.trace()[0].lParam, 0);
    desk.desktop.setTracing(false);
    EXPECT_FALSE(MenuCommand(desk.desktop, client->mainWindow(), 8, 0));
    EXPECT_FALSE(MenuCommand(desk.desktop, client->mainWindow(), 7, 4));
    EXPECT_FALSE(MenuCommand(desk.desktop, client->openButton(), 7, 2));
    desk.clock.sleepMs(1000);
    EXPECT_EQ(client->screen(), sim::Screen::Declaration);
    EXPECT_EQ(client->menuCommands(), std::vector<std::uint32_t>{sim::menuItemIdentifier(0, 1)});
}

TEST(StandInClient, TextOfAControlIsCutAt255Bytes) {
    Desk desk;
    auto client = desk.client(testing::entryConfig());
    const HWnd field = client->fieldWindow({Area::Header, 0});
    desk.desktop.setText(field, std::string(300, 'z'));
    EXPECT_EQ(ControlText(desk.desktop, field), std::string(255, 'z'));
    desk.desktop.setText(field, std::string(254, 'z') + utf8ToGbk("关税"));
    EXPECT_EQ(ControlText(desk.desktop, field), std::string(254, 'z'));
    EXPECT_EQ(ControlText(desk.desktop, 0), "");
}

TEST(StandInClient, ClientExitsBetweenMessages) {
    Desk desk;
    auto client = desk.client({}, twoDeclarations());
    const HWnd main = client->mainWindow();
    const HWnd list = client->queryList();
    const HWnd open = client->openButton();
    PostClick(desk.desktop, list);
    SelectListRow(desk.desktop, list, 0, 11);
    SendClick(desk.desktop, open);
    // The client ends while the open is pending and before the posted click is handled.
    client->exit();
    desk.clock.sleepMs(1000);

    EXPECT_EQ(ReadListCell(desk.desktop, list, 0, 1).answer, 0);
    EXPECT_EQ(SelectListRow(desk.desktop, list, 0, 1).text, "");
    EXPECT_EQ(ControlText(desk.desktop, main), "");
    EXPECT_FALSE(MenuCommand(desk.desktop, main, 7, 2));
    SetTextConfirm(desk.desktop, desk.clock, open, "x");
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe"), 0u);
    EXPECT_EQ(desk.log.lines, std::vector<std::string>{kClientNotFound});
    EXPECT_EQ(client->screen(), sim::Screen::Gone);
}

TEST(StandInClient, ActsOnARealClockWhenItsQueueIsPumped) {
    SteadyClock clock;
    sim::SimDesktop desktop(clock);
    clock.setIdleHook([&] { desktop.pump(); });
    sim::StandInConfig config;
    config.timings = {1, 5, 5, 0};
    sim::StandInClient client(desktop, config, twoDeclarations());
    PostClick(desktop, client.queryList());
    SelectListRow(desktop, client.queryList(), 0, 11);
    SendClick(desktop, client.openButton());
    EXPECT_EQ(client.screen(), sim::Screen::Query);
    clock.sleepMs(40);
    EXPECT_EQ(client.screen(), sim::Screen::Declaration);
    EXPECT_EQ(client.events().front().type, sim::ClientEvent::Type::Select);
    ASSERT_TRUE(MenuCommand(desktop, client.mainWindow(), 7, 2));
    clock.sleepMs(40);
    EXPECT_EQ(client.screen(), sim::Screen::Query);
}

TEST(ClientFixture, MalformedInputIsRefusedWithItsReason) {
    struct Case {
        const char* json;
        const char* reason;
    };
    const Case cases[] = {
        {"{", "不是有效的 JSON"},
        {"[]", "必须是一个 JSON 对象"},
        {R"({"rows": {}})", "rows"},
        {R"({"rows": [["a", 1.5]]})", "rows[0][1]"},
        {R"({"rows": [{"x": "a"}]})", "“x”不是位置序号"},
        {R"({"declarations": {"T": {"goods": [{"texts": {"-1": "a"}}]}}})", "declarations.T.goods[0].texts"},
        {R"({"client": {"screen": "form"}})", "client.screen"},
        {R"({"client": {"formKind": "both"}})", "client.formKind"},
    };
    for (const Case& c : cases) {
        try {
            sim::parseFixture(c.json);
            ADD_FAILURE() << c.json;
        } catch (const sim::FixtureError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(sim::loadFixture("/nonexistent/fixture.json"), sim::FixtureError);
}

TEST(ClientFixture, SampleFixtureOpensItsDeclarations) {
    Desk desk;
    auto client = desk.client({}, sim::loadFixture(CA_SIM_FIXTURES "/import-query.json"));
    EXPECT_EQ(client->queryRows().size(), 3u);
    client->openDeclaration(0);
    EXPECT_EQ(client->fieldText({Area::Header, 79}), "I20240000001");
    EXPECT_EQ(client->goodsRows().size(), 2u);
    client->openDeclaration(2);
    EXPECT_EQ(client->fieldText({Area::Header, 75}), "220120240000000003");
    EXPECT_TRUE(client->goodsRows().empty());
}

TEST(ClientFixture, ClientSectionConfiguresTheStandIn) {
    const auto f =
        sim::parseFixture(R"({"client": {"processName": "QP.exe", "screen": "entry", "formKind": "export"},
                                        "rows": [["a", "b"]], "queryDate": 20240101})");
    sim::StandInConfig config;
    f.applyTo(config);
    EXPECT_EQ(config.processName, "QP.exe");
    EXPECT_EQ(config.startScreen, sim::Screen::Entry);
    EXPECT_EQ(config.formKind, sim::FormKind::Export);
    EXPECT_EQ(f.queryDate, "20240101");
    EXPECT_EQ(f.rows, (std::vector<std::vector<std::string>>{{"a", "b"}}));
}

}  // namespace
}  // namespace ca::automation
