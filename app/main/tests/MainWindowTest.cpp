#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "ca/app/fees/TfrmFeeDetai.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/app/fees/TfrmFeeMagAdd.h"
#include "ca/app/main/TfrmConfig.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/main/ToolbarIcons.h"
#include "ca/app/main/WindowTable.h"
#include "ca/app/reports/TfrmDataDetail.h"
#include "ca/app/reports/TfrmEportData.h"
#include "ca/app/users/TfrmChangPW.h"
#include "ca/app/users/TfrmUserMag.h"
#include "ca/db/TDM.h"
#include "ca/util/Folders.h"
#include "ca/util/Settings.h"

using namespace ca;
using namespace ca::app;
namespace fs = std::filesystem;
namespace st = ca::settings;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedCwd = fs::current_path();
        dir = fs::temp_directory_path() /
              ("ca_main_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        unimported = dir / pathFromUtf8("未导入");
        imported = dir / pathFromUtf8("已导入");
        fs::create_directories(unimported);
        fs::create_directories(imported);
        set(st::kContainerClass, "Panel");
        set(st::kEditClass, "Edit");
        set(st::kUnimportedDir, pathToUtf8(unimported));
        set(st::kImportedDir, pathToUtf8(imported));
    }
    void TearDown() override {
        fs::current_path(savedCwd);
        fs::remove_all(dir);
    }

    void set(const char* key, const std::string& value) {
        IniFile(dir / "config.ini").WriteString(st::kSection, key, value);
    }
    static void touch(const fs::path& p) { std::ofstream(p) << "x"; }

    std::unique_ptr<TfrmMain> open() {
        ctx.emplace(prompts, dm, clock, printer, user, dir / "config.ini");
        auto w = std::make_unique<TfrmMain>(*ctx);
        w->show();
        return w;
    }
    static std::vector<std::string> items(TfrmMain& w, const char* list) {
        std::vector<std::string> out;
        auto* l = w.findChild<QListWidget*>(list);
        for (int i = 0; i < l->count(); ++i)
            out.push_back(l->item(i)->text().toStdString());
        return out;
    }
    static QAction* action(TfrmMain& w, const char* name) { return w.findChild<QAction*>(name); }

    fs::path savedCwd, dir, unimported, imported;
    ScriptedPrompts prompts;
    VirtualClock clock;
    db::TDM dm{":memory:"};
    RecordingPrinter printer;
    users::CurrentUser user;
    std::optional<AppContext> ctx;
};

}  // namespace

TEST_F(MainWindowTest, WindowMenusAndToolbarAsTheClerkSeesThem) {
    auto w = open();
    EXPECT_EQ(w->windowTitle().toStdString(), "报关助手");
    EXPECT_TRUE(w->windowFlags() & Qt::Tool);
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->width(), 391);
    EXPECT_EQ(w->centralWidget()->height() + w->findChild<QToolBar*>("ToolBar1")->height(), 307);

    struct Menu {
        const char* name;
        const char* caption;
        bool shown;
    } menus[] = {
        {"NDown", "导入数据", true},
        {"N2", "下载数据", true},
        {"N3", "查询统计", true},
        {"N6", "用户管理", false},
    };
    for (const auto& m : menus) {
        auto* menu = w->findChild<QMenu*>(m.name);
        ASSERT_TRUE(menu) << m.name;
        EXPECT_EQ(menu->title().toStdString(), m.caption);
        EXPECT_EQ(menu->menuAction()->isVisible(), m.shown) << m.name;
    }
    Menu items[] = {
        {"mnu_import_input", "进口导入", true},
        {"mnu_export_input", "出口导入", true},
        {"N1", "设置", true},
        {"shanchu1", "shanchu", false},
        {"N8", "下载详细数据", true},
        {"N9", "下载业务统计数据", true},
        {"N11", "下载单据状态", true},
        {"N10", "类名设置", true},
        {"Ndjcx", "单据查询", true},
        {"Nfycx", "费用查询", false},
        {"N4", "费用录入", false},
        {"N5", "生成业务数据", true},
        {"Nchpass", "修改密码", false},
        {"Nlimit", "用户权限", false},
        {"N7", "增加费用项", false},
        {"Nexit", "退出系统", true},
    };
    for (const auto& i : items) {
        QAction* a = action(*w, i.name);
        ASSERT_TRUE(a) << i.name;
        EXPECT_EQ(a->text().toStdString(), i.caption);
        EXPECT_EQ(a->isVisible(), i.shown) << i.name;
        EXPECT_TRUE(a->shortcut().isEmpty()) << i.name;
    }
    struct Tool {
        const char* name;
        const char* hint;
    } tools[] = {
        {"ToolButton1", "进口导入"},
        {"ToolButton3", "出口导入"},
        {"ToolButton5", "下载数据"},
        {"ToolButton7", "查询数据"},
    };
    for (const auto& t : tools) {
        auto* b = w->findChild<QToolButton*>(t.name);
        ASSERT_TRUE(b) << t.name;
        EXPECT_EQ(b->toolTip().toStdString(), t.hint);
        EXPECT_FALSE(b->icon().isNull());
    }
    EXPECT_EQ(w->findChild<QLabel*>("Label1")->text().toStdString(), "未导入文件列表(双击可执行右键可刷新)");
    EXPECT_EQ(w->findChild<QLabel*>("Label3")->text().toStdString(), "已导入文件列表：");
}

