// The entry commands hosted by the main window, against the stand-in client on virtual time, and
// the stand-in's window showing what was typed.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "SettingsDuringRun.h"
#include "ca/app/main/EntryCommand.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/standin/DemoClient.h"
#include "ca/app/standin/TfrmStandIn.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/db/TDM.h"
#include "ca/util/Folders.h"
#include "ca/util/Settings.h"

using namespace ca;
using namespace ca::app;
namespace fs = std::filesystem;
namespace st = ca::settings;
namespace sim = ca::automation::sim;

namespace {

class EntryCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedCwd = fs::current_path();
        dir = fs::temp_directory_path() /
              ("ca_entrycmd_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        unimported = dir / pathFromUtf8("未导入");
        imported = dir / pathFromUtf8("已导入");
        fs::create_directories(unimported);
        fs::create_directories(imported);
        sim::StandInConfig config;
        set(st::kContainerClass, config.classes.container);
        set(st::kEditClass, config.classes.edit);
        set(st::kUnimportedDir, pathToUtf8(unimported));
        set(st::kImportedDir, pathToUtf8(imported));
        set(st::kGoodsDuty, "照章征税");
        set(st::kDeclaringUnit, "3302980001");
        for (const char* sample : {"进口报关单样例.xls", "出口报关单样例.xls"})
            fs::copy_file(pathFromUtf8(std::string(CA_DEMO_DIR "/samples/") + sample),
                          unimported / pathFromUtf8(sample));

        config.startScreen = sim::Screen::Entry;
        client.emplace(desktop, config);
        ctx.emplace(prompts, dm, clock, printer, user, dir / "config.ini");
        window = std::make_unique<TfrmMain>(*ctx);
        window->show();
        installEntryCommands(*window, desktop);
    }
    void TearDown() override {
        window.reset();
        fs::current_path(savedCwd);
        fs::remove_all(dir);
    }

    void set(const char* key, const std::string& value) {
        IniFile(dir / "config.ini").WriteString(st::kSection, key, value);
    }
    std::string path(const char* name) const { return pathToUtf8(unimported / pathFromUtf8(name)); }
    std::vector<std::string> files(const char* list) const {
        std::vector<std::string> out;
        auto* l = window->findChild<QListWidget*>(list);
        for (int i = 0; i < l->count(); ++i)
            out.push_back(l->item(i)->text().toStdString());
        return out;
    }

    fs::path savedCwd, dir, unimported, imported;
    ScriptedPrompts prompts;
    VirtualClock clock;
    sim::SimDesktop desktop{clock};
    std::optional<sim::StandInClient> client;
    db::TDM dm{":memory:"};
    RecordingPrinter printer;
    users::CurrentUser user;
    std::optional<AppContext> ctx;
    std::unique_ptr<TfrmMain> window;
};

}  // namespace

TEST_F(EntryCommandTest, ImportFromTheMenuTypesTheDroppedSheetWhileTheWindowIsBusy) {
    TfrmStandIn standIn(*client);
    window->WMDropFiles({path("进口报关单样例.xls")});

    // Halfway through the typing (virtual time), the window shows the entry running.
    struct Seen {
        bool busy = false, menuEnabled = true, importButtonEnabled = true;
        std::string progress;
        std::vector<std::string> log;
    } seen;
    clock.callAt(clock.nowMs() + 600, [&] {
        seen.busy = window->isBusy();
        seen.menuEnabled = window->menuBar()->isEnabled();
        seen.importButtonEnabled = window->findChild<QToolButton*>("ToolButton1")->isEnabled();
        seen.progress = window->findChild<QLabel*>("ProgressLabel")->text().toStdString();
        seen.log = window->logLines();
    });
    window->findChild<QAction*>("mnu_import_input")->trigger();

    EXPECT_TRUE(seen.busy);
    EXPECT_FALSE(seen.menuEnabled);
    EXPECT_FALSE(seen.importButtonEnabled);
    EXPECT_EQ(seen.progress.rfind("录入", 0), 0u) << seen.progress;
    EXPECT_EQ(seen.log.back(), "开始录入：");

    EXPECT_EQ(window->logLines(),
              (std::vector<std::string>{path("进口报关单样例.xls"), "已找到海关录入程序", "搜索编辑框.......",
                                        "开始录入：", "恭喜，录入成功！"}));
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_EQ(window->pendingFile(), "");
    EXPECT_EQ(files("FileListBox1"), std::vector<std::string>{"出口报关单样例.xls"});
    EXPECT_EQ(files("FileListBox2"), std::vector<std::string>{"进口报关单样例.xls"});
    ASSERT_EQ(client->goodsLines().size(), 3u);
    EXPECT_EQ(client->goodsLines()[1][7], "台澎金马关税区");
    EXPECT_EQ(client->fieldText({sim::Area::Header, 52}), "3302980001");
    EXPECT_TRUE(prompts.shown().empty());

    // The stand-in's window shows the fields and the finished goods lines.
    standIn.refresh();
    EXPECT_EQ(standIn.findChild<QLineEdit*>("HeaderEdits69")->text().toStdString(), "3104");
    EXPECT_EQ(standIn.findChild<QLineEdit*>("SidePanelEdits3")->text().toStdString(), "3104");
    EXPECT_EQ(standIn.findChild<QTableWidget*>("GoodsGrid")->rowCount(), 3);
    EXPECT_EQ(standIn.findChild<QTableWidget*>("GoodsGrid")->item(2, 38)->text().toStdString(), "12");
}

