#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

// Workbooks made by LibreOffice with 43 rows of data and, on empty cells below them, an empty merged
// range (A48:D49), a comment (F50) or a drawn rectangle anchored to B52:D58: none writes a cell
// record there, and the block still goes below it, one empty row between.
TEST(Append, BlockGoesBelowMergedRangesCommentsAndDrawnObjects) {
    const auto dir = tempDir("append_objects");
    const struct {
        const char* fixture;
        int lowestRow;  // 1-based
    } cases[] = {{"office_merged.xls", 49}, {"office_comment.xls", 50}, {"office_shape.xls", 58}};
    for (const auto& c : cases) {
        const std::string path = (dir / c.fixture).string();
        std::filesystem::copy_file(fixturePath(c.fixture), path,
                                   std::filesystem::copy_options::overwrite_existing);
        appendTextRows(path, {{"新一", "新二"}});
        const Workbook wb = Workbook::open(path);
        EXPECT_EQ(wb.cellText(43, 4), "43-D") << c.fixture;
        for (int r = 44; r <= c.lowestRow + 1; ++r)
            EXPECT_EQ(wb.cellText(r, 1), "") << c.fixture << " row " << r;
        EXPECT_EQ(wb.cellText(c.lowestRow + 2, 1), "新一") << c.fixture;
        EXPECT_EQ(wb.cellText(c.lowestRow + 2, 2), "新二") << c.fixture;
    }
}

// LibreOffice encrypts a workbook whose structure is protected although it has no open password:
// the refusal says that it is the structure protection and how to lift it, and the file stays.
TEST(Append, StructureProtectionIsNamed) {
    const auto dir = tempDir("append_protected");
    const std::string path = (dir / "protected.xls").string();
    std::filesystem::copy_file(fixturePath("office_protected.xls"), path,
                               std::filesystem::copy_options::overwrite_existing);
    for (const bool append : {true, false}) {
        try {
            if (append)
                appendTextRows(path, {{"x"}});
            else
                (void)Workbook::open(path);
            ADD_FAILURE() << "accepted, append " << append;
        } catch (const SpreadsheetError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("保护工作簿结构"), std::string::npos) << text;
            EXPECT_EQ(text.find("打开密码）"), std::string::npos) << text;
        }
    }
    EXPECT_EQ(readFile(path), fixture("office_protected.xls"));
}

// A workbook another program has open for changing is left alone: LibreOffice's lock file beside
// it, or (POSIX) a lock another process holds on it.
TEST(Append, RefusedWhileAnotherProgramHoldsTheFile) {
    const auto dir = tempDir("append_in_use");
    const std::string path = (dir / "list.xls").string();
    saveTextRows(path, "StringGrid1", {{"old"}}, false);
    const std::string before = readFile(path);
    auto expectRefused = [&](const char* how) {
        try {
            appendTextRows(path, {{"new"}});
            ADD_FAILURE() << how << ": appended";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find("文件正被其他程序使用"), std::string::npos)
                << how << ": " << e.what();
        }
        EXPECT_EQ(readFile(path), before) << how;
    };
    writeFile((dir / ".~lock.list.xls#").string(),
              ",someone,host,01.01.2026 10:00,file:///home/someone/.config;");
    expectRefused("lock file");
    std::filesystem::remove(dir / ".~lock.list.xls#");
#ifndef _WIN32
    for (const bool posixLock : {true, false}) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t holder = fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            const int fd = ::open(path.c_str(), O_RDWR);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            const bool locked = posixLock ? fcntl(fd, F_SETLK, &lock) == 0 : flock(fd, LOCK_EX) == 0;
            (void)!write(ready[1], locked ? "1" : "0", 1);
            pause();
            _exit(0);
        }
        char answer = 0;
        ASSERT_EQ(read(ready[0], &answer, 1), 1);
        EXPECT_EQ(answer, '1');
        expectRefused(posixLock ? "fcntl lock" : "flock");
        kill(holder, SIGKILL);
        waitpid(holder, nullptr, 0);
        close(ready[0]);
        close(ready[1]);
    }
#endif
    appendTextRows(path, {{"new"}});  // nobody holds it any more
    EXPECT_EQ(Workbook::open(path).cellText(3, 1), "new");
}

// A name of 82 CJK characters (250 bytes, valid) is written and appended to; one past the file
// system's 255 bytes is refused with that cause, never with an empty folder name.
TEST(Append, LongNamesAreWrittenOrRefusedWithTheCause) {
    const auto dir = tempDir("append_long_name");
    std::string name;
    for (int i = 0; i < 82; ++i)
        name += "报";
    const std::string path = (dir / (name + ".xls")).string();
    saveTextRows(path, "StringGrid1", {{"old"}}, false);
    appendTextRows(path, {{"new"}});
    EXPECT_EQ(Workbook::open(path).cellText(3, 1), "new");
    for (const std::string& tooLong : {(dir / (name + "报报.xls")).string(), name + "报报报.xls"}) {
        try {
            saveTextRows(tooLong, "StringGrid1", {{"x"}}, false);
            ADD_FAILURE() << "over-long name accepted";
        } catch (const SpreadsheetError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("文件名太长"), std::string::npos) << text;
            EXPECT_EQ(text.find("“”"), std::string::npos) << text;
        }
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
