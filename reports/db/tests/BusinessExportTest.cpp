// Both business data commands on a small database, written to files and read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ReportsDbFixture.h"
#include "ca/db/DbError.h"
#include "ca/reports/BusinessData.h"
#include "ca/reports/BusinessExport.h"
#include "ca/spreadsheet/FileIo.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::reports {
namespace {

using testing::TempDir;
using Row = std::vector<std::string>;

class BusinessExport : public testing::ReportsFixture {
protected:
    ExportResult run(BusinessList list, const BusinessFilter& f = {}) {
        return runBusinessExport(dm, prompts, f, list, table, [this](bool on) { cursor.push_back(on); });
    }

    // Cells 1-19 of the sheet rows of a written file, empty cells as "".
    static std::vector<Row> sheetRows(const std::string& path, int columns = 19) {
        const auto book = spreadsheet::Workbook::open(path);
        const auto& sheet = book.data().sheets.at(0);
        EXPECT_EQ(sheet.name(), "StringGrid1");
        std::vector<Row> out;
        for (int r = 1; r <= sheet.lastRow(); ++r) {
            Row row;
            for (int c = 1; c <= columns; ++c)
                row.push_back(sheet.text(r, c));
            out.push_back(row);
        }
        return out;
    }

    // The unified numbers (serial part) listed by a command, in order.
    std::vector<std::string> listed(BusinessList list, const BusinessFilter& f) {
        const ExportTable t = businessRows(dm, f, list);
        const size_t column = list == BusinessList::WithGoods ? 16 : 4;  // 统一编号 / 海关编号
        std::vector<std::string> out;
        for (size_t r = 1; r < t.rows().size(); ++r)
            out.push_back(t.rows()[r][column].substr(9));
        return out;
    }

