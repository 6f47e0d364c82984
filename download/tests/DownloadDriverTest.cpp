// The download walk against the stand-in client on virtual time, with a recording capture: which
// rows are stored and how, the closing message, the waits, the goods walk and its retries, Stop,
// lookup failures and faults.
#include <gtest/gtest.h>

#include "DownloadRig.h"
#include "ca/automation/CountingDesktop.h"
#include "ca/download/LoadDataColumns.h"
#include "ca/download/RecordingCapture.h"
#include "ca/download/SubDataColumns.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/Convert.h"

using namespace ca::download;
using namespace ca::download::testing;
using Outcome = DownloadDriver::Outcome;

namespace {

const std::string kDone = "恭喜，导入完成！";
const std::string kNotFound = "无法找到海关录入程序，请确认程序是否已经启动";

DownloadSettings withMainDelay(DownloadSettings s, std::int64_t mainDelayMs) {
    s.mainDelayMs = mainDelayMs;
    return s;
}

struct Download {
    explicit Download(sim::ClientFixture f, sim::StandInConfig cfg = {}, std::int64_t mainDelayMs = 300)
        : rig(std::move(f), std::move(cfg)),
          driver(rig.desktop, rig.clock, rig.log, rig.prompts, capture,
                 withMainDelay(rig.settings(), mainDelayMs)) {}
    Rig rig;
    RecordingCapture capture{&rig.log};
    DownloadDriver driver;
};

std::vector<std::string> keysOf(const RecordingCapture& c) {
    std::vector<std::string> keys;
    for (const auto& h : c.headers())
        keys.push_back(h.header[h.exportVariant ? 78 : 79]);
    return keys;
}

TEST(DownloadDriver, EmptyListStoresNothingAndShowsNoMessage) {
    Download run(fixture("进口报关单", {}));
    run.driver.MainLoadData();
    EXPECT_EQ(run.driver.outcome(), Outcome::EmptyList);
    EXPECT_TRUE(run.capture.headers().empty());
    EXPECT_TRUE(run.rig.prompts.shown().empty());
    EXPECT_TRUE(run.rig.log.lines.empty());
}

TEST(DownloadDriver, EveryRowThenTheClosingMessageOnceWithTheWaitsInTheirPlaces) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "2"), listRow("I2", kProcessing, "5"),
                                    listRow("I3", kGeneral, "0")});
    f.declarations["I1"] = declaration(0, "I1", 2);
    f.declarations["I3"] = declaration(0, "I3", 0);
    Download run(f);
    std::vector<DownloadProgress> progress;
    run.driver.setProgressHandler([&](const DownloadProgress& p) { progress.push_back(p); });
    run.driver.MainLoadData();

    EXPECT_EQ(run.driver.outcome(), Outcome::Completed);
    EXPECT_EQ(run.rig.prompts.texts("plain"), std::vector<std::string>{kDone});
    EXPECT_EQ(run.rig.prompts.shown().size(), 1u);
    EXPECT_EQ(keysOf(run.capture), (std::vector<std::string>{"I1", "I2", "I3"}));
    EXPECT_EQ(run.capture.goods().size(), 2u);
    EXPECT_EQ(run.rig.client.openedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(run.rig.client.menuCommands().size(), 2u);
    EXPECT_EQ(run.rig.client.screen(), sim::Screen::Query);
    EXPECT_EQ(run.rig.log.lines, (std::vector<std::string>{"进口报关单:I1（录入）", "I1 编号:1 名称:商品0",
                                                           "I1 编号:2 名称:商品1", "进口报关单:I2（录入）",
                                                           "进口报关单:I3（录入）"}));
    EXPECT_EQ(progress.back(), (DownloadProgress{3, 3, 2}));

    // First selection: main. General row with two lines: main after column 5, main after the open
    // button, two goods delays before the header, two per line and two for the empty row, main
    // after the form. Other row: main and 100 ms. General row without lines: no goods walk.
    const std::int64_t main = 300, goods = 160;
    const std::int64_t expected =
        main + (3 * main + 2 * goods + 2 * 2 * goods + 2 * goods) + (main + 100) + (3 * main + 2 * goods);
    EXPECT_EQ(run.rig.clock.totalSleptMs(), expected);
}

