// The download command hosted by the main window, against the stand-in client on virtual time:
// menu and toolbar run it, the window is busy with its Stop button and progress figure meanwhile,
// Stop ends it between two rows, and an error comes back in the error box with the window idle.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>

#include "../../../download/tests/DownloadRig.h"
#include "SettingsDuringRun.h"
#include "ca/app/main/DownloadCommand.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/standin/TfrmStandIn.h"
#include "ca/db/TADOQuery.h"
#include "ca/util/Folders.h"
#include "ca/util/Settings.h"

using namespace ca;
using namespace ca::app;
using namespace ca::download::testing;
namespace fs = std::filesystem;
namespace st = ca::settings;

namespace {

class DownloadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedCwd = fs::current_path();
        dir = fs::temp_directory_path() /
              ("ca_downloadcmd_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const auto& c = sim::StandInConfig{}.classes;
        for (auto [key, value] : {std::pair{st::kContainerClass, c.container},
                                  {st::kEditClass, c.edit},
                                  {st::kListClass, c.list},
                                  {st::kButtonClass, c.button},
                                  {st::kComboClass, c.combo},
                                  {st::kUnimportedDir, pathToUtf8(dir)},
                                  {st::kImportedDir, pathToUtf8(dir)}})
            IniFile(dir / "config.ini").WriteString(st::kSection, key, value);
    }
    void TearDown() override {
        window.reset();
        rig.reset();
        fs::current_path(savedCwd);
        fs::remove_all(dir);
    }
    void start(sim::ClientFixture f) {
        window.reset();
        rig.emplace(std::move(f));
        ctx.emplace(rig->prompts, dm, rig->clock, printer, user, dir / "config.ini");
        window = std::make_unique<TfrmMain>(*ctx);
        window->show();
        installDownloadCommand(*window, rig->desktop, dm);
    }
    int stored(const char* table) {
        db::TADOQuery q(dm);
        q.SetSQL(std::string("select * from ") + table);
        q.Open();
        return q.RecordCount();
    }

    fs::path savedCwd, dir;
    db::TDM dm{":memory:"};
    std::optional<Rig> rig;
    RecordingPrinter printer;
    users::CurrentUser user;
    std::optional<AppContext> ctx;
    std::unique_ptr<TfrmMain> window;
};

sim::ClientFixture threeRows(const char* thirdCount = "1") {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "2"), listRow("I2", kProcessing, "1"),
                                    listRow("I3", kProcessing, thirdCount)});
    f.declarations["I1"] = declaration(0, "I1", 2);
    return f;
}

TEST_F(DownloadCommandTest, MenuAndToolbarRunTheDownloadWhileTheWindowIsBusy) {
    start(threeRows());
    struct Seen {
        bool busy = false, menuEnabled = true, stopVisible = false;
        std::string progress;
    } seen;
    rig->clock.callAt(1500, [&] {
        QApplication::processEvents();  // what the program's clock does while the download waits
        seen.busy = window->isBusy();
        seen.menuEnabled = window->menuBar()->isEnabled();
        seen.stopVisible = window->findChild<QToolButton*>("StopButton")->isVisible();
        seen.progress = window->findChild<QLabel*>("ProgressLabel")->text().toStdString();
    });
    window->findChild<QAction*>("N8")->trigger();
    EXPECT_TRUE(seen.busy);
    EXPECT_FALSE(seen.menuEnabled);
    EXPECT_TRUE(seen.stopVisible);
    EXPECT_EQ(seen.progress, "第 1 行  报关单 1  商品 0");

    EXPECT_EQ(window->logLines(), (std::vector<std::string>{"进口报关单:I1（录入）", "I1 编号:1 名称:商品0",
                                                            "I1 编号:2 名称:商品1", "进口报关单:I2（录入）",
                                                            "进口报关单:I3（录入）"}));
    EXPECT_EQ(rig->prompts.texts("plain"), std::vector<std::string>{"恭喜，导入完成！"});
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    QApplication::processEvents();
    EXPECT_FALSE(window->findChild<QToolButton*>("StopButton")->isVisible());
    EXPECT_EQ(stored("LoadData"), 3);
    EXPECT_EQ(stored("subData"), 2);

    // The toolbar button runs the same download: everything is stored again in place.
    window->findChild<QToolButton*>("ToolButton5")->click();
    EXPECT_EQ(window->logLines().back(), "进口报关单:I3（修改）");
    EXPECT_EQ(stored("LoadData"), 3);
}