TEST_F(MainWindowTest, FirstShowingLoadsSettingsAndListsBothFolders) {
    for (const char* f : {"b.xls", "A.xls", ".hidden.xls"})
        touch(unimported / f);
    fs::create_directories(unimported / "sub");
    touch(imported / pathFromUtf8("报关单.xls"));
    set(st::kMainDelay, "0x20");
    set(st::kProcessName, "Client.exe");
    auto w = open();
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_EQ(items(*w, "FileListBox1"), (std::vector<std::string>{"A.xls", "b.xls"}));
    EXPECT_EQ(items(*w, "FileListBox2"), (std::vector<std::string>{"报关单.xls"}));
    EXPECT_EQ(fs::current_path(), fs::canonical(imported));
    EXPECT_EQ(w->pendingFile(), "");
    EXPECT_EQ(w->loadedSettings().mainDelay, 32);
    EXPECT_EQ(w->loadedSettings().goodsDelay, 160);
    EXPECT_EQ(w->loadedSettings().processName, "Client.exe");
    EXPECT_EQ(w->loadedSettings().postEntryDelay, "400");

    // The lists are not watched: a new file shows after a refresh.
    touch(unimported / "c.xls");
    EXPECT_EQ(items(*w, "FileListBox1").size(), 2u);
    w->refreshFileLists();
    EXPECT_EQ(items(*w, "FileListBox1").size(), 3u);
}

TEST_F(MainWindowTest, RelativeFoldersAreEnteredInTurnAndKeptAsFullPaths) {
    // The second folder is entered from the first, as the current directory follows each list.
    touch(unimported / "left.xls");
    touch(imported / "right.xls");
    set(st::kUnimportedDir, "未导入");
    set(st::kImportedDir, "../已导入");
    fs::current_path(dir);
    auto w = open();
    EXPECT_TRUE(prompts.texts("error").empty());
    EXPECT_EQ(fs::current_path(), fs::canonical(imported));
    EXPECT_EQ(items(*w, "FileListBox1"), std::vector<std::string>{"left.xls"});
    EXPECT_EQ(items(*w, "FileListBox2"), std::vector<std::string>{"right.xls"});
    touch(unimported / "more.xls");
    w->refreshFileLists();
    EXPECT_EQ(items(*w, "FileListBox1"), (std::vector<std::string>{"left.xls", "more.xls"}));
}