// The order of reads, clicks and waits, from the desktop's trace: each sent message becomes a step
// (a row selection is "select", a plain cell read "read", texts of fields "text"), a run of equal
// steps counts once, and the virtual time passing between two steps shows as "wait N".
std::vector<std::string> paceOf(const Rig& rig) {
    std::vector<std::string> steps;
    std::int64_t at = 0;
    auto add = [&](const ca::automation::sim::TracedCall& t, std::string step) {
        if (t.atMs != at) steps.push_back("wait " + std::to_string(t.atMs - at));
        at = t.atMs;
        if (steps.empty() || steps.back() != step) steps.push_back(std::move(step));
    };
    const auto& trace = rig.desktop.trace();
    for (size_t i = 0; i < trace.size(); ++i) {
        const auto& t = trace[i];
        if (t.posted) continue;
        const std::string list = t.window == rig.client.queryList() ? "" : "goods ";
        if (t.msg == ca::automation::LvmGetItemTextA) {
            const bool selecting =
                i + 1 < trace.size() && trace[i + 1].msg == ca::automation::LvmSetItemState;
            add(t, list + (selecting ? "select" : "read"));
        } else if (t.msg == ca::automation::WmGetText) {
            add(t, "text");
        } else if (t.msg == ca::automation::WmLButtonDown) {
            add(t, "open");
        } else if (t.msg == ca::automation::WmCommand) {
            add(t, "menu");
        } else if (t.msg == ca::automation::WmSysCommand) {
            add(t, "restore");
        }
    }
    return steps;
}

TEST(DownloadDriver, TheWaitsStandBetweenTheRightSteps) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "1"), listRow("I2", kProcessing, "4")});
    f.declarations["I1"] = declaration(0, "I1", 1);
    Download run(f);
    run.rig.desktop.setTracing(true);
    run.driver.MainLoadData();
    ASSERT_EQ(run.driver.outcome(), Outcome::Completed);
    const std::vector<std::string> expected = {
        // Lookups, then row 0 selected once before the walk.
        "restore", "text", "select", "wait 300",
        // General trade: column 11, column 5, main, column 6, open button, main.
        "select", "read", "wait 300", "read", "open", "wait 300",
        // The opened form: operator and header fields, goods delay, first-line mark, goods delay,
        // goods name and every goods field.
        "restore", "text", "wait 160", "goods select", "wait 160", "text",
        // One goods line, then the empty row that ends the walk; the menu closes the form; main.
        "wait 160", "goods select", "wait 160", "text", "wait 160", "goods select", "wait 160", "menu",
        "wait 300",
        // Another trade mode: column 11, column 5, main, column 6 and the list cells, 100 ms.
        "select", "read", "wait 300", "read", "wait 100",
        // The row after the last one.
        "select"};
    EXPECT_EQ(paceOf(run.rig), expected);
}

TEST(DownloadDriver, AnEmptyPresenceMarkEndsTheWalk) {
    Download run(fixture("进口报关单", {listRow("I1", kProcessing, "1"), listRow("I2", kProcessing, "1", ""),
                                        listRow("I3", kProcessing, "1")}));
    run.driver.MainLoadData();
    EXPECT_EQ(keysOf(run.capture), std::vector<std::string>{"I1"});
    EXPECT_EQ(run.rig.prompts.texts("plain"), std::vector<std::string>{kDone});
}

