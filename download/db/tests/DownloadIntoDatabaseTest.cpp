// Whole downloads from the stand-in into a database (a file, or a server): what is stored, a second
// download updating in place, and failures in the middle leaving everything before them stored.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "../../tests/DownloadRig.h"
#include "DbRows.h"
#include "DeskDatabase.h"
#include "ca/db/DbError.h"
#include "ca/db/testing/TestDatabase.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/util/CommandGuard.h"

using namespace ca::download;
using namespace ca::download::testing;

namespace {

class DownloadIntoDatabase : public ::testing::TestWithParam<EngineKind> {
protected:
    void SetUp() override {
        if (!database->available()) GTEST_SKIP() << database->skipReason();
        dm = database->desk();
    }
    // Starts again on a new, empty database.
    void freshDatabase() {
        dm.reset();
        database.reset();
        database = std::make_unique<DeskDatabase>(GetParam());
        dm = database->desk();
    }
    // Runs one download; the progress handler may act in the middle of it.
    bool download(Rig& rig, std::function<void(const DownloadProgress&)> onProgress = {}) {
        DatabaseCapture capture(*dm, rig.log);
        DownloadDriver driver(rig.desktop, rig.clock, rig.log, rig.prompts, capture, rig.settings());
        driver.setProgressHandler(std::move(onProgress));
        return ca::CommandGuard::run(rig.prompts, [&] { driver.MainLoadData(); });
    }