TEST_F(MainWindowTest, EmptyClassNamesGiveTwoMessagesAndStartUpGoesOn) {
    set(st::kContainerClass, "");
    set(st::kEditClass, "");
    touch(imported / "done.xls");
    auto w = open();
    EXPECT_EQ(prompts.texts("plain"),
              (std::vector<std::string>{"容器类名未设置，请先设置再导入", "文本框类名，请先设置再导入"}));
    EXPECT_EQ(items(*w, "FileListBox2"), (std::vector<std::string>{"done.xls"}));
}

TEST_F(MainWindowTest, MissingFolderShowsTheErrorAndSkipsTheLaterSteps) {
    struct Case {
        const char* missingKey;
        size_t leftFiles;
    } cases[] = {{st::kUnimportedDir, 0}, {st::kImportedDir, 1}};
    touch(unimported / "a.xls");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missingKey);
        prompts.clear();
        fs::current_path(savedCwd);
        set(st::kUnimportedDir, pathToUtf8(unimported));
        set(st::kImportedDir, pathToUtf8(imported));
        std::string missing = pathToUtf8(dir / "gone");
        set(c.missingKey, missing);
        auto w = open();
        auto errors = prompts.texts("error");
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find(missing), std::string::npos) << errors[0];
        EXPECT_EQ(items(*w, "FileListBox1").size(), c.leftFiles);
        EXPECT_TRUE(items(*w, "FileListBox2").empty());
        EXPECT_NE(fs::current_path(), fs::canonical(imported));
        EXPECT_TRUE(w->isVisible());
    }
}

TEST_F(MainWindowTest, DroppedFilesAreLoggedAndTheLastAcceptedIsPending) {
    auto w = open();
    auto drop = [&](const std::vector<fs::path>& files) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const auto& f : files)
            urls << QUrl::fromLocalFile(QString::fromStdString(pathToUtf8(f)));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent ev(QPointF(50, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &ev);
    };
    fs::path a = unimported / "1.xls", b = unimported / "2.xls", c = unimported / pathFromUtf8("三.xls");
    drop({a, b, c});
    EXPECT_EQ(w->logLines(), (std::vector<std::string>{pathToUtf8(a), pathToUtf8(b), pathToUtf8(c)}));
    EXPECT_EQ(w->pendingFile(), pathToUtf8(c));

    fs::path upper = unimported / "4.XLS";
    drop({upper});
    EXPECT_EQ(w->logLines().back(), pathToUtf8(upper) + " 不是一个有效的EXCEL文件，无法导入！");
    EXPECT_EQ(w->pendingFile(), pathToUtf8(c));
}

