#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "ca/spreadsheet/Excel.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::spreadsheet {
namespace {

using namespace test;

TEST(Append, BlockGoesBelowOneEmptyRowAndOldRowsStay) {
    const auto dir = tempDir("append_rows");
    const std::string path = (dir / "list.xls").string();
    saveTextRows(path, "StringGrid1", {{"电话", "", "经营单位"}, {"1", " ", "甲公司"}, {"2", " ", "乙公司"}},
                 false);
    appendTextRows(path, {{"电话", "", "经营单位"}, {"3", " ", "丙公司"}});
    appendTextRows(path, {{"电话"}});
    const Workbook wb = Workbook::open(path);
    const char* expected[][3] = {
        {"电话", "", "经营单位"}, {"1", " ", "甲公司"}, {"2", " ", "乙公司"}, {"", "", ""},
        {"电话", "", "经营单位"}, {"3", " ", "丙公司"}, {"", "", ""},         {"电话", "", ""},
    };
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(wb.cellText(r + 1, c + 1), expected[r][c]) << r + 1 << "," << c + 1;
    EXPECT_EQ(wb.activeSheet().lastRow(), 8);
    std::string out;
    if (runOracle("xlrd_dump.py", path, out) == 0) {
        EXPECT_NE(out.find("6\t3\ttext\t@\t丙公司\n"), std::string::npos) << out;
    }
}

TEST(Append, OtherSheetsAndValuesAreKept) {
    // mixed.xls: first sheet "Data" with one row, second sheet active with numbers, dates,
    // booleans, formulas and an error.
    const auto dir = tempDir("append_keep");
    const std::string path = (dir / "mixed.xls").string();
    std::filesystem::copy_file(fixturePath("mixed.xls"), path);
    const Workbook before = Workbook::open(path);
    appendTextRows(path, {{"new"}});
    const Workbook after = Workbook::open(path);
    ASSERT_EQ(after.sheetCount(), 2);
    EXPECT_EQ(after.activeSheet().name(), "报关单");
    EXPECT_EQ(after.data().sheets[0].text(1, 1), "first sheet");
    EXPECT_EQ(after.data().sheets[0].text(3, 1), "new");
    const Sheet& a = before.data().sheets[1];
    const Sheet& b = after.data().sheets[1];
    ASSERT_EQ(a.lastRow(), b.lastRow());
    for (int r = 1; r <= a.lastRow(); ++r) {
        for (int c = 1; c <= a.lastColumn(); ++c) {
            EXPECT_EQ(b.text(r, c), a.text(r, c)) << r << "," << c;
            if (a.cell(r, c).kind != Cell::Kind::Blank) {
                EXPECT_EQ(b.cell(r, c).kind, a.cell(r, c).kind) << r << "," << c;
            }
        }
    }
}

TEST(Append, FailureLeavesTheFileAsItWas) {
    const auto dir = tempDir("append_fail");
    const std::string full = (dir / "full.xls").string();
    saveTextRows(full, "StringGrid1", TextRows(65530, {"x"}), false);
    const std::string damaged = (dir / "damaged.xls").string();
    writeFile(damaged, fixture("mixed.xls").substr(0, 3000));
    const std::string xlsx = (dir / "book.xlsx").string();
    std::filesystem::copy_file(fixturePath("mixed.xlsx"), xlsx);
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {full, "65536"},
        {damaged, "已损坏"},
        {xlsx, "只能追加到 .xls"},
        {(dir / "missing.xls").string(), "无法打开"},
    };
    for (const auto& c : cases) {
        const std::string before = readFile(c.path);
        try {
            appendTextRows(c.path, TextRows(10, {"new"}));
            ADD_FAILURE() << c.path << ": no error";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
        }
        EXPECT_EQ(readFile(c.path), before) << c.path;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3) << "a temporary file was left";
}

TEST(ExcelFacade, ExportSequenceAndItsGuards) {
    const auto dir = tempDir("facade");
    const std::string path = (dir / "fees.xls").string();
    {
        excel::Application app;
        auto& book = app.WorkBooks().Add();
        app.SheetsInNewWorkbook = 1;
        book.WorkSheets(1).Name("StringGrid1");
        auto sheet = book.WorkSheets("StringGrid1");
        sheet.Cells(1, 1).NumberFormatLocal("@");
        sheet.Cells(1, 1) = "0012";
        sheet.Cells(2, 3).NumberFormatLocal("@");  // formatted, never filled
        EXPECT_THROW(sheet.Cells(1, 2).NumberFormatLocal("0.00"), SpreadsheetError);
        book.SaveAs(path);
        app.Quit();
        EXPECT_THROW(app.WorkBooks(), SpreadsheetError);
    }
    {
        excel::Application app;
        auto& book = app.WorkBooks().Open(path);
        EXPECT_EQ(book.Cells(1, 1).Value(), "0012");
        EXPECT_EQ(book.WorkSheets(1).UsedRangeRowsCount(), 2);
        book.Cells(1, 1) = "changed";
        // With alerts on, an existing file is replaced only when the question is answered yes.
        EXPECT_THROW(book.SaveAs(path), SpreadsheetError);
        EXPECT_EQ(Workbook::open(path).cellText(1, 1), "0012");
        app.confirmReplace = [](const std::string&) { return true; };
        book.SaveAs(path);
        EXPECT_EQ(Workbook::open(path).cellText(1, 1), "changed");
        app.Quit();
    }
    std::string out;
    if (runOracle("xlrd_dump.py", path, out) == 0) {
        EXPECT_EQ(out, "sheet\t0\tStringGrid1\t1\n1\t1\ttext\t@\tchanged\n2\t3\tblank\t@\t\n");
    }
}

}  // namespace
}  // namespace ca::spreadsheet
