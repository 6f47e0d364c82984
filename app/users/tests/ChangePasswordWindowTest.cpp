// "密码修改" as the current user uses it: the steps' messages in order and fields kept when closed.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "ca/app/users/TfrmChangPW.h"
#include "ca/db/testing/DbFixture.h"
#include "ca/users/Cipher.h"
#include "ca/util/Clock.h"
#include "ca/util/Printer.h"

using namespace ca;
using namespace ca::app;

namespace {

class ChangePasswordWindowTest : public DbFixture {
protected:
    void SetUp() override {
        exec("insert into employee(E_ID,E_name,E_DEP,E_pwd,E_isSup) values(1,'王五',1,'" +
             users::EncryptToHex("旧的", users::PasswordKey) + "',0)");
    }
    void type(TfrmChangPW& d, const char* edit, const char* text) {
        d.findChild<QLineEdit*>(edit)->setText(text);
    }
    void click(TfrmChangPW& d, const char* button) {
        auto* b = d.findChild<QPushButton*>(button);
        ASSERT_TRUE(b->isVisible() && b->isEnabled());
        b->click();
    }

    ScriptedPrompts prompts;
    VirtualClock clock;
    RecordingPrinter printer;
    users::CurrentUser user;
    AppContext ctx{prompts, dm, clock, printer, user, {}};
};

TEST_F(ChangePasswordWindowTest, StepsTheirMessagesAndTheStoredPassword) {
    TfrmChangPW d(ctx);
    d.show();
    EXPECT_EQ(d.windowTitle().toStdString(), "密码修改");
    for (const char* edit : {"Edit1", "Edit2", "Edit3"})
        EXPECT_EQ(d.findChild<QLineEdit*>(edit)->echoMode(), QLineEdit::Password);

    // Nobody logged in: no user of the empty name.
    type(d, "Edit1", "旧的");
    prompts.answerQuestion(Button::Yes);
    click(d, "BitBtn1");
    user.logIn("王五", 0);
    prompts.answerQuestion(Button::No);
    click(d, "BitBtn1");
    type(d, "Edit1", "旧");
    prompts.answerQuestion(Button::Yes);
    click(d, "BitBtn1");
    type(d, "Edit1", "旧的");
    type(d, "Edit2", "新的");
    prompts.answerQuestion(Button::Yes);
    click(d, "BitBtn1");
    type(d, "Edit3", "新的");
    prompts.answerQuestion(Button::Yes);
    click(d, "BitBtn1");
    EXPECT_EQ(prompts.texts("question").size(), 5u);
    EXPECT_EQ(prompts.texts("warning"),
              (std::vector<std::string>{"用户已经被删除！", "原密码错误！", "请输入密码确认！"}));
    EXPECT_EQ(prompts.texts("info"), std::vector<std::string>{"恭喜，密码修改成功！"});
    EXPECT_EQ(rows("select E_pwd from employee"),
              std::vector<std::string>{users::EncryptToHex("新的", users::PasswordKey)});

    // Closed and shown again: the fields keep their texts.
    click(d, "BitBtn2");
    EXPECT_FALSE(d.isVisible());
    d.show();
    EXPECT_EQ(d.findChild<QLineEdit*>("Edit2")->text().toStdString(), "新的");
    if (const char* out = std::getenv("CA_SCREENSHOTS")) d.grab().save(QString(out) + "/frmChangPW.png");
}

}  // namespace

// Enter in a field does what "确定" does; Esc closes the dialog as "关闭" does.
TEST_F(ChangePasswordWindowTest, EnterConfirmsAndEscapeCloses) {
    TfrmChangPW d(ctx);
    d.show();
    click(d, "BitBtn1");
    const std::vector<ScriptedPrompts::Shown> byClick = prompts.shown();
    ASSERT_FALSE(byClick.empty());
    prompts.clear();
    QTest::keyClick(d.findChild<QLineEdit*>("Edit3"), Qt::Key_Return);
    ASSERT_EQ(prompts.shown().size(), byClick.size());
    EXPECT_EQ(prompts.shown()[0].text, byClick[0].text);
    QTest::keyClick(d.findChild<QLineEdit*>("Edit2"), Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
}
