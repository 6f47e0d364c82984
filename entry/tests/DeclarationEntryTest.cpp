// The road of an entry and its failures: log lines, the open dialog, the pending file, the server,
// the post-entry delay and the move into the imported folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "EntryHarness.h"
#include "ca/entry/EntryPreview.h"
#include "ca/entry/WorkbookServer.h"
#include "ca/util/Convert.h"
#include "ca/util/Folders.h"
#include "ca/util/TabText.h"

using namespace ca::entry;
using namespace ca::entry::testing;
namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

TEST(DeclarationEntry, SuccessfulImportLogsMovesAndClears) {
    EntryHarness h(DeclarationKind::Import);
    h.sheet = addressSheet();
    ASSERT_TRUE(h.run());
    EXPECT_EQ(h.host.lines(),
              (Lines{"已找到海关录入程序", "搜索编辑框.......", "开始录入：", "恭喜，录入成功！"}));
    EXPECT_TRUE(fs::exists(h.imported()));
    EXPECT_FALSE(fs::exists(h.file));
    EXPECT_EQ(h.host.pendingFile(), "");
    EXPECT_EQ(h.host.refreshes, 1);
    EXPECT_EQ(h.quits, 1);
    EXPECT_EQ(h.host.progress, (Lines{"表头", "清单", "表头", "商品 1/2", "商品 2/2", ""}));
    EXPECT_TRUE(h.prompts.shown().empty());
}

TEST(DeclarationEntry, PausesAreThoseOfTheMethodsPlusThePostEntryDelay) {
    const struct {
        DeclarationKind kind;
        const char* delay;
        int delayMs;
    } cases[] = {
        {DeclarationKind::Import, "250", 250},
        {DeclarationKind::Export, "$10", 16},
        // A negative delay is no pause (the platform's sleep would take it for "forever").
        {DeclarationKind::Import, "-1", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay);
        EntryHarness h(c.kind);
        h.sheet = addressSheet();
        h.host.mutableSettings().postEntryDelay = c.delay;
        int mandated = 0;
        for (const Write& w : buildWrites(c.kind, h.sheet))
            mandated += pauseMs(w.method);
        ASSERT_TRUE(h.run());
        EXPECT_EQ(h.clock.totalSleptMs(), mandated + c.delayMs);
        EXPECT_TRUE(fs::exists(h.imported()));
    }
}

TEST(DeclarationEntry, FileChoiceThroughTheOpenDialog) {
    const struct {
        DeclarationKind kind;
        bool chosen;
        Lines log;
    } cases[] = {
        {DeclarationKind::Import,
         false,
         {"已找到海关录入程序", "搜索编辑框.......", "打开文件表格...",
          "文件表格被用户取消打开，录入终止。"}},
        {DeclarationKind::Export,
         false,
         {"已找到海关录入程序", "搜索编辑框.......", "打开数据文件...",
          "数据文件被用户取消打开，录入终止。"}},
        {DeclarationKind::Import,
         true,
         {"已找到海关录入程序", "搜索编辑框.......", "打开文件表格...", "文件表格:@ 已打开。", "开始录入：",
          "恭喜，录入成功！"}},
        {DeclarationKind::Export,
         true,
         {"已找到海关录入程序", "搜索编辑框.......", "打开数据文件...", "数据文件:@ 已打开。", "开始录入：",
          "恭喜，录入成功！"}},
    };
    for (const auto& c : cases) {
        EntryHarness h(c.kind);
        h.sheet = addressSheet();
        h.host.setPendingFile("");
        if (c.chosen) h.prompts.answerOpen(h.file);
        ASSERT_TRUE(h.run());
        Lines expected = c.log;
        for (auto& line : expected)
            if (auto at = line.find('@'); at != std::string::npos) line.replace(at, 1, h.file);
        EXPECT_EQ(h.host.lines(), expected);
        EXPECT_EQ(h.prompts.texts("open").size(), 1u);
        EXPECT_EQ(h.quits, c.chosen ? 1 : 0);
        EXPECT_EQ(fs::exists(h.imported()), c.chosen);
        EXPECT_EQ(h.host.pendingFile(), "");
        if (!c.chosen) {
            EXPECT_TRUE(h.recordedWrites().empty());
        }
    }
}

TEST(DeclarationEntry, ClientOrItsPanelsMissingEndTheEntryWithTheLookupLine) {
    {
        EntryHarness h(DeclarationKind::Import, /*clientRunning=*/false);
        ASSERT_TRUE(h.run());
        EXPECT_EQ(h.host.lines(), Lines{"无法找到海关录入程序，请确认程序是否已经启动"});
        EXPECT_EQ(h.host.pendingFile(), h.file);
        EXPECT_EQ(h.quits, 0);
        EXPECT_TRUE(h.prompts.shown().empty());
    }
    {
        EntryHarness h(DeclarationKind::Export);
        h.host.mutableSettings().containerClass = "TPanel";
        ASSERT_TRUE(h.run());
        EXPECT_EQ(h.host.lines(), (Lines{"已找到海关录入程序", "无法找到 TPanel，请确认程序是否已经启动"}));
        EXPECT_EQ(h.host.pendingFile(), h.file);
        EXPECT_EQ(h.quits, 0);
        EXPECT_TRUE(h.recordedWrites().empty());
    }
}