TEST(DownloadDriver, TransitKindGoesThroughTheExportVariant) {
    auto f =
        fixture(std::string(kTransitKind), {listRow("E1", kGeneral, "2"), listRow("E2", kProcessing, "1")});
    f.declarations["E1"] = declaration(2, "E1", 2);
    Download run(f);
    run.driver.MainLoadData();
    ASSERT_EQ(run.capture.headers().size(), 2u);
    for (const auto& h : run.capture.headers()) {
        EXPECT_TRUE(h.exportVariant);
        EXPECT_EQ(h.kindText, kTransitKind);
    }
    EXPECT_EQ(keysOf(run.capture), (std::vector<std::string>{"E1", "E2"}));
    ASSERT_EQ(run.capture.goods().size(), 2u);
    EXPECT_EQ(run.capture.goods()[1].kindIndex, 2);
    auto line = run.capture.goods()[1].fields();
    EXPECT_EQ(fieldValue(line, "ZM"), fieldValue(line, "YT"));
    EXPECT_EQ(fieldValue(line, "SP_No").text, "2");
    EXPECT_EQ(fieldValue(line, "Pid").text, "E1");
}

TEST(DownloadDriver, AnUnknownKindOpensGeneralTradeButReadsNothing) {
    auto f = fixture("报关单", {listRow("X1", kGeneral, "1"), listRow("X2", kProcessing, "1")});
    f.declarations["X1"] = declaration(0, "X1", 1);
    Download run(f);
    run.driver.MainLoadData();
    EXPECT_TRUE(run.capture.headers().empty());
    EXPECT_EQ(run.rig.client.openedRows(), std::vector<int>{0});
    EXPECT_TRUE(run.rig.client.menuCommands().empty());
    EXPECT_EQ(run.rig.prompts.texts("plain"), std::vector<std::string>{kDone});
}

TEST(DownloadDriver, AFormThatHasNotOpenedIsNotReadNorClosedAndTheWalkGoesOn) {
    // The form shows long after the main delay: the reading finds the query screen, looks again for
    // a bounded time, then logs the row and stores nothing; no menu command is sent.
    sim::StandInConfig cfg;
    cfg.timings.openForm = 60'000;
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "1"), listRow("I2", kProcessing, "1")});
    f.declarations["I1"] = declaration(0, "I1", 1);
    Download run(f, cfg);
    run.driver.MainLoadData();
    EXPECT_EQ(run.rig.log.lines,
              (std::vector<std::string>{
                  "第1行（统一编号“I1”）：录入程序没有显示报关单，等待10秒后仍不是该行的报关单，此单未保存",
                  "进口报关单:I2（录入）"}));
    EXPECT_EQ(keysOf(run.capture), std::vector<std::string>{"I2"});
    EXPECT_TRUE(run.capture.goods().empty());
    EXPECT_TRUE(run.rig.client.menuCommands().empty());
    EXPECT_EQ(run.rig.clock.totalSleptMs(), 300 + (3 * 300 + kFormWaitMs) + (300 + 100));  // a bounded wait
}

TEST(DownloadDriver, AClientSlowerThanTheWaitsStoresEveryRowUnderItsOwnKey) {
    // The client takes longer to open and close a form than the configured main delay (also 0 or
    // less): every declaration is still read from its own form, with its own goods count and lines.
    struct Case {
        std::int64_t mainDelay, openForm, closeForm;
    };
    for (const Case c : {Case{300, 700, 900}, Case{0, 100, 100}, Case{-5, 100, 100}, Case{0, 2500, 40}}) {
        SCOPED_TRACE(::testing::Message() << "main " << c.mainDelay << ", open " << c.openForm);
        sim::StandInConfig cfg;
        cfg.timings.openForm = c.openForm;
        cfg.timings.closeForm = c.closeForm;
        auto f = fixture("进口报关单", {listRow("I1", kGeneral, "2"), listRow("I2", kGeneral, "1"),
                                        listRow("I3", kProcessing, "5"), listRow("I4", kGeneral, "0"),
                                        listRow("I5", kGeneral, "3")});
        f.declarations["I1"] = declaration(0, "I1", 2);
        f.declarations["I2"] = declaration(0, "I2", 1);
        f.declarations["I4"] = declaration(0, "I4", 0);
        f.declarations["I5"] = declaration(0, "I5", 3);
        Download run(f, cfg, c.mainDelay);
        run.driver.MainLoadData();
        EXPECT_EQ(run.driver.outcome(), Outcome::Completed);
        EXPECT_EQ(keysOf(run.capture), (std::vector<std::string>{"I1", "I2", "I3", "I4", "I5"}));
        for (const auto& h : run.capture.headers()) {
            const std::string& key = h.header[79];
            EXPECT_EQ(std::to_string(h.goodsCount), key == "I1"   ? "2"
                                                    : key == "I2" ? "1"
                                                    : key == "I3" ? "5"
                                                    : key == "I4" ? "0"
                                                                  : "3")
                << key;
            EXPECT_EQ(h.header[1], key == "I3" ? "" : "H1") << key;  // a form was read, except for I3
        }
        std::vector<std::string> lines;
        for (const auto& g : run.capture.goods())
            lines.push_back(g.header[79] + "/" + g.goods[40] + "/" + g.goods[1]);
        EXPECT_EQ(lines, (std::vector<std::string>{"I1/1/商品0", "I1/2/商品1", "I2/1/商品0", "I5/1/商品0",
                                                   "I5/2/商品1", "I5/3/商品2"}));
        for (const auto& line : run.rig.log.lines)
            EXPECT_EQ(line.find("此单"), std::string::npos) << line;
    }
}

