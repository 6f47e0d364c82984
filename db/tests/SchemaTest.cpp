#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "ca/db/DbError.h"
#include "ca/db/Schema.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/db/testing/TestDatabase.h"

using namespace ca::db;
namespace fs = std::filesystem;

namespace {

std::string scalar(TDM& dm, const std::string& sql) {
    TADOQuery q(dm);
    q.SetSQL(sql);
    q.Open();
    return q.Fields(0).AsString();
}

// A temporary folder that is also the current directory while the test runs.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("ca_db_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }
    fs::path old_, dir_;
};

class Schema : public ::testing::TestWithParam<ca::db::testing::EngineKind> {
protected:
    void SetUp() override {
        if (!database.available()) GTEST_SKIP() << database.skipReason();
    }
    ca::db::testing::TestDatabase database{GetParam()};
};
INSTANTIATE_TEST_SUITE_P(Engines, Schema, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

TEST_P(Schema, NewDatabaseHasEveryTableColumnKindAndFeeItem) {
    TDM dm(database.target());
    auto& conn = dm.ADOConnection1;
    for (const char* t : {"LoadData", "subData", "T_fee", "T_fee1", "func_desc", "employee", "DEP", "limit"})
        EXPECT_NE(conn.columns(t), nullptr) << t;
    EXPECT_EQ(conn.columns("loaddata")->size(), 51u);
    EXPECT_EQ(conn.columns("T_fee")->size(), 31u);
    EXPECT_EQ(conn.columns("T_fee1")->size(), 31u);
    for (const char* c : {"GOODS", "SHDW_XZ", "SBDW_xz"})
        EXPECT_EQ(scalar(dm, std::string("select count(*) from loaddata where ") + c + " is null"), "0") << c;
    // The kinds as the dialect layer reads them back, with the names as the program spells them.
    const auto& loadData = *conn.columns("LoadData");
    EXPECT_EQ(loadData[6].name, "JK_Date");
    EXPECT_EQ(loadData[6].kind, ColumnKind::Date);
    EXPECT_EQ(loadData[47].name, "SPXS");
    EXPECT_EQ(loadData[47].kind, ColumnKind::Integer);
    EXPECT_EQ((*conn.columns("subData"))[10].kind, ColumnKind::Decimal);
    EXPECT_EQ(loadData[0].kind, ColumnKind::Text);
    // The fee items: each a row of func_desc and, in the same order, a column of both fee tables.
    EXPECT_EQ(scalar(dm, "select count(*) from func_desc"), "24");
    std::string columns;
    for (size_t i = 7; i < conn.columns("T_fee")->size(); ++i) {
        const auto& c = (*conn.columns("T_fee"))[i];
        columns += c.name + " ";
        EXPECT_EQ(c.kind, ColumnKind::Decimal) << c.name;
        EXPECT_EQ(scalar(dm, "select count(*) from func_desc where Fd_func_code='" + c.name + "'"), "1")
            << c.name;
    }
    EXPECT_EQ(columns,
              "bgf bjf ddf bjd cysjf jhd yhsxf bdf sjf xzf hdf dlf THCf ygf hgf zgf xgf dgf ftf gbf cgf mtf "
              "yf zbj ");
    // The declaration key is unique, without regard to letter case as the names are compared.
    TADOQuery q(dm);
    q.SetSQL("insert into LoadData(TY_No) values('abc')");
    q.ExecSQL();
    q.SetSQL("insert into LoadData(TY_No) values('ABC')");
    try {
        q.ExecSQL();
        ADD_FAILURE() << "stored twice";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), "字段“LoadData.TY_No”中已有相同的值，不能重复");
    }
}

TEST_F(InTempDir, FileIsResolvedAtTheFirstStatementAndCreatedWithTheSchema) {
    TDM dm;  // "DB.sqlite" in whatever folder is current when the first statement runs
    fs::create_directories(dir_ / "已导入");
    fs::current_path(dir_ / "已导入");
    EXPECT_FALSE(dm.ADOConnection1.Connected());
    EXPECT_EQ(scalar(dm, "select count(*) from func_desc"), "24");
    EXPECT_TRUE(fs::exists(dir_ / "已导入" / "DB.sqlite"));
    fs::current_path(dir_);  // the open connection stays on its file
    EXPECT_EQ(scalar(dm, "select count(*) from limit"), "0");
    EXPECT_FALSE(fs::exists(dir_ / "DB.sqlite"));
    EXPECT_EQ(scalar(dm, "select * from pragma_journal_mode"), "wal");
    // The sqlite3 shell reads the file as an ordinary database.
    std::string cmd = "sqlite3 '" + (dir_ / "已导入" / "DB.sqlite").string() +
                      "' 'select count(*) from func_desc' > '" + (dir_ / "out.txt").string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream out(dir_ / "out.txt");
    std::string line;
    std::getline(out, line);
    EXPECT_EQ(line, "24");
}

