// Copying a desk's database into another: every table with its rows as they were, added fee item
// columns, merging by key without overwriting, refusals that write nothing, and a failure half-way
// that leaves the target as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ca/db/DbError.h"
#include "ca/db/Quoting.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/Transaction.h"
#include "ca/db/testing/RefuseWrites.h"
#include "ca/db/testing/TestDatabase.h"
#include "ca/migrate/DatabaseMigration.h"
#include "ca/util/AsciiCase.h"

using ca::db::testing::EngineKind;
using ca::migrate::DatabaseMigration;
using ca::migrate::MigrationRefused;
using ca::migrate::TableCount;
using ca::migrate::TargetHoldsDeclarations;

namespace {

using Rows = std::vector<std::string>;

int exec(ca::db::TDM& dm, const std::string& sql) {
    ca::db::TADOQuery q(dm);
    q.SetSQL(sql);
    return q.ExecSQL();
}

// Every row as its values joined by "|"; Null shows as "<null>".
Rows rows(ca::db::TDM& dm, const std::string& sql) {
    ca::db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.Open();
    Rows out;
    for (q.First(); !q.Eof(); q.Next()) {
        std::string line;
        for (int i = 0; i < q.FieldCount(); ++i)
            line += (i ? "|" : "") + (q.Fields(i).IsNull() ? std::string("<null>") : q.Fields(i).AsString());
        out.push_back(line);
    }
    return out;
}

// What a comparison of two databases reads: every table in key order.
const std::vector<std::pair<std::string, std::string>> kTables = {
    {"func_desc", "Fd_func_code"},
    {"DEP", "ID"},
    {"employee", "E_ID"},
    {"limit", "L_pers_id,L_func_code"},
    {"LoadData", "TY_No"},
    {"subData", "Pid,SP_No"},
    {"T_fee", "ty_no"},
    {"T_fee1", "ty_no"},
};

// A desk's SQLite file as the source; the target is a fresh database of the test's engine.
class Migration : public ::testing::TestWithParam<EngineKind> {
public:
    void SetUp() override {
        fresh();
        if (!targetDatabase->available()) GTEST_SKIP() << targetDatabase->skipReason();
    }
    void TearDown() override {
        source.reset();
        target.reset();
        targetDatabase.reset();
        std::filesystem::remove_all(dir);
    }
    // Starts again with a new source file and a new, empty target.
    void fresh() {
        TearDown();
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : test)
            if (c == '/') c = '_';
        dir = std::filesystem::temp_directory_path() /
              ("ca_migrate_" + std::to_string(::getpid()) + "_" + test);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        source = std::make_unique<ca::db::TDM>((dir / "source.sqlite").string());
        targetDatabase = std::make_unique<ca::db::testing::TestDatabase>(GetParam());
        target = std::make_unique<ca::db::TDM>(targetDatabase->target());
    }

    // A declaration as the download stores it: header, its fee rows and `lines` goods lines.
    static void declaration(ca::db::TDM& dm, const std::string& key, const std::string& company, int lines) {
        const std::string k = ca::db::EscapeQuotes(key), c = ca::db::EscapeQuotes(company);
        exec(dm, "insert into LoadData(TY_No,HG_No,JYDW_Name,SB_Date,indate,inouttype,SPXS) values ('" + k +
                     "','HG" + k + "','" + c + "','2011-01-04','2011-01-05','进口报关单'," +
                     std::to_string(lines) + ")");
        for (int i = 1; i <= lines; ++i)
            exec(dm, "insert into subData(Pid,SP_No,SPMC_Name,CJZJ) values ('" + k + "','" +
                         std::to_string(i) + "','货" + std::to_string(i) + "','" + std::to_string(i) +
                         ".25')");
        exec(dm, "insert into T_fee(kh,sdate,goods,ty_no,bgf,zbj) values ('" + c + "','2011-01-05','货1','" +
                     k + "',12.5,0)");
        exec(dm, "insert into T_fee1(kh,sdate,goods,ty_no,bgf) values ('" + c + "','2011-01-05','货1','" + k +
                     "','备注" + k + "')");
    }

