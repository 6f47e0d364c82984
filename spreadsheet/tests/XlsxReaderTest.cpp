#include <gtest/gtest.h>

#include "TestFiles.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::spreadsheet {
namespace {

using namespace test;

TEST(XlsxReader, ReadsEveryValueKindOfTheActiveSheet) {
    const Workbook wb = Workbook::open(fixturePath("mixed.xlsx"));
    ASSERT_EQ(wb.sheetCount(), 2);
    EXPECT_EQ(wb.activeSheet().name(), "报关单");
    const struct {
        int row, col;
        const char* text;
    } cases[] = {
        {1, 1, "plain text"}, {1, 2, "中文文本"},   {1, 3, ""},
        {1, 4, "rich text"},  {2, 1, "42"},         {2, 2, "1.25"},
        {2, 3, "0.3"},        {2, 4, "1E-05"},      {2, 5, ""},
        {4, 1, "3"},          {4, 2, "abcd"},       {4, 3, "TRUE"},
        {4, 4, "#DIV/0!"},    {5, 1, "2011-02-17"}, {5, 2, "2011-02-17 13:45:30"},
        {5, 3, " "},          {6, 1, "7"},          {6, 2, "line\rbreak"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wb.cellText(c.row, c.col), c.text) << c.row << "," << c.col;
}

TEST(XlsxReader, ZipsThatAreNotWorkbooksRaiseAClearError) {
    const std::string good = fixture("mixed.xlsx");
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"zip header only", std::string("PK\x03\x04", 4) + std::string(40, '\0'), "zip"},
        {"truncated", good.substr(0, good.size() / 2), "zip"},
        {"other zip", fixture("not_a_workbook.xlsx"), "no workbook part"},
    };
    for (const auto& c : cases) {
        try {
            Workbook::fromBytes(c.bytes, "bad.xlsx");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("'bad.xlsx'"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace ca::spreadsheet