TEST(DownloadDriver, AFormThatChangesBeforeTheGoodsWalkKeepsItsGoodsOut) {
    // After the header of I1 is stored the client shows I2's form: I1's goods are not read from it.
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "1"), listRow("I2", kGeneral, "2")});
    f.declarations["I1"] = declaration(0, "I1", 1);
    f.declarations["I2"] = declaration(0, "I2", 2);
    Download run(f);
    run.driver.setProgressHandler([&](const DownloadProgress& p) {
        if (p.declarations == 1 && p.goodsLines == 0) run.rig.client.openDeclaration(1);
    });
    run.driver.MainLoadData();
    EXPECT_EQ(keysOf(run.capture), (std::vector<std::string>{"I1", "I2"}));
    std::vector<std::string> pids;
    for (const auto& g : run.capture.goods())
        pids.push_back(g.header[79] + "/" + g.goods[1]);
    EXPECT_EQ(pids, (std::vector<std::string>{"I2/商品0", "I2/商品1"}));
    EXPECT_EQ(
        std::count(run.rig.log.lines.begin(), run.rig.log.lines.end(),
                   "第1行（统一编号“I1”）读商品前录入程序显示的是报关单“I2”，等待10秒后仍不是该行的报关单，"
                   "此单商品未保存"),
        1);
}

TEST(DownloadDriver, ListOnlyCaptureTakesTheNineCells) {
    struct Case {
        const char* kind;
        bool exportVariant;
        int shift;  // export positions are one lower
    };
    for (const Case& c : {Case{"进口报关单", false, 0}, Case{"出口报关单", true, 1}}) {
        SCOPED_TRACE(c.kind);
        Download run(fixture(c.kind, {listRow("L1", kProcessing, "7")}));
        run.driver.MainLoadData();
        ASSERT_EQ(run.capture.headers().size(), 1u);
        const auto& h = run.capture.headers()[0];
        EXPECT_EQ(h.exportVariant, c.exportVariant);
        HeaderTexts expected;
        const std::pair<int, std::string> cells[] = {{75, "HGL1"}, {79, "L1"},       {63, "经营L1"},
                                                     {48, "TDL1"}, {67, "20240110"}, {46, kProcessing},
                                                     {55, "船L1"}, {52, "申报L1"},   {73, "口岸L1"}};
        for (const auto& [pos, text] : cells)
            expected[static_cast<size_t>(pos - c.shift)] = text;
        EXPECT_EQ(h.header, expected);
        OperatorTexts spaces;
        for (size_t i = 0; i <= 10; ++i)
            spaces[i] = " ";
        EXPECT_EQ(h.operatorTexts, spaces);
        EXPECT_EQ(h.goodsName, "");
        EXPECT_EQ(h.goodsCount, 7);
        EXPECT_EQ(h.queryDate, "2024-01-15");
        EXPECT_TRUE(run.capture.goods().empty());
        EXPECT_TRUE(run.rig.client.openedRows().empty());
        const auto described = run.capture.describe();
        EXPECT_EQ(described.at(0),
                  std::string(c.exportVariant ? "insertDataLoad_OUT" : "insertDataLoad") + " insert");
        EXPECT_NE(std::find(described.begin(), described.end(), "  SB_Date=1990-09-09"), described.end());
    }
}

