// Two desks storing the same declaration into one database: the other desk's store comes in
// between the existence check and the insert, and the declaration still ends up stored once, with
// its fee rows once and its goods lines once, updated by the later store.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "DbRows.h"
#include "ca/download/DatabaseCapture.h"

using namespace ca::download;
using ca::download::testing::count;
using ca::download::testing::Row;
using ca::download::testing::rows;

namespace {

class TwoDesks : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ca_two_desks_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        const std::string file = (dir / "DB.sqlite").string();
        desk1 = std::make_unique<ca::db::TDM>(file);
        desk2 = std::make_unique<ca::db::TDM>(file);
        capture1 = std::make_unique<DatabaseCapture>(*desk1, log1);
        capture2 = std::make_unique<DatabaseCapture>(*desk2, log2);
    }
    void TearDown() override {
        capture1.reset();
        capture2.reset();
        desk1.reset();
        desk2.reset();
        std::filesystem::remove_all(dir);
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

    std::filesystem::path dir;
    std::unique_ptr<ca::db::TDM> desk1, desk2;
    ca::VectorLog log1, log2;
    std::unique_ptr<DatabaseCapture> capture1, capture2;
};

TEST_F(TwoDesks, AStoreBetweenTheCheckAndTheInsertIsUpdatedNotDoubled) {
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
        EXPECT_EQ(log1.lines,
                  (std::vector<std::string>{kind + ":" + key + "（录入）", kind + ":" + key + "（修改）"}));

        log1.lines.clear();
        interleave([&] {
            capture2->insertSubdata(line(kindIndex, "1", "乙"), header(kindIndex, key, "b"), kindIndex);
        });
        capture1->insertSubdata(line(kindIndex, "1", "甲"), header(kindIndex, key, "a"), kindIndex);
        EXPECT_EQ(rows(*desk1, "select SP_No,SPMC_Name from subData where Pid='" + key + "'"),
                  (std::vector<Row>{{"1", "甲"}}));
        ASSERT_EQ(log1.lines.size(), 2u);
        EXPECT_EQ(log1.lines[1], key + " 子数据:1 名称:甲");
    }
    EXPECT_EQ(count(*desk2, "LoadData"), 2);
    EXPECT_EQ(count(*desk2, "T_fee"), 2);
    EXPECT_EQ(count(*desk2, "T_fee1"), 2);
    EXPECT_EQ(count(*desk2, "subData"), 2);
}

}  // namespace
