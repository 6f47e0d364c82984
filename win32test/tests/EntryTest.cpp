// The import and export entry of the sample sheets typed into the Win32 stand-in client: what the
// client receives (confirmed fields, finished goods lines) and what its form holds afterwards must
// equal what the simulated stand-in records for the same sheet.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "EntryRuns.h"
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

EntryOutcome enterOnWin32Client(entry::DeclarationKind kind, const fs::path& sample,
                                const std::string& name) {
    const char* formKind = kind == entry::DeclarationKind::Import ? "import" : "export";
    StandinProcess client(testPaths().standin64, entryFixture(formKind), name + "-client");
    if (!client.running()) return {};
    SteadyClock clock;
    EntryOutcome outcome = enter(kind, sample, name, realDesktop(), clock);
    outcome.received = receivedEntryLines(client);
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
