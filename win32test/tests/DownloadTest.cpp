// A whole download from the Win32 stand-in client (64-bit and 32-bit) with the recording capture:
// the query list read and selected across the process boundary, the open button, the declaration
// form's fields, the goods walk and the closing menu command. What is captured must equal what the
// same download captures from the simulated stand-in, and hold the fixture's texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fixtures.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/automation/win32/ClientDesktop.h"
#include "ca/automation/win32/WineMenuDesktop.h"
#include "ca/download/DownloadDriver.h"
#include "ca/download/RecordingCapture.h"
#include "ca/util/Clock.h"
#include "ca/util/Prompts.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;

// Three rows: a general-trade import declaration with three goods lines, a processing-trade row
// stored from its list cells alone, and a general-trade declaration without goods lines.
const char* const kDownloadFixture = R"({
  "queryDate": "20240115",
  "kind": "进口报关单",
  "rows": [
    ["220120240000000001", "TY0001", "上海经营单位甲", "BL001", "20240110", "一般贸易", "3", "远洋号",
     "", "", "申报单位乙", "1", "吴淞海关"],
    ["220120240000000002", "TY0002", "经营单位'丙", "BL002", "20240111", "进料加工", "0", "船名2",
     "", "", "申报单位", "1", "浦东海关"],
    ["220120240000000003", "TY0003", "经营单位丁", "BL003", "20240112", "一般贸易", "0", "",
     "", "", "", "1", "外高桥"]
  ],
  "declarations": {
    "TY0001": {
      "header": {"79": "TY0001", "75": "220120240000000001", "63": "上海经营单位甲", "65": "20240112",
                 "67": "20240110", "46": "一般贸易", "48": "BL001"},
      "operator": {"0": "021-12345678", "2": "张三"},
      "goods": [
        {"texts": {"0": "84713000", "1": "笔记本电脑", "40": "1", "24": "1200.50", "22": "美元", "7": "中国"}},
        {"texts": {"0": "84713000", "1": "平板电脑", "40": "2", "24": "", "22": "美元"}},
        {"texts": {"0": "84713000", "1": "台式电脑", "40": "3", "24": "99", "38": "C1234"}}
      ]
    },
    "TY0003": {"header": {"79": "TY0003", "75": "220120240000000003"}}
  }
})";

struct DownloadOutcome {
    std::vector<std::string> captured;  // RecordingCapture::describe()
    std::vector<std::string> log;
    std::vector<std::string> shown;  // prompts: kind and text
    std::vector<std::string> goodsNames;
};

DownloadOutcome download(Desktop& desktop, Clock& clock, std::int64_t mainDelay, std::int64_t goodsDelay) {
    VectorLog log;
    ScriptedPrompts prompts;
    download::RecordingCapture capture(&log);
    download::DownloadSettings settings{kClasses.container, kClasses.edit, kClasses.list, kClasses.button,
                                        kClasses.combo,     mainDelay,     goodsDelay};
    download::DownloadDriver driver(desktop, clock, log, prompts, capture, settings);
    driver.MainLoadData();

    DownloadOutcome outcome;
    outcome.captured = capture.describe();
    outcome.log = log.lines;
    for (const ScriptedPrompts::Shown& s : prompts.shown())
        outcome.shown.push_back(s.kind + ": " + s.text);
    for (const auto& g : capture.goods())
        outcome.goodsNames.push_back(g.goods[1]);
    return outcome;
}

DownloadOutcome downloadFromSimulatedClient() {
    VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::StandInClient client(desktop, sim::StandInConfig{}, sim::parseFixture(kDownloadFixture));
    return download(desktop, clock, 300, 160);
}

class Win32Download : public testing::TestWithParam<int> {};

TEST_P(Win32Download, CapturesWhatTheSimulatedClientGives) {
    const DownloadOutcome expected = downloadFromSimulatedClient();
    ASSERT_FALSE(expected.captured.empty());

    StandinProcess client(GetParam() == 64 ? testPaths().standin64 : testPaths().standin32, kDownloadFixture,
                          "download-" + std::to_string(GetParam()));
    ASSERT_TRUE(client.running());
    EXPECT_EQ(client.is64(), GetParam() == 64);
    // The desktop the release programs open (under Wine with the menu copy of CA_WINE_CLIENT_MENU,
    // which scripts/test-win32 names).
    const std::shared_ptr<Desktop> desktop = win32::openClientDesktop();
    SteadyClock clock;
    // The Win32 client acts on the open button and the closing command while handling them; shorter
    // delays than the defaults keep the run short.
    const DownloadOutcome actual = download(*desktop, clock, 250, 40);

    EXPECT_EQ(actual.captured, expected.captured);
    EXPECT_EQ(actual.log, expected.log);
    EXPECT_EQ(actual.shown, (std::vector<std::string>{"plain: 恭喜，导入完成！"}));
    EXPECT_EQ(actual.goodsNames, (std::vector<std::string>{"笔记本电脑", "平板电脑", "台式电脑"}));

    // Two declarations were opened and each closed by the menu command at 7/2, which crossed to
    // the client as a real WM_COMMAND.
    std::vector<std::string> opened;
    for (const std::string& line : client.received())
        if (line.rfind("open ", 0) == 0 || line.rfind("menu ", 0) == 0 || line == "close")
            opened.push_back(line);
    const std::string closeCommand =
        "menu " + std::to_string(sim::menuItemIdentifier(sim::kCloseMenuTop, sim::kCloseMenuItem));
    EXPECT_EQ(opened, (std::vector<std::string>{"open 0 TY0001", closeCommand, "close", "open 2 TY0003",
                                                closeCommand, "close"}));
    if (win32::runningUnderWine()) {
        auto* wine = dynamic_cast<win32::WineMenuDesktop*>(desktop.get());
        ASSERT_NE(wine, nullptr);
        EXPECT_EQ(wine->mirroredMenus(), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Client, Win32Download, testing::Values(64, 32),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Bits" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace ca::win32test
