// The checks, questions and messages of the user administration actions, in order, and that a
// refused action writes nothing.
#include <gtest/gtest.h>

#include "UsersFixture.h"
#include "ca/users/Cipher.h"

using namespace ca;
using namespace ca::users;

namespace {

class UserAdministrationTest : public UsersFixture {
protected:
    void SetUp() override {
        store.addDepartment("报关部");  // id 1
        store.addDepartment("财务部");  // id 2
        store.addUser(1);               // 新增用户1
        store.addUser(2);               // 新增用户2
        exec("update employee set E_name='张三' where E_ID=2");
    }

    UserForm validForm() {
        UserForm f;
        f.id = "1";
        f.name = "李四";
        f.departmentId = "2";
        f.sex = "女";
        f.mobile = "139";
        f.position = "经理";
        f.password = f.confirmation = "密码1";
        f.address1 = "地址一";
        f.address2 = "地址二";
        f.category = "1";
        return f;
    }
};

TEST_P(UserAdministrationTest, SaveUserChecksInOrderAndWritesNothingWhenRefused) {
    struct Case {
        const char* what;
        void (*change)(UserForm&);
        const char* warning;
    };
    const Case cases[] = {
        {"no user shown", [](UserForm& f) { f.id.clear(), f.departmentId.reset(); },
         "请先在左边的列表中选择一个用户！"},
        {"user deleted since he was shown", [](UserForm& f) { f.id = "7"; },
         "此帐户已经被删除，请刷新树列表！"},
        {"no department", [](UserForm& f) { f.departmentId.reset(), f.name.clear(); }, "请选择所属部门！"},
        {"no name", [](UserForm& f) { f.name.clear(), f.password.clear(); }, "请输入用户名称！"},
        {"another's name", [](UserForm& f) { f.name = "张三", f.password.clear(); },
         "已经存在相同的用户名称！"},
        {"another's name, other case", [](UserForm& f) { f.name = "TOM"; }, "已经存在相同的用户名称！"},
        {"another's name, full-width letters", [](UserForm& f) { f.name = "ｔｏＭ"; },
         "已经存在相同的用户名称！"},
        {"another's name, blanks around", [](UserForm& f) { f.name = " 张三\u3000"; },
         "已经存在相同的用户名称！"},
        {"blanks only", [](UserForm& f) { f.name = "\u3000 \t"; }, "请输入用户名称！"},
        {"no password", [](UserForm& f) { f.password.clear(), f.confirmation.clear(); }, "请输入密码！"},
        {"no confirmation", [](UserForm& f) { f.confirmation.clear(), f.sex.reset(); }, "请输入确认密码！"},
        {"passwords differ in case", [](UserForm& f) { f.password = "Abc", f.confirmation = "abc"; },
         "您两次输入的密码不一致！"},
        {"a character GBK cannot hold", [](UserForm& f) { f.password = f.confirmation = "p😀w"; },
         "密码含有 GBK 编码无法保存的字符“😀”（U+1F600），请换一个密码！"},
        {"no sex", [](UserForm& f) { f.sex.reset(), f.category.reset(); }, "请选择性别！"},
        {"no category", [](UserForm& f) { f.category.reset(); }, "请选择用户类别！"},
    };
    exec("insert into employee(E_ID,E_name,E_DEP) values(9,'tom',1)");
    const auto before = rows("select * from employee order by E_ID");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clear();
        UserForm f = validForm();
        c.change(f);
        EXPECT_FALSE(admin.saveUser(f));
        EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{c.warning});
        EXPECT_TRUE(prompts.texts("question").empty());
        EXPECT_EQ(rows("select * from employee order by E_ID"), before);
    }
}