    ScriptedPrompts prompts;
    ExportTable table;
    std::vector<bool> cursor;
    TempDir dir;
};

const Row kWithGoodsHeadings = {"序号",       "",         "电话号码", "经营单位名称", "商品名称",
                                "提运单号",   "海关编号", "件数",     "重量",         "日期",
                                "码头与柜数", "合同号",   "批准文号", "页数",         "方式",
                                "成交总价",   "统一编号", "生产厂家", "进出口类型"};

TEST_P(BusinessExport, WithGoodsWritesHeadingsAndOneRowPerDeclaration) {
    const std::string path = dir.file("一月.xls");
    prompts.answerSave(path);
    const ExportResult r = run(BusinessList::WithGoods);
    EXPECT_EQ(r.outcome, ExportOutcome::Written);
    EXPECT_FALSE(r.appended);
    EXPECT_EQ(cursor, (std::vector<bool>{true, false, true, false}));
    EXPECT_TRUE(prompts.texts("warning").empty());

    // A (5 lines, "@", total 50) and B (6 lines, total 9), ordered by telephone.
    const std::vector<Row> expected = {
        kWithGoodsHeadings,
        {"1", " ", "111", "公司A", "货1", "TD-000000001", "520100000000000001", "3", "12.5", "2011-01-05",
         " ", "HT", " ", "0", "蛇口", "50", "520120111000000001", "厂B", "进口报关单"},
        {"2", " ", "222", "O'Neil公司", "货1", "TD-000000002", "520100000000000002", "3", "12.5",
         "2011-01-31", " ", "HT", " ", "1", "国转", "9", "520120111000000002", "厂B", "出口报关单"},
    };
    EXPECT_EQ(sheetRows(path), expected);
    EXPECT_EQ(sheetRows(path, 31)[1][30], "");  // columns past the list stay empty
}

// The name and maker of a declaration come from its lowest-numbered line, on every engine: lines
// stored as "10" then "2" give line 2 (neither the storage order nor the text order of the numbers).
TEST_P(BusinessExport, FirstGoodsLineIsTheLowestNumbered) {
    testing::Declaration g;
    g.tyNo = "520120111000000077";
    g.kind = "进口报关单";
    g.sbDate = g.indate = "2011-01-20";
    testing::addDeclaration(dm, g);
    db::TADOQuery q(dm);
    for (const char* line : {"10", "2"}) {
        q.SetSQL("insert into subData(Pid,SP_No,SPMC_Name,SCCJ) values (:Pid,:SP_No,:Name,:Maker)");
        q.ParamByName("Pid").SetText(g.tyNo);
        q.ParamByName("SP_No").SetText(line);
        q.ParamByName("Name").SetText(std::string("货") + line);
        q.ParamByName("Maker").SetText(std::string("厂") + line);
        q.ExecSQL();
    }
    for (BusinessList list : {BusinessList::WithGoods, BusinessList::NonGeneralTrade}) {
        q.SetSQL(businessGoodsStatement(g.tyNo, list));
        q.Open();
        EXPECT_EQ(q.FieldByName("spmc_name").AsString(), "货2");
        if (list == BusinessList::WithGoods) {
            EXPECT_EQ(q.FieldByName("SCCJ").AsString(), "厂2");
        }
    }
}

TEST_P(BusinessExport, ManufacturerFilterLimitsOnlyTheTotal) {
    BusinessFilter f;
    f.maker = "厂A";
    const ExportTable t = businessRows(dm, f, BusinessList::WithGoods);
    ASSERT_EQ(t.declarationCount(), 1);
    const Row& a = t.rows()[1];
    EXPECT_EQ(a[15], "30");  // lines 3-5 only
    EXPECT_EQ(a[4], "货1");  // goods name, maker and page count from all lines
    EXPECT_EQ(a[17], "厂B");
    EXPECT_EQ(a[13], "0");
}

TEST_P(BusinessExport, FilterSelectsTheDeclarations) {
    struct Case {
        const char* name;
        BusinessList list;
        void (*set)(BusinessFilter&);
        std::vector<std::string> serials;
    };
    const Case cases[] = {
        {"month: goods lines, customs office 5201",
         BusinessList::WithGoods,
         [](BusinessFilter&) {},
         {"000000001", "000000002"}},
        {"range includes its last day",
         BusinessList::WithGoods,
         [](BusinessFilter& f) {
             f.useRange = true;
             f.from = {2011, 1, 6};
             f.to = {2011, 1, 31};
         },
         {"000000002"}},
        {"range ends before the next day",
         BusinessList::WithGoods,
         [](BusinessFilter& f) {
             f.useRange = true;
             f.from = {2011, 1, 1};
             f.to = {2011, 2, 1};
             f.kind = "出口和转关";
         },
         {"000000003", "000000002"}},
        {"both export kinds, no imports",
         BusinessList::NonGeneralTrade,
         [](BusinessFilter& f) {
             f.kind = "出口和转关";
             f.customsCode.clear();
         },
         {"000000002", "000000004"}},
        {"one kind",
         BusinessList::WithGoods,
         [](BusinessFilter& f) { f.kind = "进口报关单"; },
         {"000000001"}},
        {"two telephone numbers",
         BusinessList::WithGoods,
         [](BusinessFilter& f) {
             f.phones = "222,555";
             f.customsCode.clear();
         },
         {"000000002", "000000006"}},
        {"vehicle part", BusinessList::WithGoods, [](BusinessFilter& f) { f.vehicle = "@"; }, {"000000001"}},
        {"vehicle wildcard",
         BusinessList::WithGoods,
         [](BusinessFilter& f) { f.vehicle = "船_1"; },
         {"000000001"}},
        {"company code and clerk",
         BusinessList::WithGoods,
         [](BusinessFilter& f) {
             f.unitCode = "5201980001";
             f.clerk = "张三";
         },
         {"000000001", "000000002"}},
        {"apostrophe matched literally",
         BusinessList::WithGoods,
         [](BusinessFilter& f) { f.clerk = "O'Neil"; },
         {}},
        {"non-general trade: numbered, not general trade, by entry date",
         BusinessList::NonGeneralTrade,
         [](BusinessFilter&) {},
         {"000000002", "000000004"}},
    };
    for (const auto& c : cases) {
        BusinessFilter f;
        c.set(f);
        std::vector<std::string> got = listed(c.list, f);
        if (c.list == BusinessList::NonGeneralTrade) std::sort(got.begin(), got.end());
        auto want = c.serials;
        if (c.list == BusinessList::NonGeneralTrade) std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << c.name;
    }
}

TEST_P(BusinessExport, RangesEndingOnTheLastDayOfYear9999FindItsDeclarations) {
    // The day after 9999-12-31 has a five-digit year; as text it sorts before every date.
    auto last = testing::Declaration{};
    last.tyNo = "520199999000000009";
    last.kind = "进口报关单";
    last.sbDate = last.indate = "9999-12-31";
    last.jgfs = "来料加工";
    testing::addDeclaration(dm, last, testing::goodsLines(1, "厂Z", "1"));
    BusinessFilter range;
    range.useRange = true;
    range.from = {9999, 12, 1};
    range.to = {9999, 12, 31};
    BusinessFilter month;
    month.year = "9999";
    month.month = "12";
    for (const auto list : {BusinessList::WithGoods, BusinessList::NonGeneralTrade}) {
        EXPECT_EQ(listed(list, range), std::vector<std::string>{"000000009"});
        EXPECT_EQ(listed(list, month), std::vector<std::string>{"000000009"});
    }
    range.to = {9999, 12, 30};  // still a day too early
    EXPECT_TRUE(listed(BusinessList::WithGoods, range).empty());
}

TEST_P(BusinessExport, NonGeneralTradeRows) {
    BusinessFilter f;
    f.kind = "出口报关单";
    const ExportTable t = businessRows(dm, f, BusinessList::NonGeneralTrade);
    ASSERT_EQ(t.declarationCount(), 2);
    EXPECT_EQ(t.rows()[0], (Row{"序号",
                                "经营单位名称",
                                "商品名称",
                                "提运单号",
                                "海关编号",
                                "件数",
                                "重量",
                                "日期",
                                "码头与柜数",
                                "合同号",
                                "批准文号",
                                "页数",
                                "方式",
                                "成交总价",
                                "进出口类型",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                "",
                                ""}));
    for (size_t r = 1; r <= 2; ++r) {
        const Row& row = t.rows()[r];
        if (row[4].ends_with("4")) {  // D: no goods lines, 7 listed
            EXPECT_EQ(Row(row.begin(), row.begin() + 15),
                      (Row{row[0], "公司D", " ", "TD-000000004", "520100000000000004", "3", "12.5",
                           "2011-01-10", " ", "HT", " ", "1", "国转", " ", "出口报关单"}));
        } else {
            EXPECT_EQ(row[2], "货1");
            EXPECT_EQ(row[11], "1");  // 6 lines
            EXPECT_EQ(row[13], " ");
        }
    }
}

TEST_P(BusinessExport, SecondCommandReplacesTheTableAndNoMatchKeepsIt) {
    prompts.answerSave(dir.file("a.xls"));
    run(BusinessList::WithGoods);
    ASSERT_EQ(table.rows().size(), 3u);

    BusinessFilter nothing;
    nothing.year = "2030";
    EXPECT_EQ(run(BusinessList::NonGeneralTrade, nothing).outcome, ExportOutcome::NoMatch);
    EXPECT_EQ(prompts.texts("warning"), (std::vector<std::string>{"查不到符合条件的数据！"}));
    EXPECT_EQ(table.rows().size(), 3u);
    EXPECT_EQ(table.rows()[0][1], "");

    BusinessFilter one;
    one.kind = "进口报关单";
    prompts.answerSave(dir.file("b.xls"));
    run(BusinessList::NonGeneralTrade, {});  // two rows, 15 columns
    prompts.answerSave(dir.file("c.xls"));
    run(BusinessList::WithGoods, one);  // one row after a larger result
    ASSERT_EQ(table.rows().size(), 2u);
    EXPECT_EQ(table.rows()[0][1], "");
    EXPECT_EQ(sheetRows(dir.file("c.xls"), 31).size(), 2u);
    EXPECT_EQ(sheetRows(dir.file("b.xls"), 31).size(), 3u);
    EXPECT_EQ(sheetRows(dir.file("b.xls"))[0][1], "经营单位名称");
}

TEST_P(BusinessExport, WithGoodsAppendsBelowOneEmptyRow) {
    const std::string path = dir.file("累计.xls");
    prompts.answerSave(path);
    run(BusinessList::WithGoods);
    const auto before = sheetRows(path);

    BusinessFilter one;
    one.kind = "进口报关单";
    prompts.answerSave(path);
    const ExportResult r = run(BusinessList::WithGoods, one);
    EXPECT_EQ(r.outcome, ExportOutcome::Written);
    EXPECT_TRUE(r.appended);
    EXPECT_TRUE(prompts.texts("question").empty());

    const auto after = sheetRows(path);
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(std::vector<Row>(after.begin(), after.begin() + 3), before);
    EXPECT_EQ(after[3], Row(19, ""));
    EXPECT_EQ(after[4], kWithGoodsHeadings);
    EXPECT_EQ(after[5][16], "520120111000000001");
}

TEST_P(BusinessExport, NothingWrittenWhenCancelledOrRefused) {
    run(BusinessList::WithGoods);  // no answer: the dialog is cancelled
    EXPECT_EQ(prompts.texts("save").size(), 1u);
    EXPECT_TRUE(prompts.texts("warning").empty());
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));

    const std::string xlsx = dir.file("旧.xlsx");
    prompts.answerSave(xlsx);
    EXPECT_EQ(run(BusinessList::WithGoods).outcome, ExportOutcome::Refused);
    EXPECT_FALSE(std::filesystem::exists(xlsx));
    ASSERT_EQ(prompts.texts("warning").size(), 1u);
    EXPECT_NE(prompts.texts("warning")[0].find(".xlsx"), std::string::npos);
}

