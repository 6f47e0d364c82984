// The database server as several desks use it: the connection setting, faults of the connection,
// a database the program did not make, and units of work that span statements.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ca/db/DbError.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/db/Transaction.h"
#include "ca/db/testing/TestDatabase.h"
#include "ca/util/IniFile.h"

using ca::db::DbError;
using ca::db::TADOQuery;
using ca::db::TDM;
namespace testing_db = ca::db::testing;

namespace {

std::string scalar(TDM& dm, const std::string& sql) {
    TADOQuery q(dm);
    q.SetSQL(sql);
    q.Open();
    return q.Fields(0).AsString();
}

void exec(TDM& dm, const std::string& sql) {
    TADOQuery q(dm);
    q.SetSQL(sql);
    q.ExecSQL();
}

// The text of the DbError the statement throws; empty when it runs.
std::string failure(TDM& dm, const std::string& sql) {
    try {
        TADOQuery q(dm);
        q.SetSQL(sql);
        int changed = 0;
        q.OpenOrExec(changed);
    } catch (const DbError& e) {
        return e.what();
    }
    return {};
}

TEST(ServerTarget, ConnectionTextsNameAServerAndFileNamesDoNot) {
    for (const char* server :
         {"host=/tmp/x port=5432 dbname=ca", "dbname=customs", "postgresql://clerk@db/ca", "postgres://db",
          "port=5433 host=10.0.0.2", "service=office"})
        EXPECT_TRUE(ca::db::IsServerTarget(server)) << server;
    for (const char* file :
         {"DB.sqlite", ":memory:", "/data/host=1/DB.sqlite", "C:\\数据\\DB.sqlite", "xhost=a", ""})
        EXPECT_FALSE(ca::db::IsServerTarget(file)) << file;
}

TEST(ServerTarget, TheSettingChoosesTheServerAndItsAbsenceTheFile) {
    const auto file =
        std::filesystem::temp_directory_path() / ("ca_server_setting_" + std::to_string(::getpid()) + ".ini");
    struct Case {
        const char* value;  // nullptr: key absent
        const char* target;
    };
    const Case cases[] = {
        {nullptr, "DB.sqlite"},
        {"", "DB.sqlite"},
        {"   ", "DB.sqlite"},
        {"host=10.0.0.2 dbname=ca user=clerk", "host=10.0.0.2 dbname=ca user=clerk"},
        {" postgresql://clerk@db/ca ", "postgresql://clerk@db/ca"},
        {"dbserver", "host=dbserver"},  // a bare host name never becomes a file of that name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(absent)");
        std::filesystem::remove(file);
        ca::IniFile ini(file);
        ini.WriteString("程序默认数据", "主单延迟", "300");
        if (c.value) ini.WriteString("程序默认数据", "数据库服务器", c.value);
        EXPECT_EQ(ca::db::DatabaseTarget(ca::IniFile(file)), c.target);
    }
    std::filesystem::remove(file);
}

class Server : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing_db::testServer().empty()) GTEST_SKIP() << database.skipReason();
    }
    testing_db::TestDatabase database{testing_db::EngineKind::Postgres};
};

TEST_F(Server, WrongServerOrPasswordIsReportedAtTheFirstStatementNamingTheServerNotThePassword) {
    const std::string server = testing_db::testServer();
    struct Case {
        std::string target;
        const char* reason;
    };
    const Case cases[] = {
        {server + " dbname=no_such_database", "服务器上没有数据库“no_such_database”"},
        {server + " user=no_such_clerk password=Geheim123", "no_such_clerk"},
        {"host=/tmp/ca-no-such-folder port=1 dbname=ca password=Geheim123", "服务器没有运行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        TDM dm(c.target);  // nothing happens before the first statement
        EXPECT_FALSE(dm.ADOConnection1.Connected());
        for (int attempt = 0; attempt < 2; ++attempt) {  // each statement tries again
            const std::string what = failure(dm, "select count(*) from DEP");
            EXPECT_NE(what.find("无法连接数据库服务器“"), std::string::npos) << what;
            EXPECT_NE(what.find(c.reason), std::string::npos) << what;
            EXPECT_EQ(what.find("Geheim123"), std::string::npos) << what;
            EXPECT_FALSE(dm.ADOConnection1.Connected());
        }
    }
}

TEST_F(Server, BrokenConnectionFailsTheStatementAndTheNextOneReconnects) {
    TDM dm(database.target());
    exec(dm, "insert into DEP (id,DEP_name)values(1,'报关部')");
    TADOQuery byId(dm);
    byId.SetSQL("select DEP_name from DEP where id=:id");
    byId.ParamByName("id").SetInteger(1);
    byId.Open();
    ASSERT_EQ(byId.FieldByName("DEP_name").AsString(), "报关部");

    // The server ends this desk's connection (as a restart of the server does); only this one, since
    // other tests use the same server at the same time.
    const std::string pid = scalar(dm, "select pg_backend_pid()");
    testing_db::runOnTestServer("SELECT pg_terminate_backend(" + pid + ", 10000)");
    const std::string what = failure(dm, "select count(*) from DEP");
    EXPECT_NE(what.find("与数据库服务器“"), std::string::npos) << what;
    EXPECT_NE(what.find("连接中断"), std::string::npos) << what;
    EXPECT_FALSE(dm.ADOConnection1.Connected());
    // What was stored stays; the kept statement works on the new connection.
    byId.Open();
    EXPECT_EQ(byId.FieldByName("DEP_name").AsString(), "报关部");
    EXPECT_EQ(scalar(dm, "select count(*) from func_desc"), "24");
}

TEST_F(Server, ADatabaseOfAnotherShapeIsRefusedAndLeftAsItIs) {
    // The program's tables, made once.
    {
        TDM first(database.target());
        scalar(first, "select count(*) from DEP");
    }
    struct Case {
        const char* change;  // run on the server before a desk connects
        const char* message;
    };
    const Case cases[] = {
        {"ALTER TABLE loaddata DROP COLUMN goods", "数据表“LoadData”缺少字段“GOODS”"},
        {"UPDATE ca_schema SET version = 99", "格式版本是 99"},
        {"DROP TABLE ca_schema", "不是本程序建立的"},
    };
    const std::string schema = database.target().substr(database.target().find("search_path=") + 12);
    const std::string inSchema = "SET search_path = " + schema.substr(0, schema.find(',')) + ", public; ";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        testing_db::runOnTestServer(inSchema + c.change);
        TDM dm(database.target());
        const std::string what = failure(dm, "select count(*) from DEP");
        EXPECT_NE(what.find(c.message), std::string::npos) << what;
        EXPECT_NE(what.find("程序不会改动它"), std::string::npos) << what;
        EXPECT_FALSE(dm.ADOConnection1.Connected());
    }
    // Nothing was created or changed: the database still lacks what the cases took away.
    testing_db::runOnTestServer(inSchema + "SELECT 1 FROM dep");
    EXPECT_THROW(testing_db::runOnTestServer(inSchema + "SELECT goods FROM loaddata"), std::runtime_error);
    EXPECT_THROW(testing_db::runOnTestServer(inSchema + "SELECT 1 FROM ca_schema"), std::runtime_error);
}