TEST_P(UserAdministrationTest, SaveUserAsksThenStoresEveryField) {
    prompts.answerQuestion(Button::No);
    EXPECT_FALSE(admin.saveUser(validForm()));
    EXPECT_EQ(rows("select E_name from employee where E_ID=1"), std::vector<std::string>{"新增用户1"});

    prompts.answerQuestion(Button::Yes);
    UserForm f = validForm();
    f.name = " O'Neil\u3000";  // an apostrophe is stored as typed, the blanks around are dropped
    f.address2 = "Room 5, 'A'";
    EXPECT_TRUE(admin.saveUser(f));
    EXPECT_EQ(prompts.texts("question"),
              (std::vector<std::string>{"您确定要保存用户信息吗？", "您确定要保存用户信息吗？"}));
    EXPECT_TRUE(prompts.texts("warning").empty());
    EXPECT_TRUE(prompts.texts("info").empty());
    EXPECT_EQ(rows("select E_ID,E_name,E_DEP,E_sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2 from employee "
                   "where E_ID=1"),
              std::vector<std::string>{"1|O'Neil|2|女|经理|" + EncryptToHex("密码1", PasswordKey) +
                                       "|139|1|地址一|Room 5, 'A'"});

    // Saving again under his own unchanged name is accepted.
    prompts.answerQuestion(Button::Yes);
    f.position = "主管";
    EXPECT_TRUE(admin.saveUser(f));
    EXPECT_EQ(rows("select E_pos from employee where E_ID=1"), std::vector<std::string>{"主管"});
}

TEST_P(UserAdministrationTest, ShowUserFillsTheFieldsWithThePasswordDeciphered) {
    prompts.answerQuestion(Button::Yes);
    ASSERT_TRUE(admin.saveUser(validForm()));
    const std::optional<ShownUser> shown = admin.showUser(1);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->record.name, "李四");
    EXPECT_EQ(shown->record.departmentName, "财务部");
    EXPECT_EQ(shown->record.category, "1");
    EXPECT_EQ(shown->password, "密码1");
    EXPECT_EQ(shown->permissions.size(), static_cast<size_t>(count("func_desc")));

    EXPECT_EQ(admin.showUser(2)->password, "");  // nothing stored yet
    store.deleteUser(2);
    EXPECT_EQ(admin.showUser(2), std::nullopt);
    EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{"此帐户已经被删除，请刷新树列表！"});
}

TEST_P(UserAdministrationTest, SavePermissionsRefusesAnyFlagButZeroAndOneBeforeWriting) {
    for (const char* flag : {"2", "-1", "x", "", " 1", "01"}) {
        SCOPED_TRACE(flag);
        prompts.clear();
        prompts.answerQuestion(Button::Yes);
        std::vector<PermissionRow> grid = store.permissions(1);
        grid[0].flag = "1";  // a valid change before the bad row is not stored either
        grid[2].flag = flag;
        EXPECT_FALSE(admin.savePermissions("1", grid));
        EXPECT_EQ(prompts.texts("warning"),
                  std::vector<std::string>{grid[2].name +
                                           "输入错误，只允许输入0和1 \r\n0=不允许操作 ；1=允许操作"});
        EXPECT_EQ(count("limit where L_have_Limit<>0"), 0);
    }
    prompts.clear();
    std::vector<PermissionRow> grid = store.permissions(1);
    grid[1].flag = "1";
    prompts.answerQuestion(Button::No);
    EXPECT_FALSE(admin.savePermissions("1", grid));
    EXPECT_FALSE(admin.savePermissions("", grid));
    EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{"请先在左边的列表中选择一个用户！"});
    prompts.answerQuestion(Button::Yes);
    EXPECT_TRUE(admin.savePermissions("1", grid));
    EXPECT_EQ(prompts.texts("question"),
              (std::vector<std::string>{"您确定要保存用户权限吗？", "您确定要保存用户权限吗？"}));
    EXPECT_EQ(count("limit where L_have_Limit=1"), 1);
}

TEST_P(UserAdministrationTest, DepartmentsAskForTheirNames) {
    prompts.answerInput(std::nullopt);
    prompts.answerInput(std::string());
    EXPECT_EQ(admin.addDepartment(), std::nullopt);
    EXPECT_EQ(admin.addDepartment(), std::nullopt);
    prompts.answerInput(std::string("技术部"));
    EXPECT_EQ(admin.addDepartment(), (Department{3, "技术部"}));
    const auto& shown = prompts.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].kind, "input");
    EXPECT_EQ(shown[0].caption, "新增部门");
    EXPECT_EQ(shown[0].text, "请输入新部门名称");

    prompts.clear();
    prompts.answerInput(std::string());
    EXPECT_EQ(admin.renameDepartment(3), std::nullopt);
    prompts.answerInput(std::string("研发部"));
    EXPECT_EQ(admin.renameDepartment(3), std::string("研发部"));
    EXPECT_EQ(prompts.shown()[1].caption, "修改部门名称");
    EXPECT_EQ(prompts.shown()[1].text, "请输入部门名称");
    EXPECT_EQ(rows("select DEP_Name from DEP where ID=3"), std::vector<std::string>{"研发部"});

    for (int id = 4; id <= 100; ++id)
        exec("insert into DEP(ID,DEP_Name) values(" + std::to_string(id) + ",'部门')");
    prompts.clear();
    prompts.answerInput(std::string("多余的部门"));
    EXPECT_EQ(admin.addDepartment(), std::nullopt);
    EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{"最多只能建立100个部门"});
}