// A desk's file from before the goods line's unique key: at its next opening the duplicate lines go
// (the first stored stays) and the key is made, so no writer can store a line twice again.
TEST_F(InTempDir, AnOlderFileIsUpgradedWithItsDuplicateGoodsLinesRemoved) {
    {
        TDM old("old.sqlite");
        old.ADOConnection1.execRaw(
            "DROP INDEX subData_line; "
            "INSERT INTO subData(Pid, SP_No, SPMC_Name) VALUES ('P', '1', 'a'), ('P', '1', 'b'), ('p', '1', "
            "'c'), "
            "('P', '2', 'd')");
    }
    TDM dm("old.sqlite");
    EXPECT_EQ(scalar(dm, "select count(*) from subData"), "2");
    EXPECT_EQ(scalar(dm, "select SPMC_Name from subData where SP_No='1'"), "a");
    TADOQuery q(dm);
    q.SetSQL("insert into subData(Pid,SP_No) values ('P','2')");
    EXPECT_THROW(q.ExecSQL(), ca::db::DbError);
}

TEST_F(InTempDir, FilesThatAreNoDatabaseAreRefusedClearlyAndKept) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    std::string access(2048, '\0');
    access.replace(0, 19, std::string("\0\1\0\0Standard Jet DB", 19));
    std::string random(4096, '\0');
    std::mt19937 gen(7);
    for (auto& c : random)
        c = static_cast<char>(gen());
    const Case cases[] = {
        {"Access database", access, "必须先转换为新的数据库格式"},
        {"random bytes", random, "文件不是数据库"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        { std::ofstream(dir_ / "DB.sqlite", std::ios::binary) << c.bytes; }
        TDM dm;
        try {
            scalar(dm, "select count(*) from LoadData");
            ADD_FAILURE() << "opened";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("DB.sqlite"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(dm.ADOConnection1.Connected());
        std::ifstream in(dir_ / "DB.sqlite", std::ios::binary);
        std::string after((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(after, c.bytes) << "the file is left as it was";
    }
}

TEST_F(InTempDir, AccessFileBesideAMissingDatabaseIsNotHiddenByANewOne) {
    std::string access(2048, '\0');
    access.replace(0, 19, std::string("\0\1\0\0Standard Jet DB", 19));
    { std::ofstream(dir_ / "DB.mdb", std::ios::binary) << access; }
    TDM dm;
    try {
        scalar(dm, "select count(*) from LoadData");
        ADD_FAILURE() << "opened";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("DB.mdb"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("必须先转换"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(dir_ / "DB.sqlite"));
}

TEST_F(InTempDir, MissingFolderFailsAndTheNextStatementTriesAgain) {
    TDM dm((dir_ / "later" / "DB.sqlite").string());
    try {
        scalar(dm, "select count(*) from DEP");
        ADD_FAILURE() << "opened";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("“" + (dir_ / "later").string() + "”不存在"), std::string::npos)
            << e.what();
    }
    fs::create_directories(dir_ / "later");
    EXPECT_EQ(scalar(dm, "select count(*) from DEP"), "0");
}

TEST_F(InTempDir, LockedDatabaseGivesAnErrorAndKeepsWhatIsStored) {
    TDM writer, other;
    TADOQuery q(writer);
    q.SetSQL("insert into DEP (id,DEP_name)values(1,'a')");
    q.ExecSQL();
    other.ADOConnection1.execRaw("PRAGMA busy_timeout=0");
    writer.ADOConnection1.execRaw("BEGIN IMMEDIATE");  // another desk in the middle of a write
    TADOQuery w(other);
    w.SetSQL("insert into DEP (id,DEP_name)values(2,'b')");
    try {
        w.ExecSQL();
        ADD_FAILURE() << "written";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("已锁定"), std::string::npos) << e.what();
    }
    writer.ADOConnection1.execRaw("COMMIT");
    EXPECT_EQ(scalar(other, "select count(*) from DEP"), "1");
    w.ExecSQL();  // the same connection works on once the lock is gone
    EXPECT_EQ(scalar(writer, "select count(*) from DEP"), "2");
}

}  // namespace

// Another desk adds a column while this one keeps its compiled statements: a statement run again
// lists the new column, and the connection still reads and writes.
TEST_F(InTempDir, ColumnAddedByAnotherConnectionIsSeenByStatementsRunAgain) {
    TDM here, other;
    TADOQuery q(here);
    auto header = [&] {
        q.SetSQL("select * from DEP where id=:id");
        q.ParamByName("id").SetInteger(1);
        q.Open();
        std::string names;
        for (int i = 0; i < q.FieldCount(); ++i)
            names += q.Fields(i).FieldName() + (q.IsEmpty() ? "" : "=" + q.Fields(i).AsString()) + " ";
        return names;
    };
    EXPECT_EQ(header(), "ID DEP_Name ");
    TADOQuery w(other);
    w.SetSQL("alter table DEP add note text(20)");
    w.ExecSQL();
    w.SetSQL("insert into DEP (id,DEP_name,note) values (1,'a','n')");
    w.ExecSQL();
    EXPECT_EQ(header(), "ID=1 DEP_Name=a note=n ");
    q.SetSQL("update DEP set DEP_name=:name where id=1");
    q.ParamByName("name").SetText("b");
    EXPECT_EQ(q.ExecSQL(), 1);
    EXPECT_EQ(scalar(other, "select DEP_name || note from DEP"), "bn");
}