// The label promises "双击可执行右键可刷新": a right click on either list reads both folders again, a
// double click on an unimported file chooses it as dropping it does.
TEST_F(MainWindowTest, RightClickRefreshesBothListsAndDoubleClickChoosesTheFile) {
    touch(unimported / "1.xls");
    auto w = open();
    touch(unimported / pathFromUtf8("二.xls"));
    touch(unimported / "notes.txt");
    touch(imported / "old.xls");
    EXPECT_EQ(items(*w, "FileListBox1"), std::vector<std::string>{"1.xls"});
    for (const char* list : {"FileListBox2", "FileListBox1"}) {
        auto* l = w->findChild<QListWidget*>(list);
        emit l->customContextMenuRequested(QPoint(5, 5));
        EXPECT_EQ(items(*w, "FileListBox1"), (std::vector<std::string>{"1.xls", "notes.txt", "二.xls"}))
            << list;
        EXPECT_EQ(items(*w, "FileListBox2"), std::vector<std::string>{"old.xls"}) << list;
    }

    auto doubleClick = [&](const char* list, int row) {
        auto* l = w->findChild<QListWidget*>(list);
        emit l->itemDoubleClicked(l->item(row));
    };
    doubleClick("FileListBox1", 2);
    const std::string second = pathToUtf8(unimported / pathFromUtf8("二.xls"));
    EXPECT_EQ(w->logLines(), std::vector<std::string>{second});
    EXPECT_EQ(w->pendingFile(), second);
    doubleClick("FileListBox1", 1);
    EXPECT_EQ(w->logLines().back(),
              pathToUtf8(unimported / "notes.txt") + " 不是一个有效的EXCEL文件，无法导入！");
    EXPECT_EQ(w->pendingFile(), second);
    doubleClick("FileListBox2", 0);  // files already entered are not chosen again
    EXPECT_EQ(w->logLines().size(), 2u);

    w->setBusy(true);  // nor while an entry runs
    doubleClick("FileListBox1", 0);
    EXPECT_EQ(w->pendingFile(), second);
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(MainWindowTest, ClosingDuringARunSaysWhyTheWindowStays) {
    auto w = open();
    auto* status = w->findChild<QStatusBar*>("StatusBar1");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->currentMessage(), "");
    w->setBusy(true);
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(status->currentMessage().toStdString(), "正在录入，不能关闭窗口：请等录入完成后再关闭。");
    w->setBusy(true, [] {});
    w->close();
    EXPECT_EQ(status->currentMessage().toStdString(),
              "正在下载，不能关闭窗口：请先按“停止”，等下载停下后再关闭。");
    w->setBusy(false);
    EXPECT_EQ(status->currentMessage(), "");

    // The Stop control is a framed button with an icon and its caption.
    auto* stop = w->findChild<QToolButton*>("StopButton");
    EXPECT_EQ(stop->text().toStdString(), "停止");
    EXPECT_FALSE(stop->icon().isNull());
    EXPECT_EQ(stop->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_FALSE(stop->autoRaise());
}

TEST_F(MainWindowTest, ExitAsksAndNoKeepsTheProgramRunning) {
    auto w = open();
    prompts.answerQuestion(Button::No);
    action(*w, "Nexit")->trigger();
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].text, "您确定要退出吗？");
    EXPECT_EQ(prompts.shown()[0].caption, "报关助手");
    EXPECT_TRUE(w->isVisible());

    prompts.answerQuestion(Button::Yes);
    action(*w, "Nexit")->trigger();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, CommandsRunInsideTheGuardAndBusyBlocksThem) {
    auto w = open();
    int settingsOpened = 0;
    w->setCommand(MainCommand::Settings, [&] { ++settingsOpened; });
    bool busyDuringEntry = false;
    w->setCommand(MainCommand::ImportEntry, [&] {
        busyDuringEntry = w->isBusy();
        throw std::runtime_error("未找到海关录入程序");
    });
    action(*w, "N1")->trigger();
    action(*w, "N10")->trigger();
    EXPECT_EQ(settingsOpened, 2);
    w->findChild<QToolButton*>("ToolButton1")->click();
    EXPECT_EQ(prompts.texts("error"), (std::vector<std::string>{"未找到海关录入程序"}));
    EXPECT_TRUE(busyDuringEntry);
    EXPECT_FALSE(w->isBusy()) << "a failed entry leaves the window usable";
    action(*w, "N9")->trigger();  // items without work do nothing
    action(*w, "N11")->trigger();
    EXPECT_EQ(prompts.shown().size(), 1u);

    bool stopped = false;
    w->setBusy(true, [&] { stopped = true; });
    EXPECT_FALSE(w->menuBar()->isEnabled());
    EXPECT_FALSE(w->findChild<QToolButton*>("ToolButton5")->isEnabled());
    EXPECT_FALSE(w->acceptDrops());
    action(*w, "N1")->trigger();
    EXPECT_EQ(settingsOpened, 2);
    w->setProgress("3 / 10");
    QApplication::processEvents();  // the toolbar lays out its widgets on the next pass
    EXPECT_TRUE(w->findChild<QLabel*>("ProgressLabel")->isVisible());
    auto* stop = w->findChild<QToolButton*>("StopButton");
    ASSERT_TRUE(stop->isVisible());
    stop->click();
    EXPECT_TRUE(stopped);
    w->close();
    EXPECT_TRUE(w->isVisible()) << "the window stays while an operation runs";

    w->setBusy(false);
    QApplication::processEvents();
    EXPECT_TRUE(w->menuBar()->isEnabled());
    EXPECT_FALSE(stop->isVisible());
    EXPECT_FALSE(w->findChild<QLabel*>("ProgressLabel")->isVisible());
    action(*w, "N1")->trigger();
    EXPECT_EQ(settingsOpened, 3);
}

