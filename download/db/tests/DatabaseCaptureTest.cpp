// Storing headers with their fee rows and goods lines: insert then update in place, the log line
// before each statement, date rules, and texts stored exactly as read.
#include <gtest/gtest.h>

#include "DbRows.h"
#include "ca/db/DbError.h"
#include "ca/db/testing/RefuseWrites.h"
#include "ca/db/testing/TestDatabase.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/download/DeleteAllDeclarations.h"
#include "ca/download/LoadDataColumns.h"

using namespace ca::download;
using ca::db::testing::EngineKind;
using ca::download::testing::count;
using ca::download::testing::Row;
using ca::download::testing::rows;

namespace {

class DatabaseCaptureTest : public ::testing::TestWithParam<EngineKind> {
protected:
    ca::db::testing::TestDatabase database{GetParam()};
    ca::db::TDM dm{database.target()};
    ca::VectorLog log;
    DatabaseCapture capture{dm, log};

    void SetUp() override {
        if (!database.available()) GTEST_SKIP() << database.skipReason();
    }

    static HeaderTexts importHeader(const std::string& key) {
        HeaderTexts h;
        for (size_t i = 0; i < h.size(); ++i)
            h[i] = "h" + std::to_string(i);
        h[79] = key;
        h[67] = "20240301";  // JK_Date
        h[65] = "20240302";  // SB_Date
        return h;
    }
    static OperatorTexts operators(const std::string& phone, const std::string& clerk) {
        OperatorTexts o;
        o[0] = phone;
        o[2] = clerk;
        return o;
    }
    Row loadData(const std::string& key, const std::string& columns) {
        auto r = rows(dm, "select " + columns + " from LoadData where TY_No='" + key + "'");
        return r.empty() ? Row{} : r[0];
    }
};

TEST_P(DatabaseCaptureTest, HeaderTwiceIsOneRowPerTableAndTheFeeRowsStay) {
    HeaderTexts h = importHeader("I001");
    capture.insertDataLoad(h, "2024-03-05", "螺丝", "进口报关单", operators("123", "张三"), 3);
    EXPECT_EQ(loadData("I001", "HG_No,JK_Date,SB_Date,indate,phone,opertor,SPXS,ZSBL,XK_No,inouttype"),
              (Row{"h75", "2024-03-01", "2024-03-02", "2024-03-05", "123", "张三", "3", "h81", "h81",
                   "进口报关单"}));
    auto fee = rows(dm, "select kh,sdate,goods,htno,tdno,bgno,ty_no,bgf,zbj from T_fee");
    EXPECT_EQ(fee, (std::vector<Row>{{"h63", "2024-03-05", "螺丝", "h69", "h48", "h75", "I001", "0", "0"}}));
    auto remarks = rows(dm, "select ty_no,goods,bgf,THCf,zbj from T_fee1");
    EXPECT_EQ(remarks, (std::vector<Row>{{"I001", "螺丝", "<null>", "<null>", "<null>"}}));
    const std::string fees =
        "bgf,bjf,ddf,bjd,cysjf,jhd,yhsxf,bdf,sjf,xzf,hdf,dlf,THCf,ygf,hgf,zgf,xgf,dgf,ftf,gbf,"
        "cgf,mtf,yf,zbj";
    EXPECT_EQ(rows(dm, "select " + fees + " from T_fee"), (std::vector<Row>{Row(24, "0")}));
    EXPECT_EQ(rows(dm, "select " + fees + " from T_fee1"), (std::vector<Row>{Row(24, "<null>")}));

    // A second store overwrites every column, empty texts included, and leaves the fee rows alone.
    h[75] = "";
    h[63] = "新单位";
    capture.insertDataLoad(h, "2024-04-01", "别的", "进口报关单", operators("", "李四"), 4);
    EXPECT_EQ(loadData("I001", "HG_No,JYDW_Name,indate,phone,opertor,SPXS"),
              (Row{"", "新单位", "2024-04-01", "", "李四", "4"}));
    EXPECT_EQ(count(dm, "LoadData"), 1);
    EXPECT_EQ(rows(dm, "select kh,goods,sdate from T_fee"),
              (std::vector<Row>{{"h63", "螺丝", "2024-03-05"}}));
    EXPECT_EQ(count(dm, "T_fee1"), 1);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"进口报关单:I001（录入）", "进口报关单:I001（修改）"}));
}

