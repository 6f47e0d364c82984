// Rows of the business lists: derived values, column sources and the export table's cells.
#include <gtest/gtest.h>

#include <map>

#include "ca/reports/BusinessColumns.h"
#include "ca/reports/CellText.h"
#include "ca/reports/DateText.h"
#include "ca/reports/ExportTable.h"

namespace ca::reports {
namespace {

TEST(BusinessRows, PageCountAndPortMode) {
    const std::pair<int, int> pages[] = {{1, 0}, {5, 0}, {6, 1}, {10, 1}, {11, 2}};
    for (auto [lines, count] : pages)
        EXPECT_EQ(pageCount(lines), count) << lines;

    const GoodsSummary none, six{6, "a", "b"};
    EXPECT_EQ(pageCountText(BusinessList::WithGoods, six, ""), "1");
    EXPECT_EQ(pageCountText(BusinessList::WithGoods, none, "12"), "");
    EXPECT_EQ(pageCountText(BusinessList::NonGeneralTrade, none, "12"), "2");
    EXPECT_EQ(pageCountText(BusinessList::NonGeneralTrade, none, "0"), "");
    EXPECT_EQ(pageCountText(BusinessList::NonGeneralTrade, none, ""), "");
    EXPECT_EQ(pageCountText(BusinessList::NonGeneralTrade, six, "40"), "1");  // lines counted win

    EXPECT_EQ(portMode("粤海@3"), "蛇口");
    EXPECT_EQ(portMode("@"), "蛇口");
    EXPECT_EQ(portMode("粤海3"), "国转");
    EXPECT_EQ(portMode(""), "国转");
}

TEST(BusinessRows, RowOfEachList) {
    std::map<std::string, std::string> record = {
        {"phone", "111"},
        {"jydw_name", "公司"},
        {"tiyun_no", "TD"},
        {"HG_no", "520120111"},
        {"JIANSHU", "3"},
        {"jingzhong", "12.5"},
        {"SB_DATE", "2011-01-05 00:00:00"},
        {"indate", "2011-01-06 08:30:00"},
        {"remark", ""},
        {"HT_NO", "HT"},
        {"PZ_No", ""},
        {"YSGJ", "船@1"},
        {"ZJ", "300.5"},
        {"ty_no", "TY1"},
        {"inouttype", "出口报关单"},
        {"spxs", "9"},
    };
    const auto field = [&](std::string_view name) { return record.at(std::string(name)); };
    const GoodsSummary goods{6, "钢材", "厂A"};
    EXPECT_EQ(businessRow(BusinessList::WithGoods, 7, field, goods),
              (std::vector<std::string>{"7", "", "111", "公司", "钢材", "TD", "520120111", "3", "12.5",
                                        "2011-01-05", "", "HT", "", "1", "蛇口", "300.5", "TY1", "厂A",
                                        "出口报关单"}));
    EXPECT_EQ(businessRow(BusinessList::NonGeneralTrade, 1, field, GoodsSummary{}),
              (std::vector<std::string>{"1", "公司", "", "TD", "520120111", "3", "12.5",
                                        "2011-01-06 08:30:00", "", "HT", "", "1", "蛇口", "", "出口报关单"}));
}

TEST(BusinessRows, ExportTableCells) {
    std::vector<std::string> headings;
    for (const auto& c : businessColumns(BusinessList::WithGoods))
        headings.emplace_back(c.heading);
    ExportTable t(headings);
    t.addRow({"1", "", "111"});
    ASSERT_EQ(t.rows().size(), 2u);
    EXPECT_EQ(t.declarationCount(), 1);
    for (const auto& row : t.rows())
        EXPECT_EQ(row.size(), 31u);
    EXPECT_EQ(t.rows()[0][0], "序号");
    EXPECT_EQ(t.rows()[0][1], "");  // the second heading is truly empty
    EXPECT_EQ(t.rows()[0][18], "进出口类型");
    EXPECT_EQ(t.rows()[1][1], " ");  // an empty data cell holds one blank
    EXPECT_EQ(t.rows()[1][2], "111");
    EXPECT_EQ(t.rows()[1][19], "");  // beyond the list's columns nothing is written
    EXPECT_TRUE(ExportTable().empty());
}

TEST(CellText, DatesWithoutMidnight) {
    EXPECT_EQ(cellText("2011-01-05 00:00:00", CellKind::Date), "2011-01-05");
    EXPECT_EQ(cellText("2011-01-05 00:00:01", CellKind::Date), "2011-01-05 00:00:01");
    EXPECT_EQ(cellText("2011-01-05", CellKind::Date), "2011-01-05");
    EXPECT_EQ(cellText("x 00:00:00", CellKind::Text), "x 00:00:00");
    EXPECT_EQ(dataCell(""), " ");
    EXPECT_EQ(dataCell("a"), "a");
}

TEST(DateText, NextDayOverMonthAndYearEnds) {
    EXPECT_EQ(dateText(nextDay({2011, 2, 17})), "2011-02-18");
    EXPECT_EQ(dateText(nextDay({2011, 2, 28})), "2011-03-01");
    EXPECT_EQ(dateText(nextDay({2012, 2, 28})), "2012-02-29");
    EXPECT_EQ(dateText(nextDay({2011, 12, 31})), "2012-01-01");
    EXPECT_EQ(dateText({987, 1, 2}), "0987-01-02");
}

}  // namespace
}  // namespace ca::reports
