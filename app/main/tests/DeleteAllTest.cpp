#include <gtest/gtest.h>

#include <filesystem>

#include "ca/app/main/DatabaseCommands.h"
#include "ca/db/TADOQuery.h"
#include "ca/util/Folders.h"
#include "ca/util/Printer.h"
#include "ca/util/Prompts.h"

using namespace ca;
namespace fs = std::filesystem;

namespace {

class DeleteAllTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int count(const char* table) {
        db::TADOQuery q(dm);
        q.SetSQL(std::string("select count(*) as n from ") + table);
        q.Open();
        return static_cast<int>(q.FieldByName("n").AsInteger());
    }
    void exec(const std::string& sql) {
        db::TADOQuery q(dm);
        q.SetSQL(sql);
        q.ExecSQL();
    }

    fs::path dir = fs::temp_directory_path() / "ca_delete_all";
    db::TDM dm{":memory:"};
    ScriptedPrompts prompts;
    VirtualClock clock;
    RecordingPrinter printer;
    users::CurrentUser user;
    app::AppContext ctx{prompts, dm, clock, printer, user, dir / "config.ini"};
};

TEST_F(DeleteAllTest, EmptiesTheFourDeclarationTablesAndKeepsTheRest) {
    exec("insert into LoadData(TY_No) values ('A1')");
    exec("insert into subData(Pid,SP_No) values ('A1','1')");
    exec("insert into T_fee(ty_no,bgf) values ('A1',0)");
    exec("insert into T_fee1(ty_no) values ('A1')");
    exec("insert into DEP(ID,DEP_Name) values (1,'报关部')");
    app::TfrmMain w(ctx);
    app::connectDatabaseCommands(w, dm);
    w.shanchu1Click();
    for (const char* t : {"T_fee", "T_fee1", "LoadData", "subData"})
        EXPECT_EQ(count(t), 0) << t;
    EXPECT_EQ(count("DEP"), 1);
    EXPECT_TRUE(prompts.texts("error").empty());
}

TEST_F(DeleteAllTest, DatabaseErrorIsShownAndEarlierStatementsStayDone) {
    exec("insert into T_fee(ty_no,bgf) values ('A1',0)");
    exec("insert into LoadData(TY_No) values ('A1')");
    exec("drop table T_fee1");
    app::TfrmMain w(ctx);
    app::connectDatabaseCommands(w, dm);
    w.shanchu1Click();
    ASSERT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_EQ(count("T_fee"), 0);
    EXPECT_EQ(count("LoadData"), 1);  // the statement after the failing one never ran
}

}  // namespace
