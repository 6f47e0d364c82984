#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "ca/app/main/TfrmConfig.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/db/TDM.h"
#include "ca/db/testing/TestDatabase.h"
#include "ca/util/Folders.h"
#include "ca/util/Gbk.h"
#include "ca/util/Settings.h"

using namespace ca;
using namespace ca::app;
namespace fs = std::filesystem;
namespace st = ca::settings;

namespace {

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("ca_config_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "config.ini";
    }
    void TearDown() override { fs::remove_all(dir); }

    std::unique_ptr<TfrmConfig> open() {
        ctx.emplace(prompts, dm, clock, printer, user, file);
        auto d = std::make_unique<TfrmConfig>(*ctx);
        d->show();
        return d;
    }
    void click(TfrmConfig& d, const char* button) { d.findChild<QPushButton*>(button)->click(); }

    fs::path dir, file;
    ScriptedPrompts prompts;
    VirtualClock clock;
    db::TDM dm{":memory:"};
    RecordingPrinter printer;
    users::CurrentUser user;
    std::optional<AppContext> ctx;
};

}  // namespace

TEST_F(ConfigDialogTest, WithoutConfigEveryFieldIsEmpty) {
    auto d = open();
    for (const auto& key : st::allKeys()) {
        ASSERT_TRUE(d->fieldFor(key)) << key;
        EXPECT_EQ(d->fieldFor(key)->text().toStdString(), "") << key;
    }
    EXPECT_EQ(d->windowTitle().toStdString(), "类名设置");
    EXPECT_EQ(d->memoLines().front(), "如何获取 容器类名 和 编辑框");
    EXPECT_EQ(d->memoLines().back(), "按修改既可");
}

// Long class names and folder paths show whole: the fields take the width of their longest text.
TEST_F(ConfigDialogTest, FieldsAreAsWideAsTheirLongestText) {
    const std::string folder = "/home/报关员/单证/2024年/未导入的报关单/宁波分公司/进口";
    IniFile(file).WriteString(st::kSection, st::kUnimportedDir, folder);
    IniFile(file).WriteString(st::kSection, st::kContainerClass, "WindowsForms10.Window.8.app.0.33c0d9d");
    auto d = open();
    for (const auto& key : {st::kUnimportedDir, st::kContainerClass, st::kMainDelay}) {
        const QLineEdit* edit = d->fieldFor(key);
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(edit->text()) + 8) << key;
    }
    EXPECT_EQ(d->fieldFor(st::kMainDelay)->width(), d->fieldFor(st::kUnimportedDir)->width());
}

TEST_F(ConfigDialogTest, FieldsShowTheirKeysAndSaveWritesThemUnchanged) {
    // Field names to keys, as the clerk finds them top to bottom.
    const std::pair<const char*, const char*> fields[] = {
        {"Edit12", "容器类名"},       {"Edit13", "编辑框类名"},     {"Edit1", "表格类名"},
        {"Edit2", "按钮类名"},        {"Edit3", "文本类名"},        {"Edit4", "工具拦类名"},
        {"Edit5", "下拉框类名"},      {"Edit6", "主单延迟"},        {"Edit7", "子数据延迟"},
        {"Edit8", "经营单位"},        {"Edit9", "收货单位"},        {"Edit10", "申报单位"},
        {"Edit11", "运输方式"},       {"Edit14", "监管方式"},       {"Edit15", "征免性质"},
        {"Edit16", "境内目的地"},     {"Edit17", "包装种类"},       {"Edit18", "报关单类型"},
        {"Edit19", "商品用途"},       {"Edit20", "商品征免"},       {"exportname", "QP进程名"},
        {"Edit21", "未导入文件目录"}, {"Edit22", "已导入文件目录"}, {"Edit23", "导入后延时"},
    };
    IniFile ini(file);
    for (const auto& [name, key] : fields)
        ini.WriteString(st::kSection, key, std::string("值") + name);
    auto d = open();
    for (const auto& [name, key] : fields)
        EXPECT_EQ(d->findChild<QLineEdit*>(name)->text().toStdString(), std::string("值") + name) << name;

    d->findChild<QLineEdit*>("Edit6")->setText("abc");  // nothing is validated
    d->findChild<QLineEdit*>("Edit23")->setText("");
    prompts.answerQuestion(Button::No);
    click(*d, "Button2");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kMainDelay, ""), "值Edit6");
    EXPECT_TRUE(prompts.texts("plain").empty());

    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    EXPECT_EQ(prompts.texts("question"), (std::vector<std::string>{"您确定要修改吗？", "您确定要修改吗？"}));
    EXPECT_EQ(prompts.texts("plain"), (std::vector<std::string>{"修改成功！"}));
    EXPECT_EQ(ini.ReadString(st::kSection, st::kMainDelay, ""), "abc");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kPostEntryDelay, "400"), "");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kDeclaringUnit, ""), "值Edit10");
}