namespace {

// A window that reaches the others: made with the registry it belongs to.
struct ReachingWindow : QWidget {
    ReachingWindow(AppContext&, Windows& w) : windows(&w) {}
    Windows* windows;
};

}  // namespace

TEST_F(MainWindowTest, SecondaryWindowsAreCreatedOnceOwnedByTheMainWindowAndOnlyHiddenByClosing) {
    auto w = open();
    Windows& windows = w->windows();
    EXPECT_EQ(windows.find<TfrmConfig>(), nullptr);
    TfrmConfig& settings = windows.get<TfrmConfig>();
    EXPECT_FALSE(settings.isVisible()) << "get creates without showing";
    EXPECT_TRUE(settings.isWindow());
    EXPECT_EQ(settings.parentWidget(), w.get());
    EXPECT_EQ(&windows.open<TfrmConfig>(), &settings);
    EXPECT_TRUE(settings.isVisible());
    settings.close();
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(windows.find<TfrmConfig>(), &settings) << "closing only hides";
    action(*w, "N1")->trigger();  // the menu shows the same window again
    EXPECT_TRUE(settings.isVisible());
    EXPECT_EQ(w->findChildren<TfrmConfig*>().size(), 1u);

    EXPECT_EQ(windows.get<ReachingWindow>().windows, &windows);
    EXPECT_EQ(&windows.get<ReachingWindow>(), windows.find<ReachingWindow>());
}

TEST_F(MainWindowTest, LogAdapterAppendsWholeLines) {
    auto w = open();
    w->log().append("已找到海关录入程序");
    w->appendLog("开始录入：");
    EXPECT_EQ(w->logLines(), (std::vector<std::string>{"已找到海关录入程序", "开始录入："}));
}

TEST_F(MainWindowTest, EveryItemAndToolButtonRunsItsCommand) {
    auto w = open();
    std::vector<MainCommand> ran;
    for (int c = 0; c <= static_cast<int>(MainCommand::FeeItemAdd); ++c)
        w->setCommand(static_cast<MainCommand>(c), [&ran, c] { ran.push_back(static_cast<MainCommand>(c)); });
    struct Case {
        const char* name;
        MainCommand command;
        int image;  // toolbar buttons only
    } cases[] = {
        {"mnu_import_input", MainCommand::ImportEntry, -1},
        {"mnu_export_input", MainCommand::ExportEntry, -1},
        {"N1", MainCommand::Settings, -1},
        {"shanchu1", MainCommand::DeleteAll, -1},
        {"N8", MainCommand::Download, -1},
        {"N10", MainCommand::Settings, -1},
        {"Ndjcx", MainCommand::DocumentQuery, -1},
        {"Nfycx", MainCommand::FeeQuery, -1},
        {"N4", MainCommand::FeeInput, -1},
        {"N5", MainCommand::BusinessData, -1},
        {"Nchpass", MainCommand::ChangePassword, -1},
        {"Nlimit", MainCommand::UserManagement, -1},
        {"N7", MainCommand::FeeItemAdd, -1},
        {"ToolButton1", MainCommand::ImportEntry, 1},
        {"ToolButton3", MainCommand::ExportEntry, 0},
        {"ToolButton5", MainCommand::Download, 2},
        {"ToolButton7", MainCommand::DocumentQuery, 3},
    };
    for (const auto& c : cases) {
        ran.clear();
        if (c.image < 0) {
            action(*w, c.name)->trigger();
        } else {
            auto* b = w->findChild<QToolButton*>(c.name);
            ASSERT_TRUE(b) << c.name;
            EXPECT_EQ(b->icon().pixmap(24).toImage(), toolbarIcon(c.image).pixmap(24).toImage()) << c.name;
            b->click();
        }
        EXPECT_EQ(ran, std::vector<MainCommand>{c.command}) << c.name;
    }
    // The separators sit between the buttons, in the toolbar's order.
    std::vector<std::string> order;
    for (QAction* a : w->findChild<QToolBar*>("ToolBar1")->actions()) {
        if (a->isSeparator())
            order.push_back(a->objectName().toStdString());
        else if (auto* b =
                     qobject_cast<QToolButton*>(w->findChild<QToolBar*>("ToolBar1")->widgetForAction(a)))
            order.push_back(b->objectName().toStdString());
    }
    order.resize(std::min<std::size_t>(order.size(), 7));
    EXPECT_EQ(order, (std::vector<std::string>{"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton4",
                                               "ToolButton5", "ToolButton6", "ToolButton7"}));
}

