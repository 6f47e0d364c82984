#include <gtest/gtest.h>

#include <functional>

#include "TestFiles.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/Workbook.h"
#include "ca/spreadsheet/XlsWriter.h"

namespace ca::spreadsheet {
namespace {

using namespace test;

TEST(XlsReader, ReadsEveryValueKindOfTheActiveSheet) {
    const Workbook wb = Workbook::open(fixturePath("mixed.xls"));
    ASSERT_EQ(wb.sheetCount(), 2);
    EXPECT_EQ(wb.activeSheet().name(), "报关单");  // the second sheet was saved active
    const struct {
        int row, col;
        const char* text;
    } cases[] = {
        {1, 1, "plain text"},
        {1, 2, "中文文本"},
        {1, 3, ""},
        {1, 4, "after a gap"},
        {2, 1, "42"},
        {2, 2, "1.25"},
        {2, 3, "3.14159265358979"},
        {2, 4, "-7"},
        {2, 5, "1234567890123"},
        {2, 6, "1E-05"},
        {2, 7, "1E+15"},
        {3, 1, "0"},
        {3, 4, "30"},
        {3, 6, "50"},  // one MULRK record
        {4, 1, "3"},
        {4, 2, "abcd"},
        {4, 3, "TRUE"},
        {4, 4, "#DIV/0!"},
        {4, 5, "报关"},
        {5, 1, "2011-02-17"},
        {5, 2, "2011-02-17 13:45:30"},
        {5, 3, "TRUE"},
        {5, 4, "FALSE"},
        {6, 1, " "},
        {8, 21, "far cell"},
        {7, 1, ""},
        {100, 100, ""},
        {0, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wb.cellText(c.row, c.col), c.text) << c.row << "," << c.col;
}

// The same workbook in 4096-byte sectors and in the mini stream reads the same.
TEST(XlsReader, OtherContainerLayoutsReadAlike) {
    const Workbook plain = Workbook::open(fixturePath("mixed.xls"));
    for (const char* name : {"v4_sectors.xls", "mini_stream.xls"}) {
        const Workbook other = Workbook::open(fixturePath(name));
        ASSERT_EQ(other.sheetCount(), 2) << name;
        EXPECT_EQ(other.activeSheet().name(), "报关单") << name;
        for (int r = 1; r <= plain.activeSheet().lastRow(); ++r)
            for (int c = 1; c <= plain.activeSheet().lastColumn(); ++c)
                EXPECT_EQ(other.cellText(r, c), plain.cellText(r, c)) << name << " " << r << "," << c;
    }
}

std::string sstText(int row) {
    if (row % 3 == 0) {
        std::string s = "行" + std::to_string(row) + ":";
        for (int i = 0; i < row % 40; ++i)
            s += "货物名称";
        return s;
    }
    return "row " + std::to_string(row) + " " + std::string(static_cast<size_t>(row * 7 % 90), 'x');
}

TEST(XlsReader, SharedStringsAcrossContinueRecords) {
    const Workbook wb = Workbook::open(fixturePath("sst_continue.xls"));
    for (int r = 0; r < 1500; ++r)
        ASSERT_EQ(wb.cellText(r + 1, 1), sstText(r)) << "row " << r + 1;
    EXPECT_EQ(wb.cellText(1, 2), std::string(9000, 'L'));
    std::string wide;
    for (int i = 0; i < 5000; ++i)
        wide += "长";
    EXPECT_EQ(wb.cellText(2, 2), wide);
}

TEST(XlsReader, Biff5WorkbookInItsCodePage) {
    const Workbook wb = Workbook::open(fixturePath("biff5_gbk.xls"));
    EXPECT_EQ(wb.activeSheet().name(), "进口");
    EXPECT_EQ(wb.cellText(1, 1), "报关单号");
    EXPECT_EQ(wb.cellText(1, 2), "深圳海关");
    EXPECT_EQ(wb.cellText(2, 1), "12.5");
    EXPECT_EQ(wb.cellText(2, 2), "100");
    EXPECT_EQ(wb.cellText(2, 3), "2011-02-17");
}

// --- damaged and unsuitable files ---------------------------------------------------------------

// xlwt lays the workbook stream out from sector 0 and the FAT after it; these helpers find the
// structures through the header so that the patches do not depend on that layout.
size_t sectorOffset(std::uint32_t sector) {
    return 512 + 512 * static_cast<size_t>(sector);
}
size_t fatEntry(const std::string& b, std::uint32_t sector) {
    return sectorOffset(get32(b, 0x4C + 4 * (sector / 128))) + 4 * (sector % 128);
}
size_t dirEntry(const std::string& b, int index) {
    return sectorOffset(get32(b, 0x30)) + 128 * static_cast<size_t>(index);
}

// Calls fn(offset of record header, type) for each record of the workbook stream (at sector 0).
void forEachRecord(std::string& b, const std::function<void(size_t, std::uint16_t)>& fn) {
    const size_t end = 512 + get32(b, dirEntry(b, 1) + 0x78);
    for (size_t at = 512; at + 4 <= end;) {
        const std::uint16_t type = get16(b, at), len = get16(b, at + 2);
        fn(at, type);
        at += 4 + len;
    }
}

TEST(XlsReader, DamagedOrUnsuitableFilesRaiseAClearError) {
    const std::string good = fixture("mixed.xls");
    const struct {
        const char* name;
        std::function<std::string()> bytes;
        const char* reason;
    } cases[] = {
        {"empty", [] { return std::string(); }, "文件是空的"},
        {"text", [] { return std::string("row1\tcol2\n"); }, "不是电子表格文件"},
        {"header only", [&] { return good.substr(0, 300); }, "文件头被截断"},
        {"truncated", [&] { return good.substr(0, 2048); }, "文件之外"},
        {"sector size",
         [&] {
             auto b = good;
             put16(b, 0x1E, 10);
             return b;
         },
         "扇区大小"},
        {"directory chain loops",
         [&] {
             auto b = good;
             const auto d = get32(b, 0x30);
             put32(b, fatEntry(b, d), d);
             return b;
         },
         "成环"},
        {"chain points outside",
         [&] {
             auto b = good;
             put32(b, fatEntry(b, get32(b, 0x30)), 0x00FFFFFF);
             return b;
         },
         "文件之外"},
        {"huge stream size",
         [&] {
             auto b = good;
             put32(b, dirEntry(b, 1) + 0x78, 0x7FFFFFF0);
             return b;
         },
         "比文件还大"},
        {"many FAT sectors",
         [&] {
             auto b = good;
             put32(b, 0x2C, 0x10000000);
             return b;
         },
         "分配表扇区"},
        {"no workbook stream",
         [&] {
             auto b = good;
             put16(b, dirEntry(b, 1), 'X');
             return b;
         },
         "没有工作簿数据"},
        {"encrypted",
         [&] {
             auto b = good;
             bool done = false;
             forEachRecord(b, [&](size_t at, std::uint16_t type) {
                 if (!done && type == 0x0042) put16(b, at, 0x002F), done = true;  // CODEPAGE -> FILEPASS
             });
             return b;
         },
         "已加密"},
        {"no sheets",
         [&] {
             auto b = good;
             forEachRecord(b, [&](size_t at, std::uint16_t type) {
                 if (type == 0x0085) put16(b, at, 0x0099);  // BOUNDSHEET -> an unknown record
             });
             return b;
         },
         "没有工作表"},
        {"sheet offset outside",
         [&] {
             auto b = good;
             forEachRecord(b, [&](size_t at, std::uint16_t type) {
                 if (type == 0x0085) put32(b, at + 4, 0x7FFFFFFF);
             });
             return b;
         },
         "不在工作簿数据之内"},
        {"old BIFF version",
         [&] {
             auto b = good;
             put16(b, 512 + 4, 0x0400);
             return b;
         },
         "不支持的工作簿版本"},
    };
    for (const auto& c : cases) {
        try {
            Workbook::fromBytes(c.bytes(), "bad.xls");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find("“bad.xls”"), std::string::npos) << c.name << ": " << msg;
            EXPECT_NE(msg.find(c.reason), std::string::npos) << c.name << ": " << msg;
        }
    }
}

// Inputs the fuzzer found troublesome: each must read or fail with a SpreadsheetError, and what
// reads must write again (or be refused with a FormatError).
TEST(XlsReader, FuzzFindingsReadOrFailCleanly) {
    for (const auto& entry : std::filesystem::directory_iterator(fixturePath("fuzz"))) {
        try {
            const Workbook wb = Workbook::fromBytes(readFile(entry.path().string()), "found.xls");
            writeXls(wb.data());
        } catch (const SpreadsheetError&) {
        } catch (const FormatError&) {
        }
    }
}

TEST(XlsReader, MissingFileAndEmptySheetNameTheFile) {
    const auto dir = tempDir("reader");
    const std::string missing = (dir / "none.xls").string();
    try {
        Workbook::open(missing);
        ADD_FAILURE() << "no error";
    } catch (const SpreadsheetError& e) {
        EXPECT_EQ(std::string(e.what()), "无法打开“" + missing + "”：文件或文件夹不存在");
    }
    // A sheet without cells opens, but reading a declaration from it fails.
    Workbook blank = Workbook::add();
    EXPECT_THROW(blank.cellText(1, 1), SpreadsheetError);
}

}  // namespace
}  // namespace ca::spreadsheet