// Every header text column against the header position it is stored from (import, export), read
// back from the database after an insert and after an update of the same declaration, so a column
// and its value that trade places in a statement show up.
TEST_P(DatabaseCaptureTest, EveryHeaderColumnTakesItsPosition) {
    struct Column {
        const char* name;
        int importPos;
        int exportPos;
    };
    const Column columns[] = {
        {"YLR_No", 77, 76},  {"HG_No", 75, 74},     {"JKKA", 73, 72},      {"BA_No", 71, 70},
        {"HT_No", 69, 68},   {"JYDW_No", 3, 2},     {"JYDW_Name", 63, 62}, {"JYDW_XZ", 62, 61},
        {"SHDW_No", 58, 57}, {"SHDW_Name", 57, 56}, {"SBDW_No", 53, 52},   {"SBDW_Name", 52, 51},
        {"YSFS", 60, 59},    {"YSGJ", 55, 54},      {"HC_No", 50, 49},     {"TiYun_No", 48, 47},
        {"JGFS", 46, 45},    {"ZMXZ", 44, 43},      {"ZSBL", 81, 80},      {"NSDW", 6, 5},
        {"XK_No", 81, 81},   {"QYG", 40, 39},       {"ZHG", 36, 35},       {"JNMDD", 38, 37},
        {"PZ_No", 34, 33},   {"CJFS", 32, 31},      {"YunFee", 25, 24},    {"yBiZhong", 24, 23},
        {"BaoFee", 21, 20},  {"bBiZhong", 20, 19},  {"ZaFee", 17, 16},     {"zBiZhong", 16, 15},
        {"JianShu", 30, 29}, {"BZZL", 28, 27},      {"MaoZhong", 14, 13},  {"jingZhong", 12, 11},
        {"JZX_No", 10, 9},   {"SFDZ_No", 8, 7},     {"BGDType", 1, 0},     {"Remark", 4, 3},
    };
    std::string textColumns;
    for (const auto& c : columns)
        textColumns += std::string(textColumns.empty() ? "" : ",") + c.name;
    struct Case {
        bool exportVariant;
        const char* prefix;  // of every header text; the second store of a key overwrites the first
        const char* jk;
        const char* sb;
    };
    for (const Case& c : {Case{false, "a", "20240301", "20240302"}, Case{false, "b", "20240401", "20240402"},
                          Case{true, "a", "20240303", "20240304"}, Case{true, "b", "20240403", "20240404"}}) {
        SCOPED_TRACE(std::string(c.exportVariant ? "export " : "import ") + c.prefix);
        const std::string key = c.exportVariant ? "KE" : "KI";
        HeaderTexts h;
        for (size_t i = 0; i < h.size(); ++i)
            h[i] = c.prefix + std::to_string(i);
        h[c.exportVariant ? 78 : 79] = key;
        h[c.exportVariant ? 66 : 67] = c.jk;
        h[c.exportVariant ? 64 : 65] = c.sb;
        const auto op = operators(std::string(c.prefix) + "电话", std::string(c.prefix) + "员");
        const std::string kind = c.exportVariant ? "出口转关运输提前报关单" : "进口报关单";
        if (c.exportVariant)
            capture.insertDataLoad_OUT(h, "2024-05-06", "货", kind, op, 9);
        else
            capture.insertDataLoad(h, "2024-05-06", "货", kind, op, 9);

        Row expected;
        for (const auto& col : columns)
            expected.push_back(h[static_cast<size_t>(c.exportVariant ? col.exportPos : col.importPos)]);
        EXPECT_EQ(loadData(key, textColumns), expected);
        EXPECT_EQ(loadData(key, "TY_No,JK_Date,SB_Date,indate,inouttype,phone,opertor,SPXS"),
                  (Row{key, rewriteClientDate(c.jk), rewriteClientDate(c.sb), "2024-05-06", kind, op[0],
                       op[2], "9"}));
    }
    EXPECT_EQ(count(dm, "LoadData"), 2);
    EXPECT_EQ(count(dm, "T_fee"), 2);
}

