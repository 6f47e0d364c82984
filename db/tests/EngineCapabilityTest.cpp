// What the engines do differently, asked for by what it is for: a declaration held for a unit, a
// bulk copy, a column whose existing rows hold 0, the goods line's unique key and the number rule,
// each the same on both engines.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "ca/db/DbError.h"
#include "ca/db/Transaction.h"
#include "ca/db/testing/DbFixture.h"

using ca::db::DbBusy;
using ca::db::DbError;
using ca::db::TDM;

namespace {

class Capability : public EngineDbFixture {};

// A second desk's unit waits for the declaration the first holds, and gives up with DbBusy (nothing
// done) once the lock wait ends; after the first unit ends it gets through.
TEST_P(Capability, AHeldDeclarationMakesAnotherDeskWaitThenGiveUpWithDbBusy) {
    // Two desks on one database: the server's, or a file (a database in memory is one desk's).
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("ca_lock_" + std::to_string(::getpid()) + ".sqlite");
    std::filesystem::remove(file);
    const std::string shared = onServer() ? database.target() : file.string();
    {
        TDM here(shared), other(shared);
        auto run = [](TDM& desk, const std::string& sql) {
            ca::db::TADOQuery q(desk);
            q.SetSQL(sql);
            q.ExecSQL();
        };
        run(here, "insert into LoadData(TY_No) values ('D1')");
        other.ADOConnection1.SetLockWait(200);
        {
            ca::db::Transaction unit(here);
            here.ADOConnection1.LockDeclarations({"D1"});
            run(here, "insert into subData(Pid,SP_No) values ('D1','1')");
            const auto start = std::chrono::steady_clock::now();
            try {
                ca::db::Transaction second(other);
                other.ADOConnection1.LockDeclarations({"d1"});  // keys without regard to case
                ADD_FAILURE() << "not held";
            } catch (const DbBusy& e) {
                EXPECT_NE(std::string(e.what()).find("已锁定"), std::string::npos) << e.what();
            }
            EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
            unit.commit();
        }
        ca::db::Transaction second(other);
        other.ADOConnection1.LockDeclarations({"D1", "no such declaration"});
        run(other, "insert into subData(Pid,SP_No) values ('D1','2')");
        second.commit();
    }
    std::filesystem::remove(file);
}

TEST_P(Capability, BulkCopyStoresEveryValueAsGiven) {
    const std::string awkward = "a\tb\nc\\d\re '引号' \\N";
    {
        ca::db::Transaction unit(dm);
        auto copy = dm.ADOConnection1.BeginCopy("subData", {"Pid", "SP_No", "SPMC_Name", "CJZJ", "SCCJ"});
        copy->addRow({std::string("P1"), std::string("1"), awkward, 12.25, std::monostate{}});
        copy->addRow(
            {std::string("P1"), std::string("2"), std::string(""), std::int64_t{7}, std::string("厂")});
        EXPECT_EQ(copy->finish(), 2);
        unit.commit();
    }
    EXPECT_EQ(rows("select SP_No,SPMC_Name,CJZJ,SCCJ from subData order by SP_No"),
              (Rows{"1|" + awkward + "|12.25|<null>", "2||7|厂"}));
}

// The rows there get 0; rows added later are empty unless given an amount.
TEST_P(Capability, AColumnOfZerosGivesTheRowsThere0AndLaterRowsNothing) {
    exec("insert into T_fee(ty_no,bgf) values ('A',1)");
    dm.ADOConnection1.AddColumnOfZeros("T_fee", "zdy01", "numeric (18 ,2)");
    exec("insert into T_fee(ty_no) values ('B')");
    exec("insert into T_fee(ty_no,zdy01) values ('C',2.5)");
    EXPECT_EQ(rows("select ty_no,zdy01 from T_fee order by ty_no"), (Rows{"A|0", "B|<null>", "C|2.5"}));
}

// One goods line per declaration and line number, letter case aside, whoever writes it.
TEST_P(Capability, AGoodsLineIsStoredOnce) {
    addGoods("P1", "1", "5");
    EXPECT_THROW(addGoods("P1", "1", "6"), DbError);
    EXPECT_THROW(addGoods("p1", "1", "6"), DbError);
    addGoods("P1", "2", "6");
    EXPECT_EQ(rows("select count(*) from subData"), Rows{"2"});
}

// A number too small for a double is 0 on both engines; one too large is refused on both.
TEST_P(Capability, TheNumberRuleIsTheSameOnBothEngines) {
    addGoods("P1", "1", "1e-400");
    addGoods("P1", "2", "-1e-400");
    EXPECT_EQ(rows("select CJZJ from subData order by SP_No"), (Rows{"0", "0"}));
    EXPECT_THROW(addGoods("P1", "3", "1e400"), DbError);
}

TEST_P(Capability, TheEngineNamesItsVersion) {
    const std::string version = dm.ADOConnection1.EngineVersion();
    EXPECT_TRUE(version.starts_with(onServer() ? "PostgreSQL 1" : "SQLite 3.")) << version;
}

INSTANTIATE_TEST_SUITE_P(Engines, Capability, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

}  // namespace