    // A desk's database: three declarations (one with an apostrophe in its key), a fee item added
    // after creation with an amount and a remark, two departments, two users with permissions.
    void fillSource() {
        declaration(*source, "D1", "公司甲", 2);
        declaration(*source, "D'2", "O'Neil", 1);
        declaration(*source, "D3", "公司丙", 0);
        exec(*source, "insert into func_desc(Fd_func_code,Fd_func_name) values ('cyf','仓储费')");
        exec(*source, "alter table T_fee add cyf numeric (18 ,2)");
        exec(*source, "alter table T_fee1 add cyf char (50)");
        exec(*source, "update T_fee set cyf=3.75 where ty_no='D1'");
        exec(*source, "update T_fee1 set cyf='按月' where ty_no='D1'");
        exec(*source, "insert into DEP(ID,DEP_Name) values (1,'报关部')");
        exec(*source, "insert into DEP(ID,DEP_Name) values (2,'财务部')");
        exec(*source,
             "insert into employee(E_ID,E_name,E_DEP,E_sex,E_pwd,E_isSup) values "
             "(1,'管理员',1,'男','AB12',1)");
        exec(*source,
             "insert into employee(E_ID,E_name,E_DEP,E_sex,E_pwd,E_isSup) values (2,'小王',2,'女','',0)");
        exec(*source,
             "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select 1,Fd_func_code,"
             "Fd_func_name,1 from func_desc");
        exec(*source,
             "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select 2,Fd_func_code,"
             "Fd_func_name,0 from func_desc");
    }

    // Declarations, a department, a user and his permissions, and no fee item of the desk's own: a
    // copy that adds no column to the target.
    void fillDeclarationsOnly() {
        for (int i = 1; i <= 20; ++i)
            declaration(*source, "K" + std::to_string(i), "公司", 2);
        exec(*source, "insert into DEP(ID,DEP_Name) values (1,'报关部')");
        exec(*source,
             "insert into employee(E_ID,E_name,E_DEP,E_sex,E_pwd,E_isSup) values (1,'小王',1,'女','',0)");
        exec(*source,
             "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select 1,Fd_func_code,"
             "Fd_func_name,0 from func_desc");
    }

    Rows table(ca::db::TDM& dm, const std::string& name, const std::string& order) {
        return rows(dm, "select * from " + name + " order by " + order);
    }
    // Every table of the database.
    std::vector<Rows> everything(ca::db::TDM& dm) {
        std::vector<Rows> all;
        for (const auto& [name, order] : kTables)
            all.push_back(table(dm, name, order));
        return all;
    }

    std::filesystem::path dir;
    std::unique_ptr<ca::db::testing::TestDatabase> targetDatabase;
    std::unique_ptr<ca::db::TDM> source, target;
};

TEST_P(Migration, CopiesEveryTableAndASecondMergeChangesNothing) {
    fillSource();
    auto result = DatabaseMigration(*source, *target).run(false);

    EXPECT_EQ(result.addedColumns, (std::vector<std::string>{"T_fee.cyf", "T_fee1.cyf"}));
    std::vector<std::string> counts;
    for (const TableCount& t : result.tables)
        counts.push_back(t.table + " " + std::to_string(t.sourceRows) + " " + std::to_string(t.added) + " " +
                         std::to_string(t.kept));
    // The target's 24 built-in fee items are there already; the added one is copied.
    EXPECT_EQ(counts,
              (std::vector<std::string>{"func_desc 25 1 24", "DEP 2 2 0", "employee 2 2 0", "limit 50 50 0",
                                        "LoadData 3 3 0", "subData 3 3 0", "T_fee 3 3 0", "T_fee1 3 3 0"}));
    EXPECT_EQ(everything(*target), everything(*source));
    EXPECT_EQ(rows(*target, "select cyf from T_fee where ty_no='D1'"), (Rows{"3.75"}));
    EXPECT_EQ(rows(*target, "select bgf,cyf from T_fee1 where ty_no='D''2'"), (Rows{"备注D'2|<null>"}));
    // A server plans the next queries for the rows copied, not for the empty tables it had.
    if (GetParam() == ca::db::testing::EngineKind::Postgres) {
        EXPECT_EQ(rows(*target,
                       "select reltuples from pg_class where relname='subdata' and relnamespace=(select oid "
                       "from pg_namespace where nspname=current_schema())"),
                  (Rows{"3"}));
    }
    EXPECT_EQ(result.analysedTables, (std::vector<std::string>{"func_desc", "DEP", "employee", "limit",
                                                               "LoadData", "subData", "T_fee", "T_fee1"}));
    EXPECT_EQ(result.statisticsProblem, "");
    EXPECT_TRUE(result.feeDifferences.empty());

    const auto before = everything(*target);
    auto again = DatabaseMigration(*source, *target).run(true);
    EXPECT_TRUE(again.addedColumns.empty());
    EXPECT_TRUE(again.analysedTables.empty()) << "nothing changed, nothing to analyse";
    EXPECT_TRUE(again.feeDifferences.empty()) << "the fees are the source's own";
    for (const TableCount& t : again.tables) {
        EXPECT_EQ(t.added, 0) << t.table;
        EXPECT_EQ(t.kept, t.sourceRows) << t.table;
    }
    EXPECT_EQ(everything(*target), before);
}