// Every goods column against the goods position it is stored from, in both layouts.
TEST_P(DatabaseCaptureTest, EveryGoodsColumnTakesItsPosition) {
    struct Column {
        const char* name;
        int importPos;  // -1: not stored by the import layout
        int exportPos;
    };
    const Column columns[] = {
        {"SP_No", 40, 42},   {"BA_No", 38, 40}, {"SPBH_No", 0, 0}, {"FJBH_No", 35, 37}, {"SPMC_Name", 1, 1},
        {"GGXH", 32, 34},    {"CJ_No", 30, 32}, {"CJDW", 28, 30},  {"CJDJ", 26, 28},    {"CJZJ", 24, 26},
        {"BiZhong", 22, 24}, {"FD_No", 20, 22}, {"FDDW", 18, 20},  {"BBH_No", 16, 18},  {"HH_No", 14, 16},
        {"YT", 2, 2},        {"DESL", 11, 12},  {"DEDW", 9, 10},   {"YCD", 7, 6},       {"ZM", 4, 2},
        {"GJF", -1, 8},      {"SCCJ", -1, 14},
    };
    std::string all;
    for (const auto& c : columns)
        all += std::string(all.empty() ? "" : ",") + c.name;
    struct Case {
        int kindIndex;
        const char* prefix;
        const char* total;  // the CJZJ text, a number
    };
    for (const Case& c :
         {Case{0, "a", "1.5"}, Case{0, "b", "2.5"}, Case{1, "a", "3.5"}, Case{2, "b", "4.5"}}) {
        SCOPED_TRACE(std::to_string(c.kindIndex) + c.prefix);
        const bool imp = c.kindIndex == 0;
        HeaderTexts h;
        h[imp ? 79 : 78] = imp ? "PI" : "PE";
        GoodsTexts g;
        for (size_t i = 0; i < g.size(); ++i)
            g[i] = c.prefix + std::to_string(i);
        g[imp ? 40 : 42] = "1";
        g[imp ? 24 : 26] = c.total;
        capture.insertSubdata(g, h, c.kindIndex);

        Row expected;
        for (const auto& col : columns) {
            const int pos = imp ? col.importPos : col.exportPos;
            expected.push_back(pos < 0 ? "<null>" : g[static_cast<size_t>(pos)]);
        }
        EXPECT_EQ(rows(dm, "select " + all + " from subData where Pid='" + h[imp ? 79 : 78] + "'"),
                  std::vector<Row>{expected});
    }
}

// A fee row the database refuses takes the new header with it, so the next download of the
// declaration inserts it whole instead of updating a header that has no fee rows.
TEST_P(DatabaseCaptureTest, AHeaderIsStoredWithBothFeeRowsOrNotAtAll) {
    ca::db::testing::refuseWrites(dm, "INSERT", "T_fee1", "NEW.ty_no = 'I005'");
    EXPECT_THROW(capture.insertDataLoad(importHeader("I005"), "2024-03-05", "螺丝", "进口报关单",
                                        operators("", ""), 1),
                 ca::db::DbError);
    EXPECT_EQ(count(dm, "LoadData") + count(dm, "T_fee") + count(dm, "T_fee1"), 0);

    ca::db::testing::allowWrites(dm, "INSERT", "T_fee1");
    capture.insertDataLoad(importHeader("I005"), "2024-03-05", "螺丝", "进口报关单", operators("", ""), 1);
    EXPECT_EQ(rows(dm, "select ty_no,goods from T_fee1"), (std::vector<Row>{{"I005", "螺丝"}}));
    EXPECT_EQ(count(dm, "LoadData"), 1);
    EXPECT_EQ(count(dm, "T_fee"), 1);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"进口报关单:I005（录入）", "进口报关单:I005（录入）"}));
}

TEST_P(DatabaseCaptureTest, ListOnlyAfterFullCaptureEmptiesTheOtherColumns) {
    capture.insertDataLoad(importHeader("I002"), "2024-03-05", "螺丝", "进口报关单", operators("1", "2"), 2);
    HeaderTexts listOnly;
    listOnly[79] = "I002";
    listOnly[75] = "HG";
    listOnly[67] = "20240310";
    OperatorTexts spaces;
    for (size_t i = 0; i <= 10; ++i)
        spaces[i] = " ";
    capture.insertDataLoad(listOnly, "2024-03-06", "", "进口报关单", spaces, 2);
    EXPECT_EQ(loadData("I002", "HG_No,YLR_No,JYDW_No,Remark,JK_Date,SB_Date,phone,opertor,indate"),
              (Row{"HG", "", "", "", "2024-03-10", "1990-09-09", " ", " ", "2024-03-06"}));
}

TEST_P(DatabaseCaptureTest, DatesTheClientDoesNotShowValidly) {
    // Import: JK_Date unchecked, stored as Null when it is no date; SB_Date always checked.
    HeaderTexts imp = importHeader("I003");
    imp[67] = "";
    imp[65] = "2024x302";
    capture.insertDataLoad(imp, "2024-03-05", "", "进口报关单", operators("", ""), 0);
    EXPECT_EQ(loadData("I003", "JK_Date,SB_Date"), (Row{"<null>", "1990-09-09"}));

    // Export: JK_Date checked on insert, Null for an invalid one on update.
    HeaderTexts exp;
    exp[78] = "E001";
    capture.insertDataLoad_OUT(exp, "2024-03-05", "", "出口报关单", operators("", ""), 0);
    EXPECT_EQ(loadData("E001", "JK_Date,SB_Date,inouttype"), (Row{"1990-09-09", "1990-09-09", "出口报关单"}));
    capture.insertDataLoad_OUT(exp, "2024-03-05", "", "出口报关单", operators("", ""), 0);
    EXPECT_EQ(loadData("E001", "JK_Date"), (Row{"<null>"}));
}