    std::unique_ptr<DeskDatabase> database = std::make_unique<DeskDatabase>(GetParam());
    std::unique_ptr<ca::db::TDM> dm;
};

TEST_P(DownloadIntoDatabase, ADeclarationWithThreeLinesAndADownloadRepeated) {
    auto f = fixture("进口报关单", {listRow("I1", kGeneral, "3"), listRow("I2", kProcessing, "4")});
    f.declarations["I1"] = declaration(0, "I1", 3);
    Rig first(f);
    ASSERT_TRUE(download(first));
    EXPECT_EQ(rows(*dm, "select TY_No,SPXS,indate,opertor,JK_Date,SB_Date from LoadData order by TY_No"),
              (std::vector<Row>{{"I1", "3", "2024-01-15", "王五", "2024-01-10", "2024-01-11"},
                                {"I2", "4", "2024-01-15", " ", "2024-01-10", "1990-09-09"}}));
    EXPECT_EQ(rows(*dm, "select Pid,SP_No,SPBH_No,SPMC_Name,CJZJ from subData order by SP_No"),
              (std::vector<Row>{{"I1", "1", "SP0", "商品0", "100.5"},
                                {"I1", "2", "SP0", "商品1", "100.5"},
                                {"I1", "3", "SP0", "商品2", "100.5"}}));
    EXPECT_EQ(rows(*dm, "select ty_no,goods from T_fee order by ty_no"),
              (std::vector<Row>{{"I1", "商品0"}, {"I2", ""}}));
    EXPECT_EQ(count(*dm, "T_fee1"), 2);

    // The same list again with a changed line: headers and lines are updated in place.
    f.declarations["I1"].goods[1].texts[1] = "改名";
    Rig second(f);
    ASSERT_TRUE(download(second));
    EXPECT_EQ(count(*dm, "LoadData"), 2);
    EXPECT_EQ(count(*dm, "subData"), 3);
    EXPECT_EQ(count(*dm, "T_fee"), 2);
    EXPECT_EQ(rows(*dm, "select SPMC_Name from subData where SP_No='2'"), (std::vector<Row>{{"改名"}}));
    EXPECT_EQ(second.log.lines, (std::vector<std::string>{"进口报关单:I1（修改）", "I1 子数据:1 名称:商品0",
                                                          "I1 子数据:2 名称:改名", "I1 子数据:3 名称:商品2",
                                                          "进口报关单:I2（修改）"}));
}

// A failure in the middle ends the download with the error's text and what was stored before it
// stays. When the database went away (another program locks the file; the server ends the
// connection), the next download reaches it again and stores the rest, nothing twice.
TEST_P(DownloadIntoDatabase, AFailureMidDownloadKeepsWhatWasStoredAndTheNextRunContinues) {
    const bool server = database->onServer();
    struct Case {
        const char* name;
        const char* count2;  // goods count of the second row
        bool cutAfterFirst;
        std::string errorStart;
    };
    const Case cases[] = {
        {"column 6 not an integer", "abc", false, "“abc”不是有效的整数值"},
        {"database gone", "1", true, server ? "与数据库服务器“" : "数据库正被其他程序使用（已锁定）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshDatabase();
        auto f = fixture("出口报关单", {listRow("E1", kGeneral, "2"), listRow("E2", kGeneral, c.count2),
                                        listRow("E3", kProcessing, "1")});
        f.declarations["E1"] = declaration(1, "E1", 2);
        f.declarations["E2"] = declaration(1, "E2", 2);
        Rig rig(f);
        sqlite3* locker = nullptr;
        bool cut = false;
        auto cutNow = [&] {
            cut = true;
            if (server) {
                // The server ends this desk's connection, as when it is stopped.
                const std::string pid = rows(*dm, "select pg_backend_pid()").at(0).at(0);
                ca::db::testing::runOnTestServer("select pg_terminate_backend(" + pid + ", 10000)");
                return;
            }
            dm->ADOConnection1.SetLockWait(0);  // fail at once instead of waiting
            ASSERT_EQ(sqlite3_open(dm->ADOConnection1.OpenedPath().c_str(), &locker), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        };
        const bool ok = download(rig, [&](const DownloadProgress& p) {
            if (c.cutAfterFirst && p.goodsLines == 2 && !cut) cutNow();
        });
        if (locker) {
            sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(locker);
            dm->ADOConnection1.SetLockWait(5000);
        }
        EXPECT_FALSE(ok);
        ASSERT_EQ(rig.prompts.texts("error").size(), 1u);
        EXPECT_EQ(rig.prompts.texts("error")[0].rfind(c.errorStart, 0), 0u) << rig.prompts.texts("error")[0];
        EXPECT_TRUE(rig.prompts.texts("plain").empty());
        EXPECT_EQ(rows(*dm, "select TY_No from LoadData"), (std::vector<Row>{{"E1"}}));
        EXPECT_EQ(count(*dm, "subData"), 2);
        EXPECT_EQ(count(*dm, "T_fee"), 1);
        EXPECT_EQ(count(*dm, "T_fee1"), 1);
        if (!c.cutAfterFirst) continue;

        Rig again(f);
        ASSERT_TRUE(download(again)) << again.prompts.texts("error").at(0);
        EXPECT_EQ(rows(*dm, "select TY_No from LoadData order by TY_No"),
                  (std::vector<Row>{{"E1"}, {"E2"}, {"E3"}}));
        EXPECT_EQ(count(*dm, "subData"), 4);
        EXPECT_EQ(count(*dm, "T_fee"), 3);
        EXPECT_EQ(count(*dm, "T_fee1"), 3);
    }
}

TEST_P(DownloadIntoDatabase, BadTextsFromTheClientAreStoredAsRead) {
    const std::string longText(255, 'y');
    auto f = fixture("进口报关单", {listRow("K'1", kGeneral, "1"), listRow("K'2", kProcessing, "1")});
    auto d = declaration(0, "K'1", 1);
    d.header[63] = "O'Brien 贸易 ' or 1=1 --";
    d.header[77] = longText;
    d.header[4] = "";
    d.goods[0].texts[7] = "碁（GBK）";
    f.declarations["K'1"] = d;
    Rig rig(f);
    ASSERT_TRUE(download(rig));
    EXPECT_EQ(rows(*dm, "select TY_No,JYDW_Name,YLR_No,Remark from LoadData order by TY_No"),
              (std::vector<Row>{{"K'1", d.header[63], longText, ""}, {"K'2", "经营K'2", "", ""}}));
    EXPECT_EQ(rows(*dm, "select Pid,YCD from subData"), (std::vector<Row>{{"K'1", "碁（GBK）"}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, DownloadIntoDatabase, ca::db::testing::AllEngines(),
                         ca::db::testing::EngineName);

}  // namespace