TEST_F(DownloadCommandTest, TheStandInWindowShowsTheWalk) {
    start(threeRows());
    TfrmStandIn standIn(rig->client);
    auto* query = standIn.findChild<QTableWidget*>("QueryGrid");
    auto* goods = standIn.findChild<QTableWidget*>("GoodsListGrid");
    auto* open = standIn.findChild<QLabel*>("OpenLabel");
    std::string openText;
    int goodsRows = -1;
    rig->clock.callAt(1500, [&] {  // the first declaration is open
        standIn.refresh();
        openText = open->text().toStdString();
        goodsRows = goods->rowCount();
    });
    window->findChild<QAction*>("N8")->trigger();
    EXPECT_EQ(openText, "已打开报关单：I1");
    EXPECT_EQ(goodsRows, 2);
    standIn.refresh();
    EXPECT_EQ(query->rowCount(), 3);
    EXPECT_EQ(query->item(1, 1)->text().toStdString(), "I2");
    EXPECT_EQ(query->item(2, 5)->text().toStdString(), kProcessing);
    EXPECT_EQ(open->text().toStdString(), "未打开报关单");
    EXPECT_EQ(standIn.findChild<QLabel*>("FilterLabel")->text().toStdString(),
              "查询日期：20240115    类别：进口报关单");
}

TEST_F(DownloadCommandTest, StopEndsTheDownloadBetweenTwoRows) {
    start(threeRows());
    rig->clock.callAt(1500, [&] { window->findChild<QToolButton*>("StopButton")->click(); });
    window->findChild<QAction*>("N8")->trigger();
    EXPECT_EQ(window->logLines().back(), "下载已停止：已保存报关单 1 份、商品 2 条");
    EXPECT_EQ(stored("LoadData"), 1);
    EXPECT_TRUE(rig->prompts.shown().empty());
    EXPECT_FALSE(window->isBusy());
}

TEST_F(DownloadCommandTest, AnErrorEndsTheDownloadInTheErrorBoxAndKeepsWhatWasStored) {
    start(threeRows("abc"));
    window->findChild<QAction*>("N8")->trigger();
    EXPECT_EQ(rig->prompts.texts("error"), std::vector<std::string>{"“abc”不是有效的整数值"});
    EXPECT_EQ(stored("LoadData"), 2);
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(window->menuBar()->isEnabled());
}

// While the download runs, the settings window cannot rewrite config.ini and says why; afterwards it
// can again, whether the download completed or ended in an error.
TEST_F(DownloadCommandTest, SettingsStayUnchangedWhileTheDownloadRunsWhicheverWayItEnds) {
    IniFile ini(dir / "config.ini");
    for (const char* thirdCount : {"1", "abc"}) {
        SCOPED_TRACE(thirdCount);
        start(threeRows(thirdCount));
        auto& settings = window->windows().open<TfrmConfig>();
        const std::string before = ini.ReadString(st::kSection, st::kDeclaringUnit, "");
        settings.fieldFor(st::kDeclaringUnit)->setText(QString("单位") + thirdCount);
        ca::app::test::SettingsDuringRun seen;
        rig->clock.callAt(1500, [&] { seen = ca::app::test::probeSettings(settings, rig->prompts, ini); });
        window->findChild<QAction*>("N8")->trigger();
        ca::app::test::expectRefused(seen, before);
        EXPECT_EQ(rig->prompts.texts("error").size(), thirdCount == std::string("abc") ? 1u : 0u);
        ca::app::test::expectSaveWorks(settings, rig->prompts, ini);
    }
}

}  // namespace