TEST_F(ConfigDialogTest, UnwritableFileShowsTheErrorBox) {
    ctx.emplace(prompts, dm, clock, printer, user, dir / "missing" / "config.ini");
    auto d = std::make_unique<TfrmConfig>(*ctx);
    d->show();
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    ASSERT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_TRUE(prompts.texts("plain").empty());
}

TEST_F(ConfigDialogTest, AValueTheFileCannotHoldLeavesEveryKeyUnwritten) {
    IniFile ini(file);
    ini.WriteString(st::kSection, st::kContainerClass, "旧容器");
    ini.WriteString(st::kSection, st::kImportedDir, "旧目录");
    auto d = open();
    // The first field changes to a valid value, a later one to a character GBK cannot hold.
    d->findChild<QLineEdit*>("Edit12")->setText("新容器");
    d->findChild<QLineEdit*>("Edit22")->setText("目录😀");
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    ASSERT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_NE(prompts.texts("error")[0].find("U+1F600"), std::string::npos) << prompts.texts("error")[0];
    EXPECT_TRUE(prompts.texts("plain").empty());
    EXPECT_EQ(ini.ReadString(st::kSection, st::kContainerClass, ""), "旧容器");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kImportedDir, ""), "旧目录");
}

// 数据库服务器: the password shows masked and stays stored where the mask stays; the key is written
// only when it changes, and the window says the change counts from the next start.
TEST_F(ConfigDialogTest, TheServerFieldMasksThePasswordAndKeepsItWhereTheMaskStays) {
    IniFile ini(file);
    ini.WriteString(st::kSection, st::kDatabaseServer, "host=db user=clerk password=Geheim123");
    auto d = open();
    auto* server = d->findChild<QLineEdit*>("EditServer");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->text().toStdString(), "host=db user=clerk password=******");
    if (const char* out = std::getenv("CA_SCREENSHOTS")) d->grab().save(QString(out) + "/frmConfig.png");
    EXPECT_NE(d->findChild<QLabel*>("LabelServerNote")->text().toStdString().find("下次启动时生效"),
              std::string::npos);

    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");  // unchanged
    server->setText("host=db2 user=clerk password=******");
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    EXPECT_EQ(prompts.texts("plain"),
              (std::vector<std::string>{"修改成功！", "修改成功！数据库服务器的设置在程序下次启动时生效。"}));
    EXPECT_EQ(ini.ReadString(st::kSection, st::kDatabaseServer, ""),
              "host=db2 user=clerk password=Geheim123");
    EXPECT_EQ(server->text().toStdString(), "host=db2 user=clerk password=******");

    server->setText("");  // back to the desk's own file
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kDatabaseServer, "(none)"), "");
    EXPECT_EQ(db::DatabaseTarget(ini), st::kDatabaseFileName);
}

TEST_F(ConfigDialogTest, AFileWithoutTheServerKeepsItAbsent) {
    IniFile ini(file);
    ini.WriteString(st::kSection, st::kMainDelay, "300");
    auto d = open();
    EXPECT_EQ(d->findChild<QLineEdit*>("EditServer")->text().toStdString(), "");
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kDatabaseServer, "(none)"), "(none)");
    EXPECT_EQ(prompts.texts("plain"), (std::vector<std::string>{"修改成功！"}));
}