// Merging into a database other desks use: rows it holds stay as they are there (fees entered on
// the server are not overwritten by a desk's older copy), the rest is added, keys without regard to
// letter case.
TEST_P(Migration, MergeKeepsWhatTheTargetHoldsAndAddsTheRest) {
    fillSource();
    declaration(*target, "d1", "服务器上的公司", 1);
    exec(*target, "update T_fee set bgf=99 where ty_no='d1'");
    declaration(*target, "S9", "别的柜台", 1);
    exec(*target, "insert into DEP(ID,DEP_Name) values (1,'报关部')");

    EXPECT_THROW(DatabaseMigration(*source, *target).run(false), TargetHoldsDeclarations);
    auto result = DatabaseMigration(*source, *target).run(true);

    EXPECT_EQ(rows(*target, "select TY_No,JYDW_Name from LoadData order by TY_No"),
              (Rows{"D'2|O'Neil", "d1|服务器上的公司", "D3|公司丙", "S9|别的柜台"}));
    EXPECT_EQ(rows(*target, "select Pid,SP_No,SPMC_Name from subData order by Pid,SP_No"),
              (Rows{"D'2|1|货1", "d1|1|货1", "D1|2|货2", "S9|1|货1"}));
    EXPECT_EQ(rows(*target, "select ty_no,bgf,cyf from T_fee order by ty_no"),
              (Rows{"D'2|12.5|<null>", "d1|99|0", "D3|12.5|<null>", "S9|12.5|0"}));
    EXPECT_EQ(rows(*target, "select ID,DEP_Name from DEP order by ID"), (Rows{"1|报关部", "2|财务部"}));
    std::vector<std::string> counts;
    for (const TableCount& t : result.tables)
        counts.push_back(t.table + " " + std::to_string(t.added) + " " + std::to_string(t.kept));
    EXPECT_EQ(counts, (std::vector<std::string>{"func_desc 1 24", "DEP 1 1", "employee 2 0", "limit 50 0",
                                                "LoadData 2 1", "subData 2 1", "T_fee 2 1", "T_fee1 2 1"}));
    // The fees the target kept are told with both amounts: the one the target held (99) and the
    // item the copy added to it (0 there), against the source's.
    ASSERT_EQ(result.feeDifferences.size(), 1u);
    const ca::migrate::FeeDifferences& d = result.feeDifferences[0];
    EXPECT_EQ(d.declaration, "D1");
    EXPECT_EQ(d.customsNumber, "");
    std::vector<std::string> fees;
    for (const auto& f : d.fees)
        fees.push_back(f.column + " " + f.source + " " + f.target);
    EXPECT_EQ(fees, (std::vector<std::string>{"bgf 12.5 99", "cyf 3.75 0"}));
    EXPECT_EQ(d.fees.back().name, "仓储费");
}