TEST(DownloadDriver, AQueryDateThatIsNoDateIsRefusedBeforeAnyRow) {
    struct Case {
        const char* field;
        const char* shown;
    };
    for (const Case& c : {Case{"20240230", "2024-02-30"}, Case{"", "--"}, Case{"2024AB01", "2024-AB-01"}}) {
        Download run(fixture("进口报关单", {listRow("I1", kProcessing, "1")}, c.field));
        run.driver.MainLoadData();
        EXPECT_EQ(
            run.rig.prompts.texts("warning"),
            std::vector<std::string>{std::string(c.shown) + "不是一个有效的 日期 ，清输入正确查询日期"});
        EXPECT_TRUE(run.capture.headers().empty());
        EXPECT_TRUE(run.rig.client.selectedQueryRows().empty());
        EXPECT_EQ(run.driver.outcome(), Outcome::NotStarted);
    }
}

TEST(DownloadDriver, LookupFailuresLogOneLineAndShowNothing) {
    struct Case {
        const char* name;
        std::function<void(sim::StandInConfig&)> client;
        std::function<void(DownloadSettings&)> settings;
        const char* line;
    };
    auto none = [](auto&) {};
    const Case cases[] = {
        {"client not running", [](sim::StandInConfig& c) { c.processName = "Other.exe"; }, none,
         kNotFound.c_str()},
        {"no outer panel", none, [](DownloadSettings& s) { s.containerClass = "Nope"; }, "无法找到主界面"},
        {"no panel chain", [](sim::StandInConfig& c) { c.layout.queryPanels = 0; }, none, "无法找到主界面2"},
        {"no filter chain", [](sim::StandInConfig& c) { c.layout.filterPanels = 0; }, none,
         "无法找到主界面2"},
        {"no drop-down box", [](sim::StandInConfig& c) { c.layout.kindCombos = 0; }, none, "无法找到下拉框"},
        {"no list view", none, [](DownloadSettings& s) { s.listClass = "Nope"; }, "找不到ListView"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::StandInConfig cfg;
        c.client(cfg);
        Rig rig(fixture("进口报关单", {listRow("I1", kProcessing, "1")}), cfg);
        DownloadSettings settings = rig.settings();
        c.settings(settings);
        RecordingCapture capture;
        DownloadDriver driver(rig.desktop, rig.clock, rig.log, rig.prompts, capture, settings);
        driver.MainLoadData();
        EXPECT_EQ(rig.log.lines, std::vector<std::string>{c.line});
        EXPECT_TRUE(rig.prompts.shown().empty());
        EXPECT_TRUE(capture.headers().empty());
        EXPECT_EQ(driver.outcome(), Outcome::NotStarted);
    }
}

TEST(DownloadDriver, GoodsWalkReadsEveryLineAndKeepsTheFirstCode) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "9")});
    f.declarations["I1"] = declaration(0, "I1", 3);
    Download run(f);
    run.driver.MainLoadData();
    ASSERT_EQ(run.capture.headers().size(), 1u);
    EXPECT_EQ(run.capture.headers()[0].goodsName, "商品0");
    EXPECT_EQ(run.capture.headers()[0].goodsCount, 9);  // the list's count is stored, not checked
    EXPECT_EQ(run.capture.headers()[0].operatorTexts[2], "王五");
    ASSERT_EQ(run.capture.goods().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const auto& g = run.capture.goods()[static_cast<size_t>(i)];
        EXPECT_EQ(g.goods[0], "SP0");  // read once, before the walk
        EXPECT_EQ(g.goods[1], "商品" + std::to_string(i));
        EXPECT_EQ(g.goods[40], std::to_string(i + 1));
        EXPECT_EQ(g.goods[38], "G" + std::to_string(i) + ".38");
    }
    EXPECT_EQ(run.rig.client.menuCommands(),
              std::vector<std::uint32_t>{sim::menuItemIdentifier(sim::kCloseMenuTop, sim::kCloseMenuItem)});
}