// 测试连接 connects to what the field names, before it is saved, and changes nothing: not the file,
// not the database. It names the reason of a failure without the password.
TEST_F(ConfigDialogTest, TheConnectionTestReportsWithoutThePasswordAndSavesNothing) {
    IniFile ini(file);
    ini.WriteString(st::kSection, st::kDatabaseServer,
                    "host=/tmp/ca-no-such-folder port=1 password=Geheim123");
    auto d = open();
    auto* server = d->findChild<QLineEdit*>("EditServer");
    EXPECT_EQ(d->findChild<QPushButton*>("ButtonTestServer")->text().toStdString(), "测试连接");

    click(*d, "ButtonTestServer");
    ASSERT_EQ(prompts.texts("warning").size(), 1u);
    const std::string refused = prompts.texts("warning")[0];
    EXPECT_NE(refused.find("服务器没有运行"), std::string::npos) << refused;
    EXPECT_EQ(refused.find("Geheim123"), std::string::npos) << refused;

    server->setText("");
    click(*d, "ButtonTestServer");
    ASSERT_EQ(prompts.texts("info").size(), 1u);
    EXPECT_NE(prompts.texts("info")[0].find("DB.sqlite"), std::string::npos) << prompts.texts("info")[0];

    if (!db::testing::testServer().empty()) {
        db::testing::TestDatabase empty{db::testing::EngineKind::Postgres};
        server->setText(QString::fromStdString(empty.target()));
        click(*d, "ButtonTestServer");
        ASSERT_EQ(prompts.texts("info").size(), 2u);
        EXPECT_EQ(prompts.texts("info")[1].rfind("连接成功：PostgreSQL", 0), 0u) << prompts.texts("info")[1];
    }
    EXPECT_EQ(ini.ReadString(st::kSection, st::kDatabaseServer, ""),
              "host=/tmp/ca-no-such-folder port=1 password=Geheim123");
    EXPECT_TRUE(prompts.texts("question").empty());
}

TEST_F(ConfigDialogTest, ClassListingShowsDistinctNamesInOrder) {
    auto d = open();
    click(*d, "Button3");  // no lister connected: nothing happens
    EXPECT_EQ(d->memoLines().front(), "如何获取 容器类名 和 编辑框");

    bool running = false;
    d->setClassLister([&]() -> std::optional<std::vector<std::string>> {
        if (!running) return std::nullopt;
        return std::vector<std::string>{"Window", "Edit", "Window", "edit", "Button", "Edit"};
    });
    click(*d, "Button3");
    EXPECT_EQ(prompts.texts("plain"), (std::vector<std::string>{"未找到海关录入软件"}));
    EXPECT_EQ(d->memoLines().front(), "如何获取 容器类名 和 编辑框");

    running = true;
    const std::vector<std::string> expected{"Window", "Edit", "edit", "Button"};
    click(*d, "Button3");
    EXPECT_EQ(d->memoLines(), expected);
    click(*d, "Button3");
    EXPECT_EQ(d->memoLines(), expected);
}

TEST_F(ConfigDialogTest, BothMenuItemsOpenTheSameDialogWithTheProcessNameLoadedAtStart) {
    IniFile(file).WriteString(st::kSection, st::kProcessName, "Client.exe");
    ctx.emplace(prompts, dm, clock, printer, user, file);
    TfrmMain w(*ctx);
    w.show();
    std::vector<std::string> asked;
    w.setClassLister([&](const std::string& process) {
        asked.push_back(process);
        return std::optional<std::vector<std::string>>(std::vector<std::string>{});
    });
    w.findChild<QAction*>("N1")->trigger();
    auto* first = w.findChild<TfrmConfig*>("frmConfig");
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    first->close();
    w.findChild<QAction*>("N10")->trigger();
    EXPECT_EQ(w.findChildren<TfrmConfig*>().size(), 1u);
    EXPECT_TRUE(first->isVisible());

    // A changed process name reaches the listing only at the next start.
    first->findChild<QLineEdit*>("exportname")->setText("Other.exe");
    prompts.answerQuestion(Button::Yes);
    first->findChild<QPushButton*>("Button2")->click();
    first->findChild<QPushButton*>("Button3")->click();
    EXPECT_EQ(asked, (std::vector<std::string>{"Client.exe"}));
}