// During an entry the settings window cannot rewrite config.ini (the entry reads it again for each
// goods line) and says why; after the entry it can again.
TEST_F(EntryCommandTest, SettingsStayUnchangedWhileAnEntryRuns) {
    IniFile ini(dir / "config.ini");
    auto& settings = window->windows().open<TfrmConfig>();
    settings.fieldFor(st::kDeclaringUnit)->setText("新的申报单位");
    window->WMDropFiles({path("进口报关单样例.xls")});
    ca::app::test::SettingsDuringRun seen;
    clock.callAt(clock.nowMs() + 600, [&] { seen = ca::app::test::probeSettings(settings, prompts, ini); });
    window->findChild<QAction*>("mnu_import_input")->trigger();
    ca::app::test::expectRefused(seen, "3302980001");
    EXPECT_EQ(client->fieldText({sim::Area::Header, 52}), "3302980001");
    EXPECT_EQ(window->logLines().back(), "恭喜，录入成功！");
    ca::app::test::expectSaveWorks(settings, prompts, ini);
}

TEST_F(EntryCommandTest, ExportFromTheToolbarAfterTheClerkOpensAnExportForm) {
    TfrmStandIn standIn(*client);
    standIn.findChild<QPushButton*>("NewExportButton")->click();
    prompts.answerOpen(path("出口报关单样例.xls"));
    window->findChild<QToolButton*>("ToolButton3")->click();
    EXPECT_EQ(window->logLines()[2], "打开数据文件...");
    EXPECT_EQ(window->logLines()[3], "数据文件:" + path("出口报关单样例.xls") + " 已打开。");
    EXPECT_EQ(client->goodsLines().size(), 2u);
    EXPECT_EQ(client->fieldText({sim::Area::Header, 81}), "宁波甬华电子有限公司");
    EXPECT_EQ(files("FileListBox2"), std::vector<std::string>{"出口报关单样例.xls"});
}

TEST_F(EntryCommandTest, UnreadableSheetShowsTheErrorAndIsNoLongerPending) {
    const std::string bad = pathToUtf8(unimported / "坏文件.xls");
    std::ofstream(pathFromUtf8(bad)) << "not a workbook";
    window->WMDropFiles({bad});
    window->findChild<QAction*>("mnu_import_input")->trigger();
    const std::string error =
        "无法读取“" + bad + "”：不是电子表格文件（既不是 .xls 文件，也不是 .xlsx 文件）";
    EXPECT_EQ(prompts.texts("error"), std::vector<std::string>{error});
    EXPECT_EQ(window->logLines().back(), "待导入文件已清除，下次导入时请重新选择文件。原因：" + error);
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_FALSE(window->findChild<QLabel*>("ProgressLabel")->isVisible());
    EXPECT_EQ(window->pendingFile(), "");
    EXPECT_TRUE(fs::exists(pathFromUtf8(bad)));

    // The next entry offers the open dialog again.
    prompts.answerOpen("");
    window->findChild<QAction*>("mnu_import_input")->trigger();
    EXPECT_EQ(prompts.texts("open").size(), 1u);
    EXPECT_EQ(window->logLines().back(), "文件表格被用户取消打开，录入终止。");
}

