#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <memory>

#include "ca/app/TfrmConfig.h"
#include "ca/app/TfrmMain.h"
#include "ca/util/Folders.h"
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
        auto d = std::make_unique<TfrmConfig>(prompts, file);
        d->show();
        return d;
    }
    void click(TfrmConfig& d, const char* button) { d.findChild<QPushButton*>(button)->click(); }

    fs::path dir, file;
    ScriptedPrompts prompts;
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
    auto d = std::make_unique<TfrmConfig>(prompts, dir / "missing" / "config.ini");
    d->show();
    prompts.answerQuestion(Button::Yes);
    click(*d, "Button2");
    ASSERT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_TRUE(prompts.texts("plain").empty());
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
    VirtualClock clock;
    TfrmMain w(prompts, clock, file);
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
