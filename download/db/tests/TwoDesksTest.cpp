// Two desks storing the same declaration into one database: the other desk's store comes in
// between the existence check and the insert, and the declaration still ends up stored once, with
// its fee rows once and its goods lines once, updated by the later store.
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "DbRows.h"
#include "DeskDatabase.h"
#include "ca/db/Transaction.h"
#include "ca/download/DatabaseCapture.h"

using namespace ca::download;
using ca::download::testing::count;
using ca::download::testing::DeskDatabase;
using ca::download::testing::EngineKind;
using ca::download::testing::Row;
using ca::download::testing::rows;

namespace {

class TwoDesks : public ::testing::TestWithParam<EngineKind> {
protected:
    void SetUp() override {
        if (!database.available()) GTEST_SKIP() << database.skipReason();
        desk1 = database.desk();
        desk1->ADOConnection1.Open();  // the first desk creates the tables
        desk2 = database.desk();
        capture1 = std::make_unique<DatabaseCapture>(*desk1, log1);
        capture2 = std::make_unique<DatabaseCapture>(*desk2, log2);
    }

    static HeaderTexts header(int kindIndex, const std::string& key, const std::string& prefix) {
        HeaderTexts h;
        for (size_t i = 0; i < h.size(); ++i)
            h[i] = prefix + std::to_string(i);
        h[kindIndex == 0 ? 79 : 78] = key;
        h[kindIndex == 0 ? 65 : 64] = "20240302";
        return h;
    }
    static GoodsTexts line(int kindIndex, const std::string& sequence, const std::string& name) {
        GoodsTexts g;
        g[kindIndex == 0 ? 40 : 42] = sequence;
        g[1] = name;
        return g;
    }
    void storeHeader(DatabaseCapture& capture, int kindIndex, const HeaderTexts& h,
                     const std::string& goods) {
        OperatorTexts op;
        if (kindIndex == 0)
            capture.insertDataLoad(h, "2024-03-05", goods, "进口报关单", op, 1);
        else
            capture.insertDataLoad_OUT(h, "2024-03-05", goods, "出口报关单", op, 1);
    }
    // Makes desk 2's `store` run once, right after desk 1's next existence check.
    void interleave(std::function<void()> store) {
        capture1->setBeforeWrite([this, store, done = false]() mutable {
            if (done) return;
            done = true;
            store();
        });
    }

    // Desk 2 holds declaration I1 in a unit of its own (its lock and an update of its header) for
    // longer than desk 1 waits for a lock; returns once desk 2 holds it.
    std::thread holdI1OnDesk2() {
        desk1->ADOConnection1.SetLockWait(100);
        auto holding = std::make_shared<std::promise<void>>();
        std::future<void> held = holding->get_future();
        std::thread other([this, holding] {
            ca::db::Transaction unit(*desk2);
            desk2->ADOConnection1.LockDeclarations({"I1"});
            ca::db::TADOQuery q(*desk2);
            q.SetSQL("update LoadData set Remark='乙' where TY_No='I1'");
            q.ExecSQL();
            holding->set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(450));
            unit.commit();
        });
        held.wait();
        return other;
    }

    DeskDatabase database{GetParam()};
    std::unique_ptr<ca::db::TDM> desk1, desk2;
    ca::VectorLog log1, log2;
    std::unique_ptr<DatabaseCapture> capture1, capture2;
};

TEST_P(TwoDesks, AStoreBetweenTheCheckAndTheInsertIsUpdatedNotDoubled) {
    for (int kindIndex : {0, 1}) {
        SCOPED_TRACE(kindIndex);
        const std::string key = kindIndex == 0 ? "I1" : "E1";
        const std::string kind = kindIndex == 0 ? "进口报关单" : "出口报关单";
        log1.lines.clear();
        interleave([&] { storeHeader(*capture2, kindIndex, header(kindIndex, key, "b"), "乙货"); });
        storeHeader(*capture1, kindIndex, header(kindIndex, key, "a"), "甲货");

        // Desk 1 stored last: its texts; the fee rows are those desk 2 inserted, once.
        EXPECT_EQ(rows(*desk1, "select TY_No,YLR_No from LoadData where TY_No='" + key + "'"),
                  (std::vector<Row>{{key, kindIndex == 0 ? "a77" : "a76"}}));
        EXPECT_EQ(rows(*desk1, "select goods from T_fee where ty_no='" + key + "'"),
                  (std::vector<Row>{{"乙货"}}));
        EXPECT_EQ(rows(*desk1, "select goods from T_fee1 where ty_no='" + key + "'"),
                  (std::vector<Row>{{"乙货"}}));
        // What desk 1 stored: the update, not an insert it did not make.
        EXPECT_EQ(log1.lines, (std::vector<std::string>{kind + ":" + key + "（修改）"}));

        log1.lines.clear();
        interleave([&] {
            capture2->insertSubdata(line(kindIndex, "1", "乙"), header(kindIndex, key, "b"), kindIndex);
        });
        capture1->insertSubdata(line(kindIndex, "1", "甲"), header(kindIndex, key, "a"), kindIndex);
        EXPECT_EQ(rows(*desk1, "select SP_No,SPMC_Name from subData where Pid='" + key + "'"),
                  (std::vector<Row>{{"1", "甲"}}));
        ASSERT_EQ(log1.lines.size(), 1u);
        EXPECT_EQ(log1.lines[0], key + " 子数据:1 名称:甲");
    }
    EXPECT_EQ(count(*desk2, "LoadData"), 2);
    EXPECT_EQ(count(*desk2, "T_fee"), 2);
    EXPECT_EQ(count(*desk2, "T_fee1"), 2);
    EXPECT_EQ(count(*desk2, "subData"), 2);
}