// The window table connects every menu item that opens a window, and the window it opens is the one
// the registry keeps, the same for the menu as for another window.
TEST_F(MainWindowTest, EveryWindowMenuItemOpensItsWindowThroughTheTable) {
    auto w = open();
    installWindows(*w);
    Windows& windows = w->windows();
    struct Case {
        const char* item;
        std::function<QWidget*()> window;
    } cases[] = {
        {"Ndjcx", [&] { return windows.find<TfrmDataDetail>(); }},
        {"N5", [&] { return windows.find<TfrmEportData>(); }},
        {"N4", [&] { return windows.find<TfrmFeeInput>(); }},
        {"Nfycx", [&] { return windows.find<TfrmFeeDetai>(); }},
        {"N7", [&] { return windows.find<TfrmFeeMagAdd>(); }},
        {"Nlimit", [&] { return windows.find<TfrmUserMag>(); }},
        {"Nchpass", [&] { return windows.find<TfrmChangPW>(); }},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.window(), nullptr) << c.item;
        action(*w, c.item)->trigger();
        ASSERT_NE(c.window(), nullptr) << c.item;
        EXPECT_TRUE(c.window()->isVisible()) << c.item;
        EXPECT_EQ(c.window()->parentWidget(), w.get()) << c.item;
        c.window()->close();
    }
    EXPECT_EQ(&windows.get<DeclarationDetails>(),
              static_cast<DeclarationDetails*>(windows.find<TfrmDataDetail>()));
    EXPECT_EQ(&windows.get<FeeEntry>(), static_cast<FeeEntry*>(windows.find<TfrmFeeInput>()));
}

// 停止 is the one control a clerk needs during a long download: however long the progress text
// grows, it stays on the toolbar, and the text is cut to the room left (whole in its tool tip).
TEST_F(MainWindowTest, StopStaysOnTheToolbarWhateverTheProgressSays) {
    auto w = open();
    auto* toolbar = w->findChild<QToolBar*>("ToolBar1");
    auto* stop = w->findChild<QToolButton*>("StopButton");
    auto* label = w->findChild<QLabel*>("ProgressLabel");
    w->setBusy(true, [] {});
    for (const char* text :
         {"3 / 10", "第 11 行 报关单 10 商品 15", "第 1234 行 报关单 1000 商品 15000 附件 99 重试 12"}) {
        w->setProgress(QString::fromUtf8(text));
        QApplication::processEvents();
        EXPECT_TRUE(stop->isVisible()) << text;
        EXPECT_TRUE(toolbar->rect().contains(stop->geometry())) << text;
        auto* overflow = toolbar->findChild<QToolButton*>("qt_toolbar_ext_button");
        EXPECT_TRUE(!overflow || !overflow->isVisible()) << text;
        EXPECT_TRUE(label->isVisible()) << text;
        EXPECT_EQ(label->text().toStdString(), text);
        EXPECT_EQ(label->toolTip().toStdString(), text);
        EXPECT_LE(label->geometry().right(), stop->geometry().left()) << text;
    }
    w->setBusy(false);
}