// A user who came only from the source had no rows for the fee items only the target had, and the
// target's own users none for the source's: after the merge every user has one for every item.
TEST_P(Migration, AfterAMergeEveryUserHasAPermissionForEveryFeeItem) {
    fillSource();
    declaration(*target, "S9", "别的柜台", 1);
    exec(*target, "insert into func_desc(Fd_func_code,Fd_func_name) values ('mdf','码单费')");
    exec(*target, "alter table T_fee add mdf numeric (18 ,2)");
    exec(*target, "alter table T_fee1 add mdf char (50)");
    exec(*target, "insert into DEP(ID,DEP_Name) values (1,'报关部')");
    exec(*target,
         "insert into employee(E_ID,E_name,E_DEP,E_sex,E_pwd,E_isSup) values (3,'服务器用户',1,'男','',0)");
    exec(*target,
         "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select 3,Fd_func_code,"
         "Fd_func_name,1 from func_desc");

    const auto result = DatabaseMigration(*source, *target).run(true);
    // 26 items: 24 built in, cyf from the source, mdf from the target.
    EXPECT_EQ(rows(*target, "select L_pers_id,count(*) from limit group by L_pers_id order by L_pers_id"),
              (Rows{"1|26", "2|26", "3|26"}));
    EXPECT_EQ(rows(*target,
                   "select L_pers_id,L_func_name,L_have_Limit from limit where L_func_code in "
                   "('mdf','cyf') order by L_pers_id,L_func_code"),
              (Rows{"1|仓储费|1", "1|码单费|0", "2|仓储费|0", "2|码单费|0", "3|仓储费|0", "3|码单费|1"}));
    for (const TableCount& t : result.tables)
        if (t.table == "limit") {
            EXPECT_EQ(t.added, 50 + 3);  // copied, then the three missing rows
        }
}