TEST_F(Server, AUnitOfWorkIsSeenByOtherDesksWholeOrNotAtAll) {
    TDM here(database.target()), other(database.target());
    exec(here, "insert into DEP (id,DEP_name)values(1,'a')");
    {
        ca::db::Transaction unit(here);
        exec(here, "insert into DEP (id,DEP_name)values(2,'b')");
        {
            ca::db::Transaction inner(here);
            exec(here, "insert into DEP (id,DEP_name)values(3,'c')");
        }  // the inner one is undone alone
        EXPECT_EQ(scalar(here, "select count(*) from DEP"), "2");
        EXPECT_EQ(scalar(other, "select count(*) from DEP"), "1") << "not yet kept";
        unit.commit();
    }
    EXPECT_EQ(scalar(other, "select count(*) from DEP"), "2");
    // A failing statement undoes the whole unit; the connection goes on.
    try {
        ca::db::Transaction unit(here);
        exec(here, "insert into DEP (id,DEP_name)values(4,'d')");
        exec(here, "insert into DEP (id,DEP_name)values('x','e')");
        unit.commit();
        ADD_FAILURE() << "kept";
    } catch (const DbError&) {
    }
    EXPECT_EQ(scalar(here, "select count(*) from DEP"), "2");
    EXPECT_EQ(scalar(other, "select count(*) from DEP"), "2");
}

// A unit starts on the server with its first statement. A download's unit (a copy of the
// client's data) may be confirmed before the server's disk has it; every other unit waits for it.
TEST_F(Server, UnitsStartWithTheirFirstStatementAndOnlyRefetchableOnesSkipTheDiskWait) {
    // The test server skips the disk wait for speed; this desk asks for it, as an office's server
    // does (the test database's options end the connection text).
    std::string waiting = database.target();
    waiting.insert(waiting.rfind('\''), " -csynchronous_commit=on");
    TDM here(waiting), other(database.target());
    const std::string setting = "select current_setting('synchronous_commit')";
    for (auto [durability, inside] :
         {std::pair{ca::db::Durability::Full, "on"}, std::pair{ca::db::Durability::Refetchable, "off"}}) {
        ca::db::Transaction unit(here, durability);
        EXPECT_EQ(scalar(here, setting), inside);
        exec(here, "insert into DEP (id,DEP_name)values(7,'a')");
        EXPECT_EQ(scalar(other, "select count(*) from DEP"), "0") << "not yet kept";
        exec(here, "delete from DEP");
        unit.commit();
    }
    EXPECT_EQ(scalar(here, setting), "on") << "the setting ends with the unit";
    {
        ca::db::Transaction empty(here);  // runs nothing
        empty.commit();
    }
    {
        ca::db::Transaction failing(here);
        EXPECT_FALSE(failure(here, "insert into DEP (id,DEP_name)values('x','e')").empty());
    }  // undone: the connection is outside any unit again and goes on
    exec(here, "insert into DEP (id,DEP_name)values(8,'b')");
    EXPECT_EQ(scalar(other, "select count(*) from DEP"), "1");
}

TEST_F(Server, OneDeskWaitsForAnotherDesksLockAtMostSecondsAndThenGetsAClearMessage) {
    TDM here(database.target()), other(database.target());
    exec(here, "insert into DEP (id,DEP_name)values(1,'a')");
    other.ADOConnection1.execRaw("SET lock_timeout = '200ms'");
    ca::db::Transaction unit(here);
    exec(here, "update DEP set DEP_name='b' where id=1");  // the row stays locked until the unit ends
    const std::string what = failure(other, "update DEP set DEP_name='c' where id=1");
    EXPECT_NE(what.find("已锁定"), std::string::npos) << what;
    exec(other, "insert into DEP (id,DEP_name)values(2,'x')");  // other rows are not held
    unit.commit();
    exec(other, "update DEP set DEP_name='c' where id=1");
    EXPECT_EQ(scalar(here, "select DEP_name from DEP where id=1"), "c");
}

}  // namespace
