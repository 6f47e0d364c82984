// The password change: its steps in order with their messages, and the log-in check.
#include <gtest/gtest.h>

#include "UsersFixture.h"
#include "ca/db/Quoting.h"
#include "ca/users/Cipher.h"
#include "ca/users/LoginCheck.h"
#include "ca/users/PasswordChange.h"

using namespace ca;
using namespace ca::users;

namespace {

class PasswordChangeTest : public UsersFixture {
protected:
    void SetUp() override {
        exec("insert into DEP(ID,DEP_Name) values(1,'报关部')");
        addUser(1, "O'Neil", EncryptToHex("Old密码", PasswordKey), 1);
        addUser(2, "新用户", "", 0);
        addUser(3, "QP", EncryptToHex("qp", PasswordKey), 2);
    }
    void addUser(int id, const std::string& name, const std::string& pwd, int category) {
        exec("insert into employee(E_ID,E_name,E_DEP,E_pwd,E_isSup) values(" + std::to_string(id) + ",'" +
             db::EscapeQuotes(name) + "',1,'" + pwd + "'," + std::to_string(category) + ")");
    }
    std::string storedOf(int id) {
        return rows("select E_pwd from employee where E_ID=" + std::to_string(id)).at(0);
    }
};

TEST_P(PasswordChangeTest, StepsInOrderEachRefusalStoresNothing) {
    struct Case {
        std::string user;
        PasswordChangeForm form;
        const char* warning;
    };
    const Case cases[] = {
        {"O'Neil", {"", "", ""}, "请输入原密码！"},
        {"", {"Old密码", "new", "new"}, "用户已经被删除！"},  // nobody logged in
        {"nobody", {"Old密码", "new", "new"}, "用户已经被删除！"},
        {"O'Neil", {"old密码", "new", "new"}, "原密码错误！"},  // differs in case only
        {"新用户", {"x", "new", "new"}, "原密码错误！"},        // nothing stored: never passes
        {"O'Neil", {"Old密码", "", ""}, "请输入新密码！"},
        {"O'Neil", {"Old密码", "new", ""}, "请输入密码确认！"},
        {"O'Neil", {"Old密码", "new", "New"}, "您两次输入的密码不一致！"},
        {"O'Neil",
         {"Old密码", "p😃w", "p😃w"},
         "密码含有 GBK 编码无法保存的字符“😃”（U+1F603），请换一个密码！"},
    };
    const auto before = rows("select * from employee");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        prompts.clear();
        prompts.answerQuestion(Button::Yes);
        EXPECT_FALSE(changePassword(dm, prompts, c.user, c.form));
        EXPECT_EQ(prompts.texts("question"), std::vector<std::string>{"您确定要修改密码吗？"});
        EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{c.warning});
        EXPECT_EQ(rows("select * from employee"), before);
    }
    prompts.clear();
    prompts.answerQuestion(Button::No);
    EXPECT_FALSE(changePassword(dm, prompts, "O'Neil", {"Old密码", "new", "new"}));
    EXPECT_TRUE(prompts.texts("warning").empty());
    EXPECT_EQ(rows("select * from employee"), before);
}

TEST_P(PasswordChangeTest, StoresTheNewPasswordAndSaysSo) {
    prompts.answerQuestion(Button::Yes);
    EXPECT_TRUE(changePassword(dm, prompts, "O'Neil", {"Old密码", "新密码", "新密码"}));
    EXPECT_EQ(prompts.texts("info"), std::vector<std::string>{"恭喜，密码修改成功！"});
    EXPECT_EQ(storedOf(1), EncryptToHex("新密码", PasswordKey));
    EXPECT_EQ(DecryptFromHex(storedOf(1), PasswordKey), "新密码");
    // The same password again is accepted.
    prompts.answerQuestion(Button::Yes);
    EXPECT_TRUE(changePassword(dm, prompts, "O'Neil", {"新密码", "新密码", "新密码"}));
    EXPECT_EQ(storedOf(3), EncryptToHex("qp", PasswordKey));  // nobody else changed
}

TEST_P(PasswordChangeTest, LogInNeedsTheRightNameAndPassword) {
    CurrentUser current;
    EXPECT_FALSE(logIn(dm, current, "O'Neil", "old密码"));
    EXPECT_FALSE(logIn(dm, current, "nobody", "Old密码"));
    EXPECT_FALSE(logIn(dm, current, "", ""));
    EXPECT_FALSE(logIn(dm, current, "新用户", ""));  // no password stored: no log-in
    EXPECT_FALSE(current.loggedIn());
    EXPECT_EQ(current.CurrentUserName(), "");
    EXPECT_EQ(current.CurrentUserCategory(), 0);

    EXPECT_TRUE(logIn(dm, current, "o'neil", "Old密码"));  // names compare without regard to case
    EXPECT_TRUE(current.loggedIn());
    EXPECT_EQ(current.CurrentUserName(), "O'Neil");  // as stored, so later look-ups by name find him
    EXPECT_EQ(current.CurrentUserCategory(), 1);
    EXPECT_EQ(checkLogin(dm, "QP", "qp")->category, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, PasswordChangeTest, ca::db::testing::AllEngines(),
                         ca::db::testing::EngineName);

}  // namespace