// Every call reaches into the client's process (through the window system's server under Wine): the
// download opens the client's process once and keeps one block there for all list requests, and reads
// each stored field once per goods line, not every field of the form.
TEST(DownloadDriver, OpensTheClientOnceAndReadsOnlyTheFieldsItStores) {
    for (const char* kind : {"进口报关单", "出口报关单"}) {
        SCOPED_TRACE(kind);
        const int kindIndex = *kindIndexOf(kind);
        constexpr int kDeclarations = 3, kLines = 2;
        std::vector<std::vector<std::string>> rows;
        for (int d = 0; d < kDeclarations; ++d)
            rows.push_back(listRow("K" + std::to_string(d), kGeneral, std::to_string(kLines)));
        rows.push_back(listRow("L", kProcessing, "4"));
        auto f = fixture(kind, rows);
        for (int d = 0; d < kDeclarations; ++d)
            f.declarations["K" + std::to_string(d)] = declaration(kindIndex, "K" + std::to_string(d), kLines);
        Rig rig(f);
        RecordingCapture capture;
        ca::automation::CountingDesktop counting(rig.desktop);
        DownloadDriver driver(counting, rig.clock, rig.log, rig.prompts, capture, rig.settings());
        driver.MainLoadData();
        ASSERT_EQ(driver.outcome(), Outcome::Completed);
        ASSERT_EQ(capture.goods().size(), static_cast<size_t>(kDeclarations * kLines));

        EXPECT_EQ(counting.calls("openProcess"), 1);
        EXPECT_EQ(counting.calls("processSnapshot"), 1);  // the client found at the start is kept
        EXPECT_EQ(counting.calls("allocateRemote"), 1);
        EXPECT_EQ(counting.calls("releaseRemote"), 1);
        EXPECT_EQ(counting.calls("closeProcess"), 1);
        EXPECT_EQ(rig.desktop.liveBlocks(rig.client.pid()), 0u);
        // Per declaration: the header's stored fields, phone and operator, the stored goods fields
        // once before the walk and once per line, and a few key and name checks.
        const auto header = static_cast<std::int64_t>(
            headerPositionsUsed(kindIndex == 0 ? HeaderLayout::Import : HeaderLayout::Export).size());
        const auto goods = static_cast<std::int64_t>(goodsPositionsUsed(kindIndex).size());
        const std::int64_t perDeclaration = header + 2 + goods * (kLines + 1) + 4;
        EXPECT_LE(counting.calls("sendMessage WM_GETTEXT"), 2 + kDeclarations * perDeclaration);
        EXPECT_LT(header, 82);
        EXPECT_LT(goods, 101);
    }
}

TEST(DownloadDriver, AnUnexpectedSequenceCellIsRetriedThenGivenUp) {
    // Line 3's sequence cell never reads "3": after the retries one log line ends that declaration's
    // walk, the form is still closed and the next row is handled.
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "3"), listRow("I2", kProcessing, "1")});
    f.declarations["I1"] = declaration(0, "I1", 3);
    f.declarations["I1"].goods[2].listCells = {"03", "SP2"};
    Download run(f);
    run.driver.MainLoadData();
    EXPECT_EQ(run.capture.goods().size(), 2u);
    EXPECT_EQ(keysOf(run.capture), (std::vector<std::string>{"I1", "I2"}));
    EXPECT_EQ(run.rig.client.menuCommands().size(), 1u);
    EXPECT_EQ(std::count(run.rig.log.lines.begin(), run.rig.log.lines.end(),
                         "I1 第3条商品的序号读到“03”，重试20次后结束本单商品读取"),
              1);
    // Each attempt at row 2 costs two goods delays: the first one and the retries.
    const std::int64_t main = 300, goods = 160;
    EXPECT_EQ(
        run.rig.clock.totalSleptMs(),
        main + (3 * main + 2 * goods + 2 * 2 * goods + (1 + kGoodsRowRetries) * 2 * goods) + (main + 100));
}

