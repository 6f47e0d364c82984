#include <gtest/gtest.h>
#include <zip.h>

#include "TestFiles.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/Workbook.h"
#include "ca/spreadsheet/XlsWriter.h"

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

// The XML parser passes bytes through unchecked; they must come out as valid UTF-8 that writes
// and reads back unchanged.
TEST(XlsxReader, InvalidUtf8BecomesReplacementCharacters) {
    const Workbook wb = Workbook::open(fixturePath("bad_utf8.xlsx"));
    EXPECT_EQ(wb.data().sheets[0].name(), "D\uFFFDta");
    EXPECT_EQ(wb.cellText(1, 2), "中\uFFFD文");
    const Workbook again = Workbook::fromBytes(writeXls(wb.data()), "again.xls");
    EXPECT_EQ(again.data().sheets[0].name(), "D\uFFFDta");
    EXPECT_EQ(again.cellText(1, 2), "中\uFFFD文");
}

TEST(XlsxReader, ZipsThatAreNotWorkbooksRaiseAClearError) {
    const std::string good = fixture("mixed.xlsx");
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"zip header only", std::string("PK\x03\x04", 4) + std::string(40, '\0'), "压缩包"},
        {"truncated", good.substr(0, good.size() / 2), "压缩包"},
        {"other zip", fixture("not_a_workbook.xlsx"), "不是 .xlsx 文件"},
    };
    for (const auto& c : cases) {
        try {
            Workbook::fromBytes(c.bytes, "bad.xlsx");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("“bad.xlsx”"), std::string::npos) << e.what();
        }
    }
}

// A small archive whose workbook part unpacks to 300 MB: refused once the reader has unpacked
// what it allows, instead of taking memory without bound.
TEST(XlsxReader, ArchiveThatUnpacksTooFarIsRefused) {
    const auto dir = tempDir("xlsx_bomb");
    const std::string path = (dir / "bomb.xlsx").string();
    zipFile z = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(z, nullptr);
    ASSERT_EQ(
        zipOpenNewFileInZip(z, "xl/workbook.xml", nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9),
        ZIP_OK);
    const std::string head = "<workbook><sheets>";
    zipWriteInFileInZip(z, head.data(), static_cast<unsigned>(head.size()));
    const std::string blanks(1 << 20, ' ');
    for (int i = 0; i < 300; ++i)
        zipWriteInFileInZip(z, blanks.data(), static_cast<unsigned>(blanks.size()));
    zipCloseFileInZip(z);
    zipClose(z, nullptr);
    EXPECT_LT(std::filesystem::file_size(path), 2u << 20);
    try {
        Workbook::open(path);
        ADD_FAILURE() << "no error";
    } catch (const SpreadsheetError& e) {
        EXPECT_NE(std::string(e.what()).find("解压后太大"), std::string::npos) << e.what();
    }
}

// A one-sheet .xlsx whose sheet part is sheetXml, written with minizip.
std::string writeXlsx(const std::string& name, const std::string& sheetXml) {
    const std::string path = (tempDir("xlsx_" + name) / (name + ".xlsx")).string();
    zipFile z = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    EXPECT_NE(z, nullptr);
    const std::pair<const char*, std::string> members[] = {
        {"xl/workbook.xml", "<workbook><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/worksheet\" Target=\"sheet1.xml\"/>"
         "</Relationships>"},
        {"xl/sheet1.xml", sheetXml},
    };
    for (const auto& [member, text] : members) {
        zipOpenNewFileInZip(z, member, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9);
        zipWriteInFileInZip(z, text.data(), static_cast<unsigned>(text.size()));
        zipCloseFileInZip(z);
    }
    zipClose(z, nullptr);
    return path;
}

std::string sheetOf(const std::string& rows) {
    return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
}

std::string repeat(const std::string& piece, size_t n) {
    std::string out;
    out.reserve(piece.size() * n);
    for (size_t i = 0; i < n; ++i)
        out += piece;
    return out;
}

// A small file that declares millions of cells, or millions of other elements, is refused before its
// element tree is built, instead of taking gigabytes and minutes.
TEST(XlsxReader, AFileDeclaringTooManyCellsOrElementsIsRefused) {
    const struct {
        const char* name;
        std::string sheet;
        const char* reason;
    } cases[] = {
        {"cells", sheetOf(repeat("<row>" + repeat("<c/>", 1000) + "</row>", 3000)), "单元格超过 2097152 个"},
        {"elements", sheetOf("<row><c r=\"A1\"><v>1</v></c></row>" + repeat("<x/>", 9'000'000)), "XML 元素"},
    };
    for (const auto& c : cases) {
        const std::string path = writeXlsx(c.name, c.sheet);
        EXPECT_LT(std::filesystem::file_size(path), 1u << 20) << c.name;
        try {
            Workbook::open(path);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

// Cells listed right to left, and a position given twice, come out in column order with the later
// value kept.
TEST(XlsxReader, CellsInAnyOrderAreStoredByPosition) {
    std::string row;
    for (int col = 16384; col >= 1; --col) {
        std::string ref;
        for (int c = col; c > 0; c = (c - 1) / 26)
            ref.insert(ref.begin(), static_cast<char>('A' + (c - 1) % 26));
        row += "<c r=\"" + ref + "2\"><v>" + std::to_string(col) + "</v></c>";
    }
    row += "<c r=\"B2\" t=\"inlineStr\"><is><t>later</t></is></c><c r=\"A1\"/>";
    const Workbook wb = Workbook::open(writeXlsx("order", sheetOf("<row r=\"2\">" + row + "</row>")));
    const Sheet& s = wb.activeSheet();
    EXPECT_EQ(s.lastColumn(), 16384);
    EXPECT_EQ(s.text(2, 1), "1");
    EXPECT_EQ(s.text(2, 2), "later");
    EXPECT_EQ(s.text(2, 16384), "16384");
    EXPECT_EQ(s.cell(1, 1).kind, Cell::Kind::Blank);
    ASSERT_EQ(s.row(2).size(), 16384u);
    for (size_t i = 1; i < s.row(2).size(); ++i)
        ASSERT_LT(s.row(2)[i - 1].column, s.row(2)[i].column);
}

}  // namespace
}  // namespace ca::spreadsheet