// Another desk's unit holds the declaration longer than a statement waits for a lock (a copy
// between databases, a new fee item's column): the download waits, says so, and stores the line
// once the unit ends, instead of ending.
TEST_P(TwoDesks, AStoreWaitsForAnotherDesksLongUnitInsteadOfEnding) {
    storeHeader(*capture1, 0, header(0, "I1", "a"), "甲货");
    std::thread other = holdI1OnDesk2();
    log1.lines.clear();
    capture1->insertSubdata(line(0, "1", "甲"), header(0, "I1", "a"), 0);
    other.join();
    EXPECT_EQ(rows(*desk1, "select SP_No,SPMC_Name from subData"), (std::vector<Row>{{"1", "甲"}}));
    ASSERT_GE(log1.lines.size(), 2u);
    EXPECT_EQ(log1.lines.front(), "数据库正被其他工位使用，等待后重试（第 1 次）……");
    EXPECT_EQ(log1.lines.back(), "I1 编号:1 名称:甲");
}

// An update that waits for another desk's unit says what it stores once, however often it tries.
TEST_P(TwoDesks, AnUpdateThatWaitsLogsItsLineOnce) {
    storeHeader(*capture1, 0, header(0, "I1", "a"), "甲货");
    std::thread other = holdI1OnDesk2();
    log1.lines.clear();
    storeHeader(*capture1, 0, header(0, "I1", "c"), "甲货");
    other.join();
    EXPECT_EQ(rows(*desk1, "select YLR_No from LoadData"), (std::vector<Row>{{"c77"}}));
    ASSERT_GE(log1.lines.size(), 2u) << "it never waited";
    EXPECT_EQ(std::count(log1.lines.begin(), log1.lines.end(), "进口报关单:I1（修改）"), 1)
        << log1.lines.size();
    EXPECT_EQ(log1.lines.front(), "进口报关单:I1（修改）");
}

// Two desks downloading the same 500 declarations at the same moment, each on its own connection:
// every declaration, fee row and goods line ends up stored once.
TEST_P(TwoDesks, TwoDownloadsOfTheSameDeclarationsAtOnceStoreEachOnce) {
    constexpr int kDeclarations = 500;
    // Each desk's error text, empty when it stored everything.
    std::string errors[2];
    auto desk = [&](DatabaseCapture& capture, const std::string& prefix, std::string& error) {
        try {
            for (int n = 0; n < kDeclarations; ++n) {
                const std::string key = "K" + std::to_string(n);
                const HeaderTexts h = header(0, key, prefix);
                storeHeader(capture, 0, h, prefix + "货");
                for (const char* sequence : {"1", "2"})
                    capture.insertSubdata(line(0, sequence, prefix + sequence), h, 0);
            }
        } catch (const std::exception& e) {
            error = e.what();
        }
    };
    std::thread first([&] { desk(*capture1, "a", errors[0]); });
    std::thread second([&] { desk(*capture2, "b", errors[1]); });
    first.join();
    second.join();
    EXPECT_EQ(errors[0], "");
    EXPECT_EQ(errors[1], "");

    for (const char* table : {"LoadData", "T_fee", "T_fee1"})
        EXPECT_EQ(count(*desk1, table), kDeclarations) << table;
    EXPECT_EQ(count(*desk1, "subData"), 2 * kDeclarations);
    EXPECT_EQ(rows(*desk1, "select count(*) from (select distinct TY_No from LoadData) as keys"),
              (std::vector<Row>{{std::to_string(kDeclarations)}}));
    EXPECT_EQ(rows(*desk1, "select count(*) from (select distinct Pid, SP_No from subData) as lines"),
              (std::vector<Row>{{std::to_string(2 * kDeclarations)}}));
    EXPECT_EQ(rows(*desk1, "select count(*) from (select distinct ty_no from T_fee) as fees"),
              (std::vector<Row>{{std::to_string(kDeclarations)}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, TwoDesks, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

}  // namespace