TEST(DeclarationEntry, UnreadableFileShowsTheErrorAndKeepsThePendingFile) {
    EntryHarness h(DeclarationKind::Import);
    h.failOpen = true;
    EXPECT_FALSE(h.run());
    EXPECT_EQ(h.prompts.texts("error"), Lines{"cannot read '" + h.file + "': not a spreadsheet file"});
    EXPECT_EQ(h.quits, 1);
    EXPECT_EQ(h.host.pendingFile(), h.file);
    EXPECT_TRUE(fs::exists(h.file));
    EXPECT_EQ(h.host.refreshes, 0);
    EXPECT_EQ(h.host.lines(), (Lines{"已找到海关录入程序", "搜索编辑框......."}));
    EXPECT_EQ(h.host.progress, Lines{""});

    // The next entry tries the same file again without asking.
    h.failOpen = false;
    h.sheet = addressSheet();
    ASSERT_TRUE(h.run());
    EXPECT_TRUE(h.prompts.texts("open").empty());
    EXPECT_TRUE(fs::exists(h.imported()));
}

TEST(DeclarationEntry, DamagedWorkbookFilesGiveTheReadersMessage) {
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"text.xls", "declaration"},
        {"truncated.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(100, '\0')},
        {"empty.xlsx", ""},
        {"notbook.xlsx", std::string("PK\x03\x04", 4) + "garbage"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        EntryHarness h(DeclarationKind::Export);
        h.file = (h.root() / "unimported" / f.name).string();
        std::ofstream(h.file, std::ios::binary) << f.bytes;
        h.host.setPendingFile(h.file);
        h.factory = WorkbookServer::factory();
        EXPECT_FALSE(h.run());
        const Lines errors = h.prompts.texts("error");
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(f.name), std::string::npos) << errors[0];
        EXPECT_EQ(h.host.pendingFile(), h.file);
        EXPECT_TRUE(fs::exists(h.file));
        EXPECT_TRUE(h.recordedWrites().empty());
    }
}

TEST(DeclarationEntry, ClipboardHeldByAnotherProgramEndsTheEntryUnmoved) {
    EntryHarness h(DeclarationKind::Import);
    h.sheet = addressSheet();
    h.desktop.setClipboardBusy(-1);
    EXPECT_FALSE(h.run());
    EXPECT_EQ(h.prompts.texts("error").size(), 1u);
    EXPECT_EQ(h.quits, 1);
    EXPECT_EQ(h.host.lines().back(), "开始录入：");
    EXPECT_TRUE(fs::exists(h.file));
    EXPECT_EQ(h.host.pendingFile(), h.file);
    EXPECT_EQ(h.host.progress.back(), "");
}

TEST(DeclarationEntry, PostEntryDelayThatIsNoIntegerLeavesTheFileUnmoved) {
    for (const char* delay : {"", "abc", "4 00"}) {
        SCOPED_TRACE(delay);
        EntryHarness h(DeclarationKind::Import);
        h.sheet = addressSheet();
        h.host.mutableSettings().postEntryDelay = delay;
        EXPECT_FALSE(h.run());
        EXPECT_EQ(h.host.lines().back(), "恭喜，录入成功！");
        EXPECT_EQ(h.prompts.texts("error").size(), 1u);
        EXPECT_EQ(h.quits, 1);
        EXPECT_TRUE(fs::exists(h.file));
        EXPECT_EQ(h.host.pendingFile(), h.file);
        EXPECT_EQ(h.host.refreshes, 0);
        EXPECT_EQ(h.client->goodsLines().size(), 2u);
    }
}

TEST(DeclarationEntry, FailedMoveIsLoggedAndTheEntryStillCounts) {
    const struct {
        const char* name;
        std::function<void(EntryHarness&)> prepare;
        const char* reason;
    } cases[] = {
        {"a file of that name in the imported folder",
         [](EntryHarness& h) { std::ofstream(h.imported()) << "entered yesterday"; }, "同名文件"},
        {"imported folder missing", [](EntryHarness& h) { fs::remove_all(h.root() / "imported"); },
         "目录不存在"},
        {"file gone meanwhile", [](EntryHarness& h) { fs::remove(h.file); }, "文件不存在"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryHarness h(DeclarationKind::Import);
        h.sheet = addressSheet();
        c.prepare(h);
        const bool existed = fs::exists(h.imported());
        ASSERT_TRUE(h.run());
        ASSERT_EQ(h.host.lines().size(), 5u);
        const std::string& line = h.host.lines().back();
        EXPECT_EQ(line.rfind("文件未能移入已导入文件目录：" + h.file, 0), 0u) << line;
        EXPECT_NE(line.find(c.reason), std::string::npos) << line;
        EXPECT_EQ(h.host.pendingFile(), "");
        EXPECT_EQ(h.host.refreshes, 1);
        if (existed) {
            EXPECT_TRUE(fs::exists(h.file));
            std::ifstream kept(h.imported());
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "entered yesterday");
        }
    }
}

