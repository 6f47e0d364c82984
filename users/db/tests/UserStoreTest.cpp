// The statements of the user administration against a real database: tree, ids, limits, the rows
// each action writes or removes, and actions of several statements that fail in the middle.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "UsersFixture.h"
#include "ca/db/DbError.h"
#include "ca/util/Convert.h"

using namespace ca;
using namespace ca::users;

namespace {

class UserStoreTest : public UsersFixture {};

TEST_P(UserStoreTest, TreeListsDepartmentsAndTheirUsersAsReturned) {
    EXPECT_EQ(store.departmentTree(), std::nullopt);  // no department: nothing to rebuild
    exec("insert into DEP(ID,DEP_Name) values(5,'报关部')");
    exec("insert into DEP(ID,DEP_Name) values(2,'财务部')");
    exec("insert into employee(E_ID,E_name,E_DEP,E_isSup) values(7,'张三',2,0)");
    exec("insert into employee(E_ID,E_name,E_DEP,E_isSup) values(3,'李四',5,1)");
    exec("insert into employee(E_ID,E_name,E_DEP,E_isSup) values(4,'管理员',2,1)");
    exec("insert into employee(E_ID,E_name,E_DEP,E_isSup) values(9,'无部门',8,0)");
    const std::vector<DepartmentBranch> expected = {
        {{5, "报关部"}, {{3, "李四"}}},
        {{2, "财务部"}, {{7, "张三"}, {4, "管理员"}}},
    };
    EXPECT_EQ(store.departmentTree(), expected);
    EXPECT_EQ(store.departments(), (std::vector<Department>{{5, "报关部"}, {2, "财务部"}}));
}

TEST_P(UserStoreTest, NewIdsAreOneAboveTheHighest) {
    EXPECT_EQ(store.addDepartment("一部"), (Department{1, "一部"}));
    EXPECT_EQ(store.addDepartment("二部"), (Department{2, "二部"}));
    EXPECT_EQ(store.addDepartment("三部"), (Department{3, "三部"}));
    store.deleteDepartment(2);
    EXPECT_EQ(store.addDepartment("四部")->id, 4);  // a freed id below the highest is not given again
    store.deleteDepartment(4);
    EXPECT_EQ(store.addDepartment("五部")->id, 4);  // the highest is given again after its deletion

    EXPECT_EQ(store.addUser(1), (UserNode{1, "新增用户1"}));
    EXPECT_EQ(store.addUser(1), (UserNode{2, "新增用户2"}));
    EXPECT_EQ(store.addUser(3), (UserNode{3, "新增用户3"}));
    store.deleteUser(2);
    EXPECT_EQ(store.addUser(3)->id, 4);
    store.deleteUser(4);
    EXPECT_EQ(store.addUser(3)->id, 4);
}

TEST_P(UserStoreTest, AtMostOneHundredDepartments) {
    for (int id = 1; id <= 99; ++id)
        exec("insert into DEP(ID,DEP_Name) values(" + std::to_string(id) + ",'部门')");
    EXPECT_EQ(store.addDepartment("第一百个"), (Department{100, "第一百个"}));
    EXPECT_EQ(store.addDepartment("第一百零一个"), std::nullopt);
    EXPECT_EQ(count("DEP"), 100);
}

TEST_P(UserStoreTest, AtMostTwoHundredUsers) {
    exec("insert into DEP(ID,DEP_Name) values(1,'部门')");
    for (int id = 1; id <= 199; ++id)
        exec("insert into employee(E_ID,E_name,E_DEP) values(" + std::to_string(id) + ",'用户" +
             std::to_string(id) + "',1)");
    EXPECT_EQ(store.addUser(1), (UserNode{200, "新增用户200"}));
    EXPECT_EQ(store.addUser(1), std::nullopt);
    EXPECT_EQ(count("employee"), 200);
    EXPECT_EQ(count("limit where L_pers_id=201"), 0);
}

TEST_P(UserStoreTest, NewUserIsAnOrdinaryManWithEveryPermissionRefused) {
    exec("insert into DEP(ID,DEP_Name) values(3,'部门')");
    exec("insert into func_desc(Fd_func_code,Fd_func_name) values('xf','O''Brien''s fee')");
    store.addUser(3);
    EXPECT_EQ(rows("select E_ID,E_name,E_DEP,E_sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2 from employee"),
              (std::vector<std::string>{"1|新增用户1|3|男||||0||"}));
    EXPECT_EQ(rows("select L_func_code,L_func_name,L_have_Limit from limit where L_pers_id=1"),
              rows("select Fd_func_code,Fd_func_name,0 from func_desc"));
    EXPECT_EQ(count("limit where L_pers_id=1"), count("func_desc"));
    EXPECT_EQ(count("limit where L_func_name='O''Brien''s fee'"), 1);
}

TEST_P(UserStoreTest, NamesWithApostrophesAndGbkBackslashesAreStoredAsTyped) {
    const std::string name = "O'Neil 乗俓\\ '' --";
    const Department d = *store.addDepartment(name);
    EXPECT_EQ(store.departments(), (std::vector<Department>{{d.id, name}}));
    store.renameDepartment(d.id, "it's " + std::string(1000, 'x'));
    EXPECT_EQ(store.departments().at(0).name, "it's " + std::string(1000, 'x'));
    EXPECT_EQ(store.departmentNamed("IT'S " + std::string(1000, 'X'))->id, d.id);
}

TEST_P(UserStoreTest, DeletingADepartmentRemovesItsUsersAndTheirPermissions) {
    store.addDepartment("一部");
    store.addDepartment("二部");
    store.addUser(1);
    store.addUser(2);
    exec("update employee set E_name='管理员' where E_ID=1");
    store.deleteDepartment(1);
    EXPECT_EQ(rows("select E_ID from employee"), std::vector<std::string>{"2"});
    EXPECT_EQ(rows("select distinct L_pers_id from limit"), std::vector<std::string>{"2"});
    EXPECT_EQ(rows("select ID from DEP"), std::vector<std::string>{"2"});
    store.deleteUser(2);
    EXPECT_EQ(count("employee"), 0);
    EXPECT_EQ(count("limit"), 0);
}

TEST_P(UserStoreTest, AnActionThatFailsMidwayLeavesNothingDone) {
    store.addDepartment("一部");
    store.addUser(1);
    const auto before = rows("select * from limit");

    failOn("INSERT", "limit", "NEW.L_func_code='ddf'");  // the third fee item
    EXPECT_THROW(store.addUser(1), db::DbError);
    EXPECT_EQ(count("employee"), 1);
    EXPECT_EQ(rows("select * from limit"), before);

    failOn("DELETE", "DEP", "TRUE");  // the last statement of the department's deletion
    EXPECT_THROW(store.deleteDepartment(1), db::DbError);
    EXPECT_EQ(count("employee"), 1);
    EXPECT_EQ(rows("select * from limit"), before);

    failOn("DELETE", "employee", "TRUE");
    EXPECT_THROW(store.deleteUser(1), db::DbError);
    EXPECT_EQ(rows("select * from limit"), before);

    exec("update limit set L_have_Limit=1 where L_func_code='bgf'");
    failOn("UPDATE", "limit", "NEW.L_func_code='dlf'");
    std::vector<PermissionRow> grid = store.permissions(1);
    for (PermissionRow& row : grid)
        row.flag = "1";
    EXPECT_THROW(store.updatePermissions("1", grid), db::DbError);
    EXPECT_EQ(count("limit where L_have_Limit=1"), 1);

    // The connection is usable afterwards.
    EXPECT_EQ(store.addDepartment("二部")->id, 2);
}

TEST_P(UserStoreTest, PermissionsAreMatchedByTheFeeItemName) {
    store.addDepartment("一部");
    store.addUser(1);
    store.addUser(1);
    std::vector<PermissionRow> grid = store.permissions(1);
    ASSERT_GE(grid.size(), 3u);
    EXPECT_EQ(grid[0].flag, "0");
    grid[1].flag = "1";
    grid[2].code = "changed in the grid";  // the code column takes no part
    store.updatePermissions("1", grid);
    EXPECT_EQ(rows("select L_pers_id,L_func_code from limit where L_have_Limit=1"),
              std::vector<std::string>{"1|" + grid[1].code});
    EXPECT_EQ(count("limit where L_pers_id=2 and L_have_Limit=0"),
              count("func_desc"));  // the other user keeps his
}

TEST_P(UserStoreTest, NumbersJoinedBareMustBeDigits) {
    store.addDepartment("一部");
    store.addUser(1);
    UserUpdate u{"1", "张三", "1", "男", "", "", "", "0", "", ""};
    for (std::string UserUpdate::*field :
         {&UserUpdate::id, &UserUpdate::departmentId, &UserUpdate::category}) {
        UserUpdate bad = u;
        bad.*field = "1 or 1=1";
        EXPECT_THROW(store.updateUser(bad), ConversionError);
    }
    EXPECT_THROW(store.nameTakenByOther("x", ""), ConversionError);
    EXPECT_THROW(store.updatePermissions("1", {{"报关费", "1;", ""}}), ConversionError);
    store.updateUser(u);
    EXPECT_EQ(rows("select E_name from employee"), std::vector<std::string>{"张三"});
}

INSTANTIATE_TEST_SUITE_P(Engines, UserStoreTest, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

TEST(UserStoreOnAFile, ALockedDatabaseRefusesTheWholeActionWithAClearMessage) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("ca_users_locked_" + std::to_string(std::random_device{}()) + ".sqlite");
    std::filesystem::remove(file);
    {
        db::TDM dm(file.string());
        UserStore store(dm);
        store.addDepartment("一部");
        dm.ADOConnection1.execRaw("PRAGMA busy_timeout=50");
        db::TDM otherDesk(file.string());
        otherDesk.ADOConnection1.execRaw("BEGIN EXCLUSIVE");  // another desk in the middle of a write
        try {
            store.addUser(1);
            ADD_FAILURE() << "the action ran on a locked database";
        } catch (const db::DbError& e) {
            EXPECT_NE(std::string(e.what()).find("已锁定"), std::string::npos) << e.what();
        }
        otherDesk.ADOConnection1.execRaw("ROLLBACK");
        EXPECT_EQ(store.addUser(1), (UserNode{1, "新增用户1"}));  // nothing was left behind
    }
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + "-wal");
    std::filesystem::remove(file.string() + "-shm");
}

}  // namespace