TEST_F(ConfigDialogTest, LabelsButtonsHelpTextAndTheOrderOfSaving) {
    // Top to bottom: label, field, key, whether a "毫秒" unit label follows.
    struct Row {
        const char* label;
        const char* field;
        const char* key;
        bool ms;
    } rows[] = {
        {"容器类名：", "Edit12", "容器类名", false},
        {"编辑框类名：", "Edit13", "编辑框类名", false},
        {"表格类名：", "Edit1", "表格类名", false},
        {"按钮类名：", "Edit2", "按钮类名", false},
        {"文本类名：", "Edit3", "文本类名", false},
        {"工具拦类名：", "Edit4", "工具拦类名", false},
        {"下拉框类名：", "Edit5", "下拉框类名", false},
        {"主单延迟：", "Edit6", "主单延迟", true},
        {"子数据延迟：", "Edit7", "子数据延迟", true},
        {"经营单位：", "Edit8", "经营单位", false},
        {"收货单位：", "Edit9", "收货单位", false},
        {"申报单位：", "Edit10", "申报单位", false},
        {"运输方式：", "Edit11", "运输方式", false},
        {"监管方式：", "Edit14", "监管方式", false},
        {"征免性质：", "Edit15", "征免性质", false},
        {"境内目的地：", "Edit16", "境内目的地", false},
        {"包装种类：", "Edit17", "包装种类", false},
        {"报关单类型：", "Edit18", "报关单类型", false},
        {"商品用途：", "Edit19", "商品用途", false},
        {"商品征免：", "Edit20", "商品征免", false},
        {"QP进程名：", "exportname", "QP进程名", false},
        {"未导入文件目录：", "Edit21", "未导入文件目录", false},
        {"已导入文件目录", "Edit22", "已导入文件目录", false},
        {"导入完毕后延迟时间", "Edit23", "导入后延时", true},
    };
    auto d = open();
    const auto labels = d->findChildren<QLabel*>();
    int units = 0;
    for (QLabel* l : labels)
        units += l->text() == "毫秒";
    EXPECT_EQ(units, 3);
    int previousY = -1;
    for (const Row& r : rows) {
        auto* field = d->findChild<QLineEdit*>(r.field);
        ASSERT_TRUE(field) << r.field;
        EXPECT_EQ(d->fieldFor(r.key), field) << r.key;
        QLabel* label = nullptr;
        for (QLabel* l : labels)
            if (l->buddy() == field) label = l;
        ASSERT_TRUE(label) << r.field;
        EXPECT_EQ(label->text().toStdString(), r.label);
        EXPECT_GT(field->y(), previousY) << r.field;
        previousY = field->y();
    }
    const std::pair<const char*, const char*> buttons[] = {
        {"Button2", "修改"}, {"Button1", "关闭"}, {"Button3", "列出类名"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(d->findChild<QPushButton*>(name)->text().toStdString(), caption) << name;
    EXPECT_EQ(d->memoLines(), (std::vector<std::string>{"如何获取 容器类名 和 编辑框",
                                                        "类名",
                                                        "？",
                                                        "",
                                                        "在海关录入工具开启并且已",
                                                        "经打",
                                                        "开录入界面前提下：",
                                                        "按 （列出类名）按钮",
                                                        "在列出的类名称中",
                                                        "容器类名，多数情况下会带",
                                                        "有",
                                                        "Window 字符",
                                                        "编辑框类名，多数情况下会",
                                                        "带有",
                                                        "EDIT字符",
                                                        "表格类名，多数情况下会带",
                                                        "有",
                                                        "SysListView32字符",
                                                        "按钮类名，多数情况下会带",
                                                        "有",
                                                        "BUTTON字符",
                                                        "文本类名，多数情况下会带",
                                                        "有",
                                                        "STATIC字符",
                                                        "工具拦类名，多数情况下会",
                                                        "带有",
                                                        "ToolbarWindow32字符",
                                                        "将这些复制到对应的编辑框",
                                                        "里后",
                                                        "按修改既可"}));

    // Saved into a new file, the keys follow each other in the order of the fields.
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::istringstream lines(gbkToUtf8(bytes.str()));
    std::vector<std::string> keys, expected;
    for (std::string line; std::getline(lines, line);)
        if (auto eq = line.find('='); eq != std::string::npos) keys.push_back(line.substr(0, eq));
    for (const Row& r : rows)
        expected.push_back(r.key);
    EXPECT_EQ(keys, expected);
}

// Enter in a field asks as "修改" does; Esc closes the dialog as "关闭" does.
TEST_F(ConfigDialogTest, EnterAsksToSaveAndEscapeCloses) {
    auto d = open();
    prompts.answerQuestion(Button::No);
    QTest::keyClick(d->findChild<QLineEdit*>("Edit8"), Qt::Key_Return);
    EXPECT_EQ(prompts.texts("question"), std::vector<std::string>{"您确定要修改吗？"});
    QTest::keyClick(d->findChild<QLineEdit*>("Edit8"), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(prompts.shown().size(), 1u);
}