// The settings are read once as an entry starts typing: every goods line of one entry gets the same
// duty mode, and a value changed since takes effect at the next entry.
TEST(DeclarationEntry, SettingsAreReadOncePerEntry) {
    int fileReads = 0;
    for (const char* expected : {"征免1", "征免2"}) {
        EntryHarness h(DeclarationKind::Import);
        h.sheet = addressSheet();
        ++fileReads;
        h.host.readHook = [&](const std::string& key) {
            return key == "商品征免" ? "征免" + std::to_string(fileReads) : std::string("x");
        };
        ASSERT_TRUE(h.run());
        ASSERT_EQ(h.client->goodsLines().size(), 2u);
        EXPECT_EQ(h.client->goodsLines()[0][4], expected);
        EXPECT_EQ(h.client->goodsLines()[1][4], expected);
        EXPECT_EQ(h.host.settingFileReads, 1);
    }
}

namespace {

// The preview's chain, position and text of every write equal the sets and pastes the stand-in saw,
// and its pauses add up to the time the entry slept before its post-entry delay.
void expectPreviewIsRecording(const Lines& preview, const EntryHarness& h) {
    const auto recorded = h.recordedWrites();
    ASSERT_EQ(preview.size(), recorded.size() + 1);
    std::int64_t pauses = 0;
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        std::vector<std::string> f;  // order, chain, position, method, pause, text
        std::size_t from = 0;
        for (std::size_t tab; (tab = preview[i].find('\t', from)) != std::string::npos; from = tab + 1)
            f.push_back(preview[i].substr(from, tab - from));
        f.push_back(preview[i].substr(from));
        ASSERT_EQ(f.size(), 6u) << preview[i];
        EXPECT_EQ(f[0], std::to_string(i + 1));
        EXPECT_EQ(f[1], recorded[i].chain) << preview[i];
        EXPECT_EQ(f[2], std::to_string(recorded[i].position)) << preview[i];
        EXPECT_EQ(f[5], ca::escapeTabText(recorded[i].text)) << preview[i];
        pauses += std::stoll(f[4]);
    }
    EXPECT_EQ(preview.back(), std::string(kPauseTotalLabel) + "\t" + std::to_string(pauses));
    EXPECT_EQ(pauses + ca::toInt(h.host.settings().postEntryDelay), h.clock.totalSleptMs());
}

}  // namespace

TEST(EntryPreview, ListsWhatTheClientReceives) {
    for (auto kind : {DeclarationKind::Import, DeclarationKind::Export}) {
        EntryHarness h(kind);
        h.sheet = addressSheet();
        h.sheet.set(3, 22, "tab\there");
        h.sheet.set(8, 18, "3");
        const SettingReader read = [&h](const std::string& key) { return h.host.fileSettings[key]; };
        const Lines preview = previewLines(kind, h.sheet, read);
        ASSERT_TRUE(h.run());
        expectPreviewIsRecording(preview, h);
    }
}

TEST(EntryPreview, SampleWorkbooksReadAndTypedAlike) {
    const struct {
        DeclarationKind kind;
        const char* file;
        std::size_t goodsLines;
    } samples[] = {{DeclarationKind::Import, "进口报关单样例.xls", 3},
                   {DeclarationKind::Export, "出口报关单样例.xls", 2}};
    for (const auto& s : samples) {
        SCOPED_TRACE(s.file);
        EntryHarness h(s.kind);
        const fs::path sample = ca::pathFromUtf8(std::string(CA_DEMO_DIR "/samples/") + s.file);
        h.file = ca::pathToUtf8(h.root() / "unimported" / ca::pathFromUtf8(s.file));
        fs::copy_file(sample, ca::pathFromUtf8(h.file));
        h.host.setPendingFile(h.file);
        h.factory = WorkbookServer::factory();
        WorkbookServer reader;
        reader.open(ca::pathToUtf8(sample));
        const SettingReader read = [&h](const std::string& key) { return h.host.fileSettings[key]; };
        const Lines preview = previewLines(s.kind, reader, read);
        ASSERT_TRUE(h.run());
        expectPreviewIsRecording(preview, h);
        EXPECT_EQ(h.client->goodsLines().size(), s.goodsLines);
        EXPECT_TRUE(fs::exists(h.imported(s.file)));
    }
}