// Without the client the file is not to blame: it stays pending for the next try.
TEST_F(EntryCommandTest, ClientNotRunningKeepsTheFilePending) {
    client->exit();
    window->WMDropFiles({path("进口报关单样例.xls")});
    window->findChild<QAction*>("mnu_import_input")->trigger();
    EXPECT_EQ(window->logLines().back(), "无法找到海关录入程序，请确认程序是否已经启动");
    EXPECT_EQ(window->pendingFile(), path("进口报关单样例.xls"));
    EXPECT_TRUE(prompts.shown().empty());
}

TEST(DemoClientTest, FixtureNextToTheExecutableStartsTheStandIn) {
    const fs::path dir = fs::temp_directory_path() / "ca_democlient";
    fs::remove_all(dir);
    fs::create_directories(dir);
    VirtualClock clock;
    {
        DemoClient none(clock, dir);  // no fixture: an empty desktop, the client is not running
        EXPECT_EQ(none.client(), nullptr);
        EXPECT_EQ(none.window(), nullptr);
        EXPECT_TRUE(none.loadError().empty());
        EXPECT_TRUE(none.desktop().topLevelWindows().empty());
    }
    std::ofstream(dir / DemoClient::kFixtureName) << "{ \"client\": { \"screen\": \"entry\" ";
    {
        DemoClient broken(clock, dir);
        EXPECT_EQ(broken.client(), nullptr);
        EXPECT_FALSE(broken.loadError().empty());
    }
    fs::copy_file(CA_DEMO_DIR "/standin.json", dir / DemoClient::kFixtureName,
                  fs::copy_options::overwrite_existing);
    {
        DemoClient demo(clock, dir);
        ASSERT_NE(demo.client(), nullptr);
        EXPECT_EQ(demo.client()->screen(), sim::Screen::Entry);
        ASSERT_NE(demo.window(), nullptr);
        EXPECT_EQ(demo.window()->windowTitle().toStdString(), "海关录入程序（模拟）");
    }
    fs::remove_all(dir);
}

// The database's own files, picked in the open dialog or dropped, are refused before anything opens
// them: the entry would read and then move the database away, and on Linux the reading alone drops
// the connection's locks.
TEST_F(EntryCommandTest, TheDatabasesOwnFilesAreNeverEntered) {
    const fs::path database = imported / "DB.sqlite";
    db::TDM fileDm(pathToUtf8(database));
    fileDm.ADOConnection1.execRaw("CREATE TABLE t(a)");
    window.reset();
    ctx.emplace(prompts, fileDm, clock, printer, user, dir / "config.ini");
    window = std::make_unique<TfrmMain>(*ctx);
    window->show();
    installEntryCommands(*window, desktop);

    for (const char* name : {"DB.sqlite", "DB.sqlite-wal", "DB.sqlite-shm"}) {
        const std::string file = pathToUtf8(imported / name);
        const std::string refusal = "文件“" + file + "”是本程序的数据库文件，不能作为报关单导入。";
        prompts.answerOpen(file);
        window->findChild<QAction*>("mnu_import_input")->trigger();
        EXPECT_EQ(window->logLines().back(), refusal);
        // Dropped through a folder named so that the drop rule takes it.
        window->WMDropFiles({pathToUtf8(dir / "xls" / ".." / pathFromUtf8("已导入") / name)});
        EXPECT_FALSE(window->pendingFile().empty());
        window->findChild<QAction*>("mnu_export_input")->trigger();
        EXPECT_NE(window->logLines().back().find("是本程序的数据库文件，不能作为报关单导入。"),
                  std::string::npos)
            << window->logLines().back();
        EXPECT_TRUE(window->pendingFile().empty());
        EXPECT_TRUE(fs::exists(imported / name)) << name;
    }
    EXPECT_TRUE(prompts.texts("error").empty());
}
