// The stand-in client's window in the demo build: closing it ends the client, the demo menu starts
// it again, it says which screen a download needs, and it fits the screen.
#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <filesystem>
#include <fstream>

#include "ca/app/standin/DemoClient.h"
#include "ca/app/standin/DemoMenu.h"
#include "ca/app/standin/TfrmStandIn.h"
#include "ca/automation/Lookup.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"

using namespace ca;
using namespace ca::app;
namespace fs = std::filesystem;
namespace sim = ca::automation::sim;

namespace {

class StandInWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("ca_standin_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(CA_DEMO_DIR "/standin.json", dir / DemoClient::kFixtureName);
        demo.emplace(clock, dir);
        ASSERT_NE(demo->client(), nullptr);
    }
    void TearDown() override {
        demo.reset();
        fs::remove_all(dir);
    }

    // What an entry or download logs when it looks for the client.
    std::vector<std::string> lookup() {
        VectorLog log;
        automation::FindClient(demo->desktop(), log, "Eport.exe");
        return log.lines;
    }

    fs::path dir;
    ScriptedPrompts prompts;
    VirtualClock clock;
    std::optional<DemoClient> demo;
};

}  // namespace

TEST_F(StandInWindowTest, ClosingTheWindowEndsTheClientAndTheDemoMenuStartsItAgain) {
    QMainWindow main;
    QAction* exitItem = main.menuBar()->addAction("退出系统");
    addDemoMenu(*main.menuBar(), exitItem, *demo, prompts, [&] { return main.frameGeometry(); });
    ASSERT_EQ(main.menuBar()->actions().size(), 2);
    EXPECT_EQ(main.menuBar()->actions()[0]->text().toStdString(), "演示");
    EXPECT_EQ(main.menuBar()->actions()[1], exitItem);

    TfrmStandIn* first = demo->showWindow(main.frameGeometry());
    ASSERT_TRUE(first && first->isVisible());
    first->findChild<QPushButton*>("NewExportButton")->click();
    EXPECT_TRUE(lookup().empty());

    first->close();
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(demo->client()->running());
    EXPECT_EQ(lookup(), std::vector<std::string>{automation::kClientNotFound});

    main.findChild<QAction*>("DemoStartClient")->trigger();
    ASSERT_TRUE(demo->client()->running());
    EXPECT_TRUE(lookup().empty());
    EXPECT_EQ(demo->client()->screen(), sim::Screen::Entry);
    ASSERT_TRUE(demo->window()->isVisible());
    EXPECT_EQ(demo->window()->findChild<QLabel*>("ScreenLabel")->text().toStdString(),
              "当前界面：进口报关单录入")
        << "a new client, on its start screen";
    EXPECT_EQ(demo->window()->windowTitle().toStdString(), "海关录入程序（模拟）");

    // While it runs the item only brings its window to the front.
    const automation::Pid pid = demo->client()->pid();
    demo->window()->hide();
    demo->window()->move(40, 30);  // where the clerk put it
    main.findChild<QAction*>("DemoStartClient")->trigger();
    EXPECT_EQ(demo->client()->pid(), pid);
    EXPECT_TRUE(demo->window()->isVisible());
    EXPECT_EQ(demo->window()->pos(), QPoint(40, 30));
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(StandInWindowTest, TheEntryScreenSaysThatADownloadNeedsTheQueryScreen) {
    TfrmStandIn* w = demo->window();
    auto* hint = w->findChild<QLabel*>("DownloadHint");
    ASSERT_TRUE(hint);
    w->show();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_NE(hint->text().indexOf("请先按“查询界面”"), -1) << hint->text().toStdString();
    w->findChild<QPushButton*>("QueryButton")->click();
    EXPECT_FALSE(hint->isVisible());
    w->findChild<QPushButton*>("NewImportButton")->click();
    EXPECT_TRUE(hint->isVisible());
}

TEST_F(StandInWindowTest, TheWindowFitsTheScreenBesideTheMainWindow) {
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    TfrmStandIn* w = demo->window();
    for (const QRect& mainFrame : {QRect(avail.left(), avail.top(), 391, 350),
                                   QRect(avail.right() - 400, avail.top() + 50, 391, 350)}) {
        w->placeBeside(mainFrame);
        EXPECT_TRUE(avail.contains(w->geometry())) << w->geometry().x() << "," << w->geometry().width();
        EXPECT_GE(w->width(), std::min(720, avail.width()));
    }
    // Where there is room, it stands to the right of the main window without covering it.
    const QRect left(avail.left(), avail.top(), 391, 350);
    w->placeBeside(left);
    if (avail.width() >= 391 + 12 + 720) {
        EXPECT_GT(w->geometry().left(), left.right());
    }
}

TEST(DemoClientHint, AnEmptyUnimportedFolderPointsToTheReset) {
    const fs::path folder = fs::temp_directory_path() / "ca_demo_hint";
    fs::remove_all(folder);
    EXPECT_EQ(DemoClient::emptyFolderHint(folder), "") << "no such folder";
    fs::create_directories(folder);
    EXPECT_NE(DemoClient::emptyFolderHint(folder).find("scripts/run --reset-demo"), std::string::npos);
    std::ofstream(folder / "a.xls") << "x";
    EXPECT_EQ(DemoClient::emptyFolderHint(folder), "");
    fs::remove_all(folder);
}