TEST_P(DatabaseCaptureTest, TextsAreStoredAsRead) {
    const std::string longText(255, 'x');
    const std::string key = "O'Neil's 单";
    HeaderTexts h = importHeader(key);
    h[77] = longText;
    h[63] = "它's \"引号\" -- ; drop table LoadData";
    h[4] = "";
    capture.insertDataLoad(h, "2024-03-05", "名'称", "进口报关单", operators("", ""), 1);
    capture.insertDataLoad(h, "2024-03-05", "名'称", "进口报关单", operators("", ""), 1);
    EXPECT_EQ(count(dm, "LoadData"), 1);
    auto r = rows(dm, "select TY_No,YLR_No,JYDW_Name,Remark from LoadData");
    EXPECT_EQ(r, (std::vector<Row>{{key, longText, h[63], ""}}));
    EXPECT_EQ(rows(dm, "select goods from T_fee"), (std::vector<Row>{{"名'称"}}));

    GoodsTexts g;
    g[40] = "1'";
    g[1] = "名'称";
    capture.insertSubdata(g, h, 0);
    capture.insertSubdata(g, h, 0);
    EXPECT_EQ(rows(dm, "select Pid,SP_No,SPMC_Name from subData"), (std::vector<Row>{{key, "1'", "名'称"}}));
}

TEST_P(DatabaseCaptureTest, GoodsLinesInsertThenUpdateInPlace) {
    HeaderTexts h;
    h[78] = "E002";
    auto line = [](const std::string& seq, const std::string& total, const std::string& use) {
        GoodsTexts g;
        g[0] = "8471";
        g[1] = "电脑" + seq;
        g[42] = seq;
        g[26] = total;
        g[2] = use;
        g[8] = "工缴" + seq;
        g[14] = "厂" + seq;
        return g;
    };
    capture.insertSubdata(line("1", "12.50", "自用"), h, 1);
    capture.insertSubdata(line("2", "", "送人"), h, 1);
    capture.insertSubdata(line("1", "abc", "改"), h, 1);
    EXPECT_EQ(rows(dm, "select SP_No,SPBH_No,SPMC_Name,CJZJ,YT,ZM,GJF,SCCJ from subData order by SP_No"),
              (std::vector<Row>{{"1", "8471", "电脑1", "0", "改", "改", "工缴1", "厂1"},
                                {"2", "8471", "电脑2", "0", "送人", "送人", "工缴2", "厂2"}}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"E002 子数据:1 名称:电脑1", "E002 子数据:2 名称:电脑2",
                                                   "E002 子数据:1 名称:电脑1"}));

    HeaderTexts ih;
    ih[79] = "I004";
    GoodsTexts ig;
    ig[40] = "1";
    ig[1] = "茶";
    ig[24] = "12.50";
    capture.insertSubdata(ig, ih, 0);
    capture.insertSubdata(ig, ih, 0);
    EXPECT_EQ(rows(dm, "select CJZJ from subData where Pid='I004'"), (std::vector<Row>{{"12.5"}}));
    EXPECT_EQ(log.lines.at(3), "I004 编号:1 名称:茶");
    EXPECT_EQ(log.lines.at(4), "I004 子数据:1 名称:茶");
}

TEST_P(DatabaseCaptureTest, DeleteAllEmptiesTheFourDeclarationTables) {
    const HeaderTexts h = importHeader("A");
    capture.insertDataLoad(h, "2011-01-01", "货", "进口报关单", operators("123", "张三"), 1);
    GoodsTexts g;
    g[40] = "1";
    g[24] = "1.5";
    capture.insertSubdata(g, h, 0);
    for (const char* t : {"T_fee", "T_fee1", "LoadData", "subData"})
        ASSERT_EQ(count(dm, t), 1) << t;
    ca::db::TADOQuery q(dm);
    q.SetSQL("insert into DEP (id,DEP_name)values(1,'报关部')");
    q.ExecSQL();
    DeleteAllDeclarations(dm);
    for (const char* t : {"T_fee", "T_fee1", "LoadData", "subData"})
        EXPECT_EQ(rows(dm, std::string("select count(*) from ") + t), std::vector<Row>{Row{"0"}}) << t;
    EXPECT_EQ(rows(dm, "select count(*) from DEP"), std::vector<Row>{Row{"1"}});
    EXPECT_EQ(rows(dm, "select count(*) from func_desc"), std::vector<Row>{Row{"24"}});
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseCaptureTest, ca::db::testing::AllEngines(),
                         ca::db::testing::EngineName);

}  // namespace