TEST_P(BusinessExport, FailedWriteLeavesTheFileAsItWas) {
    struct Case {
        const char* name;
        BusinessList list;
        const char* existing;  // bytes of an existing file, or nullptr
        std::string path;
        const char* cause;  // in the warning after "导出时出错！" (nullptr: the words alone)
    };
    const std::string garbage = "not a workbook at all";
    const Case cases[] = {
        {"append to a file that is no workbook", BusinessList::WithGoods, garbage.c_str(),
         dir.file("bad.xls"), "bad.xls"},
        {"replace declined", BusinessList::NonGeneralTrade, garbage.c_str(), dir.file("keep.xls"), nullptr},
        {"folder missing", BusinessList::WithGoods, nullptr, dir.file("missing/x.xls"), "不存在"},
    };
    long files = 0;
    for (const auto& c : cases) {
        prompts.clear();
        files += c.existing != nullptr;
        if (c.existing) std::ofstream(c.path, std::ios::binary) << c.existing;
        prompts.answerSave(c.path);
        prompts.answerQuestion(Button::No);  // asked only before replacing a file with a new one
        EXPECT_EQ(run(c.list).outcome, ExportOutcome::Failed) << c.name;
        const std::vector<std::string> warnings = prompts.texts("warning");
        ASSERT_EQ(warnings.size(), 1u) << c.name;
        if (!c.cause)
            EXPECT_EQ(warnings[0], "导出时出错！") << c.name;
        else
            EXPECT_TRUE(warnings[0].starts_with("导出时出错！\n") &&
                        warnings[0].find(c.cause) != std::string::npos)
                << c.name << ": " << warnings[0];
        if (c.existing)
            EXPECT_TRUE(spreadsheet::readWholeFile(c.path) == garbage) << c.name;
        else
            EXPECT_FALSE(std::filesystem::exists(c.path)) << c.name;
        EXPECT_EQ(cursor.back(), false) << c.name;
        // No temporary file is left behind.
        const auto entries = std::filesystem::directory_iterator(dir.file(""));
        EXPECT_EQ(std::distance(begin(entries), end(entries)), files) << c.name;
    }
}