TEST(DownloadDriver, ASequenceCellThatCatchesUpIsReadOnRetry) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "2")});
    f.declarations["I1"] = declaration(0, "I1", 2);
    f.declarations["I1"].goods[1].listCells = {"x", "SP1"};  // not the expected "2" yet
    Download run(f);
    run.driver.setProgressHandler([&](const DownloadProgress& p) {
        if (p.declarations == 1 && p.goodsLines == 0)
            run.rig.desktop.schedule(2000, [&] {
                run.rig.desktop.setListRows(run.rig.client.goodsList(), {{"1", "SP0"}, {"2", "SP1"}});
            });
    });
    run.driver.MainLoadData();
    EXPECT_EQ(run.capture.goods().size(), 2u);
    for (const auto& line : run.rig.log.lines)
        EXPECT_EQ(line.find("重试"), std::string::npos) << line;
    const std::int64_t withoutRetries = 300 + 3 * 300 + 2 * 160 + 2 * 2 * 160 + 2 * 160;
    EXPECT_GT(run.rig.clock.totalSleptMs(), withoutRetries + 1500);
}

TEST(DownloadDriver, StopEndsTheWalkBetweenTwoRows) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "1"), listRow("I2", kProcessing, "1"),
                                    listRow("I3", kProcessing, "1")});
    f.declarations["I1"] = declaration(0, "I1", 1);
    Download run(f);
    StopFlag stop;
    run.driver.setStopFlag(&stop);
    run.driver.setProgressHandler([&](const DownloadProgress& p) {
        if (p.goodsLines == 1) stop.request();  // pressed while the first declaration is read
    });
    run.driver.MainLoadData();
    EXPECT_EQ(run.driver.outcome(), Outcome::Stopped);
    EXPECT_EQ(keysOf(run.capture), std::vector<std::string>{"I1"});
    EXPECT_EQ(run.rig.log.lines.back(), "下载已停止：已保存报关单 1 份、商品 1 条");
    EXPECT_TRUE(run.rig.prompts.shown().empty());
    EXPECT_EQ(run.rig.client.screen(), sim::Screen::Query);  // the form was closed first
}

TEST(DownloadDriver, AClientThatGoesAwayIsNotReportedAsDone) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "2"), listRow("I2", kProcessing, "1")});
    f.declarations["I1"] = declaration(0, "I1", 2);
    Download run(f);
    run.driver.setProgressHandler([&](const DownloadProgress& p) {
        if (p.goodsLines == 1) run.rig.client.exit();
    });
    run.driver.MainLoadData();
    EXPECT_EQ(run.driver.outcome(), Outcome::ClientLost);
    EXPECT_EQ(run.rig.log.lines.back(), kNotFound);
    EXPECT_TRUE(run.rig.prompts.shown().empty());
    EXPECT_EQ(keysOf(run.capture), std::vector<std::string>{"I1"});
    EXPECT_EQ(run.capture.goods().size(), 1u);
}

TEST(DownloadDriver, AGoodsCountThatIsNoIntegerEndsTheDownloadInTheErrorBox) {
    Download run(fixture("进口报关单", {listRow("I1", kProcessing, "1"), listRow("I2", kProcessing, "abc"),
                                        listRow("I3", kProcessing, "1")}));
    EXPECT_FALSE(ca::CommandGuard::run(run.rig.prompts, [&] { run.driver.MainLoadData(); }));
    EXPECT_EQ(run.rig.prompts.texts("error"), std::vector<std::string>{"“abc”不是有效的整数值"});
    EXPECT_EQ(keysOf(run.capture), std::vector<std::string>{"I1"});
    EXPECT_TRUE(run.rig.prompts.texts("plain").empty());
}

}  // namespace