TEST_P(Migration, RefusalsWriteNothing) {
    struct Case {
        const char* name;
        std::function<void(Migration&)> prepare;
        const char* message;  // the start of the refusal's text
        bool merge = true;
    };
    const Case cases[] = {
        {"target holds declarations", [](Migration& m) { declaration(*m.target, "T1", "公司", 0); },
         "目标数据库中已有 1 份报关单，未写入任何内容", false},
        {"same user number, another name",
         [](Migration& m) { exec(*m.target, "insert into employee(E_ID,E_name,E_DEP) values (2,'小李',1)"); },
         "两个数据库中的编码与名称不一致，无法合并，未写入任何内容：用户编码 2 "
         "在源数据库中是“小王”，在目标数据库中是“小李”"},
        {"same user name, another number",
         [](Migration& m) { exec(*m.target, "insert into employee(E_ID,E_name,E_DEP) values (7,'小王',1)"); },
         "两个数据库中的编码与名称不一致，无法合并，未写入任何内容：用户“小王”在源数据库中的编码是 "
         "2，在目标数据库中是 7"},
        {"same fee item name, another code",
         [](Migration& m) {
             exec(*m.target, "insert into func_desc(Fd_func_code,Fd_func_name) values ('ccf','仓储费')");
         },
         "两个数据库中的编码与名称不一致，无法合并，未写入任何内容：费用项目“仓储费”在源数据库中的编码是 "
         "cyf，在目标数据库中是 ccf"},
        {"source of another program",
         [](Migration& m) {
             m.source.reset();
             std::filesystem::remove(m.dir / "source.sqlite");
             m.source = std::make_unique<ca::db::TDM>((m.dir / "source.sqlite").string());
             exec(*m.source, "drop table subData");
         },
         "源数据库不是本程序的数据库：没有数据表 subData"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        fillSource();
        c.prepare(*this);
        const auto before = everything(*target);
        try {
            DatabaseMigration(*source, *target).run(c.merge);
            ADD_FAILURE() << "not refused";
        } catch (const MigrationRefused& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
        EXPECT_EQ(everything(*target), before);
    }
}

// A statement the target refuses in the middle: the error names the table and the row, and
// nothing of the copy stays, not even the added fee columns.
TEST_P(Migration, AFailureHalfWayLeavesTheTargetAsItWas) {
    fillSource();
    target->ADOConnection1.Open();
    const auto before = everything(*target);
    ca::db::testing::refuseWrites(*target, "INSERT", "subData", "NEW.SP_No = '2'");
    try {
        DatabaseMigration(*source, *target).run(false);
        ADD_FAILURE() << "no error";
    } catch (const ca::db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("复制数据表 subData 的记录（Pid=“D1”，SP_No=“2”）时出错："),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(everything(*target), before);
    EXPECT_EQ(target->ADOConnection1.columns("T_fee")->size(),
              source->ADOConnection1.columns("T_fee")->size() - 1);
}

// The server ends the copy's session (as a restart or an administrator does) while it writes one
// table in bulk — for every table in turn. Another session's lock holds the copy at that table's
// insert, so the session is ended exactly there. The copy fails saying the connection was lost,
// blames no row, and leaves nothing on the server; a copy started again runs whole.
TEST_P(Migration, ALostConnectionFailsTheCopyWholeAtTheBulkCopyOfEveryTable) {
    if (GetParam() != EngineKind::Postgres) GTEST_SKIP() << "a server's connection";
    const std::string application = "ca_migrate_lost_" + std::to_string(::getpid());
    for (const auto& [table, order] : kTables) {
        SCOPED_TRACE(table);
        fresh();
        fillDeclarationsOnly();
        const auto before = everything(*target);
        ca::db::TDM copying(targetDatabase->target() + " application_name=" + application);
        std::string failure = "(no error)";
        {
            ca::db::TDM blocker(targetDatabase->target());
            ca::db::Transaction hold(blocker);
            blocker.ADOConnection1.execRaw("LOCK TABLE \"" + ca::toLowerAscii(table) + "\" IN SHARE MODE");
            std::thread copy([&] {
                try {
                    DatabaseMigration(*source, copying).run(false);
                } catch (const std::exception& e) {
                    failure = e.what();
                }
            });
            const bool ended = ca::db::testing::terminateWhenWaiting(
                application, "INSERT INTO \"" + ca::toLowerAscii(table) + "\"");
            copy.join();
            EXPECT_TRUE(ended) << "the copy never waited at the insert";
        }
        EXPECT_NE(failure.find("连接中断"), std::string::npos) << failure;
        EXPECT_NE(failure.find("没有保存"), std::string::npos) << failure;
        EXPECT_EQ(failure.find("记录"), std::string::npos) << "a row blamed: " << failure;
        EXPECT_EQ(everything(*target), before);
        if (table == "T_fee1") {
            // The next copy is a new unit on a new connection.
            DatabaseMigration(*source, copying).run(false);
            EXPECT_EQ(everything(*target), everything(*source));
        }
    }
}

// The session ends while the server gathers statistics after the commit: the copy is kept, and the
// result says only the statistics were not refreshed.
TEST_P(Migration, ALostConnectionDuringTheStatisticsKeepsTheCommittedCopy) {
    if (GetParam() != EngineKind::Postgres) GTEST_SKIP() << "a server's connection";
    const std::string application = "ca_migrate_analyse_" + std::to_string(::getpid());
    fillDeclarationsOnly();
    target->ADOConnection1.Open();
    ca::db::TDM copying(targetDatabase->target() + " application_name=" + application);
    ca::migrate::MigrationResult result;
    std::string failure;
    {
        ca::db::TDM blocker(targetDatabase->target());
        ca::db::Transaction hold(blocker);
        // Writing goes on beside this lock; gathering statistics of the table waits for it.
        blocker.ADOConnection1.execRaw("LOCK TABLE subdata IN SHARE UPDATE EXCLUSIVE MODE");
        std::thread copy([&] {
            try {
                result = DatabaseMigration(*source, copying).run(false);
            } catch (const std::exception& e) {
                failure = e.what();
            }
        });
        const bool ended = ca::db::testing::terminateWhenWaiting(application, "ANALYZE");
        copy.join();
        EXPECT_TRUE(ended) << "the statistics never waited";
    }
    EXPECT_EQ(failure, "");
    EXPECT_NE(result.statisticsProblem.find("连接中断"), std::string::npos) << result.statisticsProblem;
    EXPECT_TRUE(result.analysedTables.empty());
    EXPECT_EQ(everything(*target), everything(*source));
}

INSTANTIATE_TEST_SUITE_P(Engines, Migration, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

}  // namespace
