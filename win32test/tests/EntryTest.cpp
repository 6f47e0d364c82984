// The import and export entry of the sample sheets typed into the Win32 stand-in client: what the
// client receives (confirmed fields, finished goods lines) and what its form holds afterwards must
// equal what the simulated stand-in records for the same sheet.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Fixtures.h"
#include "StandinClient.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/Controls.h"
#include "ca/automation/EntryControls.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/entry/AutomationEntryClient.h"
#include "ca/entry/DeclarationEntry.h"
#include "ca/entry/SimpleEntryHost.h"
#include "ca/entry/WorkbookServer.h"
#include "ca/util/Clock.h"
#include "ca/util/Prompts.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;
namespace fs = std::filesystem;

struct EntryOutcome {
    std::vector<std::string> log;       // the program's log lines
    std::vector<std::string> received;  // the client's confirmations and finished goods lines
    std::vector<std::string> form;      // every field of the entry window map afterwards
    bool moved = false;                 // the sheet went into the imported folder
};

std::string utf8(const fs::path& p) {
    std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

// Every position of every chain of the entry window map, as "CHAIN POS: TEXT".
std::vector<std::string> formTexts(Desktop& desktop) {
    VectorLog ignored;
    auto map = FindEntryControls(desktop, ignored, "Eport.exe", kClasses.container, kClasses.edit);
    std::vector<std::string> texts;
    if (!map) return texts;
    const std::pair<const char*, const Chain*> chains[] = {
        {"HeaderEdits", &map->HeaderEdits}, {"Panel1Edits", &map->Panel1Edits},
        {"Panel3Edits", &map->Panel3Edits}, {"Panel4Edits", &map->Panel4Edits},
        {"GoodsEdits", &map->GoodsEdits},   {"SidePanelEdits", &map->SidePanelEdits},
    };
    for (const auto& [name, chain] : chains)
        for (std::size_t i = 0; i < chain->size(); ++i)
            texts.push_back(std::string(name) + " " + std::to_string(i) + ": " +
                            ControlText(desktop, (*chain)[i]));
    return texts;
}

// Copies the sample sheet into a fresh folder and types it with the given desktop and clock.
EntryOutcome enter(entry::DeclarationKind kind, const fs::path& sample, const std::string& folderName,
                   Desktop& desktop, Clock& clock) {
    fs::path folder = freshFolder(folderName);
    fs::path sheet = folder / "sheet.xls";
    fs::copy_file(sample, sheet);
    fs::create_directories(folder / "imported");

    ScriptedPrompts prompts;
    entry::SimpleEntryHost host(prompts);
    entry::EntrySettings& settings = host.mutableSettings();
    settings.processName = "Eport.exe";
    settings.containerClass = kClasses.container;
    settings.editClass = kClasses.edit;
    settings.importedFolder = utf8(folder / "imported");
    settings.postEntryDelay = "0";
    host.fileSettings = {{"申报单位", "上海某某报关行"}, {"报关单类型", "0"}, {"商品征免", "照章征税"}};
    host.setPendingFile(utf8(sheet));

    entry::AutomationEntryClient client(desktop, clock);
    entry::EntryRun run{client, host, clock, entry::WorkbookServer::factory()};
    entry::EnterDeclaration(kind, run);

    EntryOutcome outcome;
    outcome.log = host.lines();
    outcome.form = formTexts(desktop);
    outcome.moved = fs::exists(folder / "imported" / "sheet.xls") && !fs::exists(sheet);
    return outcome;
}

EntryOutcome enterOnSimulatedClient(entry::DeclarationKind kind, const fs::path& sample,
                                    const std::string& name) {
    VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::StandInConfig config;
    config.startScreen = sim::Screen::Entry;
    config.formKind = kind == entry::DeclarationKind::Import ? sim::FormKind::Import : sim::FormKind::Export;
    sim::StandInClient client(desktop, config);
    EntryOutcome outcome = enter(kind, sample, name, desktop, clock);
    for (const sim::Confirmation& c : client.confirmations())
        outcome.received.push_back(std::string("confirm ") + areaName(c.field.area) + " " +
                                   std::to_string(c.field.position) + ": " + c.text);
    // The two logs interleave confirmations and goods lines; the order within each kind is compared.
    for (const sim::GoodsLine& line : client.goodsLines())
        outcome.received.push_back(goodsLineText(line));
    return outcome;
}

EntryOutcome enterOnWin32Client(entry::DeclarationKind kind, const fs::path& sample,
                                const std::string& name) {
    const char* formKind = kind == entry::DeclarationKind::Import ? "import" : "export";
    StandinProcess client(testPaths().standin64, entryFixture(formKind), name + "-client");
    if (!client.running()) return {};
    SteadyClock clock;
    EntryOutcome outcome = enter(kind, sample, name, realDesktop(), clock);
    std::vector<std::string> goods;
    for (const std::string& line : client.received()) {
        if (line.rfind("confirm ", 0) == 0) outcome.received.push_back(line);
        if (line.rfind("goods line:", 0) == 0) goods.push_back(line);
    }
    outcome.received.insert(outcome.received.end(), goods.begin(), goods.end());
    return outcome;
}

struct SheetCase {
    entry::DeclarationKind kind;
    const char* sample;  // file name in the samples folder (UTF-8)
    const char* name;
};

class Win32Entry : public testing::TestWithParam<SheetCase> {};

TEST_P(Win32Entry, TheRealClientReceivesWhatTheSimulatedClientRecords) {
    const SheetCase& c = GetParam();
    const std::u8string name(reinterpret_cast<const char8_t*>(c.sample));
    const fs::path sample = testPaths().samples / fs::path(name);
    ASSERT_TRUE(fs::exists(sample)) << utf8(sample);

    EntryOutcome expected = enterOnSimulatedClient(c.kind, sample, std::string(c.name) + "-sim");
    EntryOutcome actual = enterOnWin32Client(c.kind, sample, std::string(c.name) + "-win32");

    ASSERT_FALSE(expected.received.empty());
    EXPECT_EQ(actual.log, expected.log);
    EXPECT_EQ(actual.received, expected.received);
    EXPECT_EQ(actual.form, expected.form);
    EXPECT_TRUE(actual.moved);
    EXPECT_TRUE(expected.moved);
    ASSERT_FALSE(actual.log.empty());
    EXPECT_EQ(actual.log.back(), "恭喜，录入成功！");
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, Win32Entry,
    testing::Values(SheetCase{entry::DeclarationKind::Import, "进口报关单样例.xls", "Import"},
                    SheetCase{entry::DeclarationKind::Export, "出口报关单样例.xls", "Export"}),
    [](const testing::TestParamInfo<SheetCase>& info) { return info.param.name; });

}  // namespace
}  // namespace ca::win32test
