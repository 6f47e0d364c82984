// The optional log-in: off by default; on, a wrong name or password is said and may be tried again,
// and a successful log-in reveals exactly the menu items of the user's category.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "ca/app/main/TfrmConfig.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/main/WindowTable.h"
#include "ca/app/users/TfrmLogin.h"
#include "ca/db/testing/DbFixture.h"
#include "ca/users/Cipher.h"
#include "ca/util/Clock.h"
#include "ca/util/Printer.h"
#include "ca/util/Settings.h"

using namespace ca;
using namespace ca::app;
namespace fs = std::filesystem;
namespace st = ca::settings;

namespace {

class LogInTest : public DbFixture {
protected:
    void SetUp() override {
        savedCwd = fs::current_path();  // the main window moves it to the imported folder
        // Tests run side by side in separate processes, other checkouts' too: one folder each.
        dir = fs::temp_directory_path() /
              ("ca_login_" + std::to_string(QCoreApplication::applicationPid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        config = dir / "config.ini";
        const std::string folder = dir.string();
        IniFile(config).WriteString(st::kSection, st::kUnimportedDir, folder);
        IniFile(config).WriteString(st::kSection, st::kImportedDir, folder);
        int category = 0;
        for (const char* name : {"普通", "超级", "QP"}) {
            exec("insert into employee(E_ID,E_name,E_DEP,E_pwd,E_isSup) values(" +
                 std::to_string(category + 1) + ",'" + name + "',1,'" +
                 users::EncryptToHex("pw", users::PasswordKey) + "'," + std::to_string(category) + ")");
            ++category;
        }
    }
    void TearDown() override {
        fs::current_path(savedCwd);
        fs::remove_all(dir);
    }

    // The items that can be hidden, with whether each shows now.
    std::map<std::string, bool> shown(TfrmMain& w) {
        std::map<std::string, bool> out;
        for (const char* item : {"N4", "Nfycx", "Nchpass", "Nlimit", "N7", "shanchu1"})
            out[item] = w.menuBar()->findChild<QAction*>(item)->isVisible();
        out["N6"] = w.menuBar()->findChild<QMenu*>("N6")->menuAction()->isVisible();
        return out;
    }
    // Answers the log-in dialog once it is up: each pair is typed and "登录" pressed; with no pair
    // left, "取消".
    void answerLogIn(TfrmMain& w, std::vector<std::pair<std::string, std::string>> tries) {
        QTimer::singleShot(0, &w, [&w, tries] {
            auto* d = w.findChild<TfrmLogin*>();
            ASSERT_TRUE(d && d->isVisible());
            if (const char* out = std::getenv("CA_SCREENSHOTS"))
                d->grab().save(QString(out) + "/frmLogin.png");
            for (const auto& [name, password] : tries) {
                d->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(name));
                d->findChild<QLineEdit*>("Edit2")->setText(QString::fromStdString(password));
                d->findChild<QPushButton*>("BitBtn1")->click();
            }
            if (d->isVisible()) d->findChild<QPushButton*>("BitBtn2")->click();
        });
    }

    // The program context of the main windows the tests open, made once the settings file is known.
    AppContext& context() {
        if (!ctx) ctx.emplace(prompts, dm, clock, printer, user, config);
        return *ctx;
    }

    fs::path savedCwd, dir, config;
    ScriptedPrompts prompts;
    VirtualClock clock;
    users::CurrentUser user;
    RecordingPrinter printer;
    std::optional<AppContext> ctx;
};

TEST_F(LogInTest, OffByDefaultNothingIsAskedOrShown) {
    TfrmMain w(context());
    w.show();
    const auto before = shown(w);
    offerLogIn(w);  // returns at once: no dialog
    EXPECT_EQ(shown(w), before);
    for (const auto& [item, visible] : before)
        EXPECT_FALSE(visible) << item;
    EXPECT_FALSE(user.loggedIn());
}

TEST_F(LogInTest, RevealsExactlyTheItemsOfTheCategory) {
    IniFile(config).WriteString(st::kSection, st::kLogInAtStart, "1");
    using Shown = std::map<std::string, bool>;
    const struct {
        const char* name;
        Shown expected;
    } cases[] = {
        {"普通",
         {{"N4", true},
          {"Nfycx", true},
          {"Nchpass", true},
          {"Nlimit", false},
          {"N7", false},
          {"shanchu1", false},
          {"N6", true}}},
        {"超级",
         {{"N4", true},
          {"Nfycx", true},
          {"Nchpass", true},
          {"Nlimit", true},
          {"N7", true},
          {"shanchu1", false},
          {"N6", true}}},
        {"QP",
         {{"N4", true},
          {"Nfycx", true},
          {"Nchpass", true},
          {"Nlimit", false},
          {"N7", false},
          {"shanchu1", false},
          {"N6", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        users::CurrentUser current;
        AppContext fresh(prompts, dm, clock, printer, current, config);
        TfrmMain w(fresh);
        w.show();
        answerLogIn(w, {{c.name, "pw"}});
        offerLogIn(w);
        EXPECT_EQ(current.CurrentUserName(), c.name);
        EXPECT_EQ(shown(w), c.expected);
    }
    EXPECT_TRUE(prompts.texts("warning").empty());
}

TEST_F(LogInTest, AWrongTryIsSaidAndCancelStartsWithoutAUser) {
    IniFile(config).WriteString(st::kSection, st::kLogInAtStart, "1");
    TfrmMain w(context());
    w.show();
    answerLogIn(w, {{"超级", "PW"}, {"没有", "pw"}, {"超级", "pw"}});
    offerLogIn(w);
    EXPECT_EQ(prompts.texts("warning"),
              (std::vector<std::string>{"用户名或密码错误，请重新输入！", "用户名或密码错误，请重新输入！"}));
    EXPECT_EQ(user.CurrentUserCategory(), 1);
    EXPECT_TRUE(shown(w)["Nlimit"]);

    users::CurrentUser nobody;
    AppContext fresh(prompts, dm, clock, printer, nobody, config);
    TfrmMain w2(fresh);
    w2.show();
    answerLogIn(w2, {{"超级", "wrong"}});
    offerLogIn(w2);
    EXPECT_FALSE(nobody.loggedIn());
    for (const auto& [item, visible] : shown(w2))
        EXPECT_FALSE(visible) << item;
}

TEST_F(LogInTest, TheSettingsDialogOffersTheSwitch) {
    TfrmConfig d(context());
    d.show();
    auto* box = d.findChild<QCheckBox*>("CheckLogIn");
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->isChecked());
    // Saved while off and never used: the key is not written.
    prompts.answerQuestion(Button::Yes);
    d.findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(IniFile(config).ReadString(st::kSection, st::kLogInAtStart, "<none>"), "<none>");
    box->setChecked(true);
    prompts.answerQuestion(Button::Yes);
    d.findChild<QPushButton*>("Button2")->click();
    EXPECT_TRUE(st::logInAtStart(IniFile(config)));
    box->setChecked(false);
    prompts.answerQuestion(Button::Yes);
    d.findChild<QPushButton*>("Button2")->click();
    EXPECT_EQ(IniFile(config).ReadString(st::kSection, st::kLogInAtStart, "<none>"), "0");
    d.hide();
    d.show();
    EXPECT_FALSE(box->isChecked());
}

}  // namespace