TEST_P(BusinessExport, NonGeneralTradeReplacesAnExistingFileWhenAskedYes) {
    const std::string path = dir.file("x.xls");
    std::ofstream(path) << "old";
    prompts.answerSave(path);
    prompts.answerQuestion(Button::Yes);
    EXPECT_EQ(run(BusinessList::NonGeneralTrade).outcome, ExportOutcome::Written);
    EXPECT_EQ(prompts.texts("question"), (std::vector<std::string>{replaceQuestion(path)}));
    EXPECT_EQ(sheetRows(path).size(), 3u);
}

TEST_P(BusinessExport, DatabaseErrorEndsTheCommandWithTheCursorLifted) {
    db::TDM broken(dir.file("missing-folder/DB.sqlite"));
    EXPECT_THROW(runBusinessExport(broken, prompts, {}, BusinessList::WithGoods, table,
                                   [this](bool on) { cursor.push_back(on); }),
                 db::DbError);
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_P(BusinessExport, MoreDeclarationsThanASheetHoldsAreRefusedBeforeTheDialog) {
    dm.ADOConnection1.execRaw(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65535) "
        "INSERT INTO LoadData(TY_No, HG_No, indate, JGFS) "
        "SELECT 'X' || i, '5201' || i, '2011-01-15', '进料加工' FROM n");
    EXPECT_EQ(run(BusinessList::NonGeneralTrade).outcome, ExportOutcome::TooLarge);  // 65,537 with B and D
    EXPECT_TRUE(prompts.texts("save").empty());
    ASSERT_EQ(prompts.texts("warning").size(), 1u);
    EXPECT_NE(prompts.texts("warning")[0].find("65537"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines, BusinessExport, db::testing::AllEngines(), db::testing::EngineName);

}  // namespace
}  // namespace ca::reports