TEST_P(UserAdministrationTest, DepartmentNamesAreTrimmedAndNearDuplicatesRefused) {
    prompts.answerInput(std::string(" ABC部\t"));
    EXPECT_EQ(admin.addDepartment(), (Department{3, "ABC部"}));
    const std::pair<const char*, const char*> refused[] = {
        {" \u3000", "部门名称不能只有空格！"},
        {" 报关部 ", "已经存在相同的部门名称！"},
        {"ａｂｃ部", "已经存在相同的部门名称！"},
        {"Abc部", "已经存在相同的部门名称！"},
    };
    const auto before = rows("select * from DEP order by ID");
    for (auto [typed, warning] : refused) {
        prompts.clear();
        prompts.answerInput(std::string(typed));
        EXPECT_EQ(admin.addDepartment(), std::nullopt) << typed;
        prompts.answerInput(std::string(typed));
        EXPECT_EQ(admin.renameDepartment(2), std::nullopt) << typed;
        EXPECT_EQ(prompts.texts("warning"), (std::vector<std::string>{warning, warning})) << typed;
    }
    EXPECT_EQ(rows("select * from DEP order by ID"), before);
    // A department may keep its own name in another case or width.
    prompts.answerInput(std::string(" ａｂｃ部"));
    EXPECT_EQ(admin.renameDepartment(3), std::string("ａｂｃ部"));
    EXPECT_EQ(rows("select DEP_Name from DEP where ID=3"), std::vector<std::string>{"ａｂｃ部"});
    // The command line finds an existing department by the same rule.
    EXPECT_EQ(store.departmentNamed("\u3000报关部")->id, 1);
}

TEST_P(UserAdministrationTest, DeletingAsksForDepartmentsAndProtectsTheAdministrator) {
    prompts.answerQuestion(Button::No);
    EXPECT_FALSE(admin.deleteDepartment(1));
    EXPECT_EQ(count("employee where E_DEP=1"), 1);
    EXPECT_EQ(prompts.texts("question"),
              std::vector<std::string>{"您确定要删除部门吗？删除部门同时会删除部门下的所有用户！"});

    exec("update employee set E_name='管理员' where E_ID=1");
    EXPECT_FALSE(admin.deleteUser(1, "管理员"));
    EXPECT_EQ(prompts.texts("plain"), std::vector<std::string>{"管理员 用户不能删除！"});
    EXPECT_EQ(count("employee where E_ID=1"), 1);
    EXPECT_EQ(count("limit where L_pers_id=1"), count("func_desc"));

    EXPECT_TRUE(admin.deleteUser(2, "张三"));  // no question for a user
    EXPECT_EQ(count("employee where E_ID=2"), 0);
    EXPECT_EQ(prompts.texts("question").size(), 1u);

    prompts.answerQuestion(Button::Yes);
    EXPECT_TRUE(admin.deleteDepartment(1));  // the administrator goes with his department
    EXPECT_EQ(count("employee"), 0);
}

TEST_P(UserAdministrationTest, AddUserWarnsAtTheLimit) {
    for (int id = 3; id <= 200; ++id)
        exec("insert into employee(E_ID,E_name,E_DEP) values(" + std::to_string(id) + ",'用户',1)");
    EXPECT_EQ(admin.addUser(1), std::nullopt);
    EXPECT_EQ(prompts.texts("warning"), std::vector<std::string>{"最多只能建立200个用户"});
}

INSTANTIATE_TEST_SUITE_P(Engines, UserAdministrationTest, ca::db::testing::AllEngines(),
                         ca::db::testing::EngineName);

}  // namespace
