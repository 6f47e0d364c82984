#include <gtest/gtest.h>

#include "SampleRows.h"
#include "TestFiles.h"
#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/CompoundFileWriter.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::spreadsheet {
namespace {

using namespace test;

TEST(XlsWriter, WrittenTextReadsBackUnchanged) {
    const auto dir = tempDir("writer_roundtrip");
    const std::string path = (dir / "out.xls").string();
    const TextRows rows = sampleRows();
    saveTextRows(path, "StringGrid1", rows, true);
    const Workbook wb = Workbook::open(path);
    ASSERT_EQ(wb.sheetCount(), 1);
    EXPECT_EQ(wb.activeSheet().name(), "StringGrid1");
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            ASSERT_EQ(wb.cellText(static_cast<int>(r) + 1, static_cast<int>(c) + 1), rows[r][c])
                << r << "," << c;
    // Every written cell is a text cell, also "123"; the empty text leaves a blank cell.
    EXPECT_EQ(wb.activeSheet().cell(2, 2).kind, Cell::Kind::Text);
    EXPECT_EQ(wb.activeSheet().cell(1, 2).kind, Cell::Kind::Blank);
}

TEST(XlsWriter, XlrdReadsTextCellsFormattedAsText) {
    const auto dir = tempDir("writer_xlrd");
    const std::string path = (dir / "out.xls").string();
    const TextRows rows = sampleRows();
    saveTextRows(path, "StringGrid1", rows, true);
    std::string out;
    const int status = runOracle("xlrd_dump.py", path, out);
    if (status == 2) GTEST_SKIP() << "python3-xlrd is not installed (scripts/test installs it)";
    ASSERT_EQ(status, 0) << out;
    std::string expected = "sheet\t0\tStringGrid1\t1\n";
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            expected += std::to_string(r + 1) + "\t" + std::to_string(c + 1) +
                        (rows[r][c].empty() ? "\tblank" : "\ttext") + "\t@\t" + escaped(rows[r][c]) + "\n";
    EXPECT_EQ(out, expected);
}

TEST(XlsWriter, ContainerBeyondHundredNineFatSectorsReadsBack) {
    // 109 FAT sectors cover about 7 MB; a larger stream needs DIFAT sectors.
    std::string stream(9u << 20, '\0');
    for (size_t i = 0; i < stream.size(); ++i)
        stream[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string file = writeCompoundFile("Workbook", stream);
    EXPECT_GT(get32(file, 0x48), 0u) << "no DIFAT sector written";
    const CompoundFile cf(file);
    EXPECT_EQ(cf.stream("Workbook"), stream);

    const auto dir = tempDir("writer_difat");
    const std::string path = (dir / "big.cfb").string();
    writeFile(path, file);
    std::string out;
    const int status = runOracle("compdoc_stream.py", path, out);
    if (status == 2) GTEST_SKIP() << "python3-xlrd is not installed (scripts/test installs it)";
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out.substr(0, out.find(' ')), std::to_string(stream.size()));
}

TEST(XlsWriter, RefusesWhatTheFormatCannotHoldBeforeWritingAnything) {
    const auto dir = tempDir("writer_refuse");
    const std::string path = (dir / "out.xls").string();
    writeFile(path, "old content");
    const struct {
        const char* name;
        std::string sheet;
        TextRows rows;
        const char* reason;
    } cases[] = {
        {"too many rows", "StringGrid1", TextRows(65537, {"x"}), "65536"},
        {"too many columns", "StringGrid1", {std::vector<std::string>(257, "x")}, "256"},
        {"text too long", "StringGrid1", {{std::string(32768, 'x')}}, "32767"},
        {"sheet name too long", std::string(32, 'n'), {{"x"}}, "31"},
        {"sheet name with slash", "a/b", {{"x"}}, "工作表名称“a/b”不能包含"},
    };
    for (const auto& c : cases) {
        try {
            saveTextRows(path, c.sheet, c.rows, true);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << c.name << ": " << e.what();
        }
        EXPECT_EQ(readFile(path), "old content") << c.name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "a temporary file was left";
}

}  // namespace
}  // namespace ca::spreadsheet
