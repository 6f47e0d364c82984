// The append keeps every record of the workbook it adds to: checked record by record on the
// workbook stream, through python3-xlrd's view of content and formatting, and on the container.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "TestFiles.h"
#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/CompoundFileWriter.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"

namespace ca::spreadsheet {
namespace {

using namespace test;
namespace fs = std::filesystem;

struct Rec {
    std::uint16_t type;
    size_t offset;
    std::string data;
};

// The records of a workbook stream, without the zero bytes some writers pad it with.
std::vector<Rec> records(const std::string& stream) {
    std::vector<Rec> out;
    for (size_t at = 0; at + 4 <= stream.size();) {
        const std::uint16_t type = get16(stream, at), len = get16(stream, at + 2);
        out.push_back({type, at, stream.substr(at + 4, len)});
        at += 4 + len;
    }
    while (!out.empty() && out.back().type == 0 && out.back().data.empty())
        out.pop_back();
    return out;
}

std::string workbookStream(const std::string& path) {
    return *CompoundFile(readFile(path)).stream("Workbook");
}

const Rec* recordAt(const std::vector<Rec>& recs, size_t offset) {
    for (const auto& r : recs)
        if (r.offset == offset) return &r;
    return nullptr;
}

// The old records must all be in the new stream, in order and byte for byte, except the few that
// point at what was added; every record in between must be one the append adds.
void expectOldRecordsKept(const std::string& oldStream, const std::string& newStream) {
    static const std::set<std::uint16_t> pointing = {0x0085 /*BOUNDSHEET*/, 0x00FC /*SST*/, 0x00FF /*EXTSST*/,
                                                     0x0200 /*DIMENSIONS*/, 0x020B /*INDEX*/};
    static const std::set<std::uint16_t> added = {
        0x0208 /*ROW*/,      0x00FD /*LABELSST*/, 0x0201 /*BLANK*/, 0x00D7 /*DBCELL*/,
        0x003C /*CONTINUE*/, 0x00E0 /*XF*/,       0x00FC /*SST*/,   0x00FF /*EXTSST*/};
    const auto before = records(oldStream), after = records(newStream);
    size_t i = 0;
    for (const auto& r : after) {
        if (i < before.size() && r.type == before[i].type &&
            (r.data == before[i].data || pointing.count(r.type))) {
            ++i;
            continue;
        }
        EXPECT_TRUE(added.count(r.type)) << "record " << std::hex << r.type << " at " << std::dec << r.offset
                                         << " is neither old nor one the append adds";
    }
    EXPECT_EQ(i, before.size()) << "old record " << std::hex << (i < before.size() ? before[i].type : 0)
                                << " is missing or changed";
    // Sheet offsets point at sheets, and the shared strings' index points at string starts in
    // SST or CONTINUE records.
    for (const auto& r : after) {
        if (r.type == 0x0085) {
            const Rec* bof = recordAt(after, get32(r.data, 0));
            EXPECT_TRUE(bof && bof->type == 0x0809) << "BOUNDSHEET offset " << get32(r.data, 0);
        }
        if (r.type == 0x00FF) {
            for (size_t at = 2; at + 8 <= r.data.size(); at += 8) {
                const Rec* home = recordAt(after, get32(r.data, at) - get16(r.data, at + 4));
                EXPECT_TRUE(home && (home->type == 0x00FC || home->type == 0x003C))
                    << "EXTSST bucket " << at / 8;
            }
        }
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

const TextRows kBlock = {{"电话", "", "经营单位"}, {"0755-1234", " ", "甲公司"}, {"电话", "x"}};

// Workbooks from python3-xlwt, from LibreOffice, and containers of other shapes, each with content
// an append must keep.
TEST(XlsAppend, KeepsEveryOldRecordStreamAndFormat) {
    const struct {
        const char* fixture;
        int usedRows;
    } cases[] = {
        {"formatted.xls", 3},              // xlwt: merged bold title, widths, date, 0.1, formula, 2 sheets
        {"formatted_libreoffice.xls", 3},  // the same saved by LibreOffice, workbook in the mini stream
        {"mixed.xls", 1},                  // the first of two sheets, the second active
        {"sst_continue.xls", 0},           // shared strings over CONTINUE records (first sheet counted below)
        {"v4_sectors.xls", 0},             // 4096-byte sectors
        {"mini_stream.xls", 1},            // workbook stream in the mini stream
    };
    const auto dir = tempDir("xls_append_keep");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::string path = (dir / c.fixture).string();
        fs::copy_file(fixturePath(c.fixture), path, fs::copy_options::overwrite_existing);
        const std::string oldFile = readFile(path);
        const Workbook before = Workbook::open(path);
        const int used = before.usedRows(1);
        if (c.usedRows) {
            EXPECT_EQ(used, c.usedRows);
        }
        std::string oldOracle;
        const bool haveXlrd = runOracle("xlrd_formatting.py", path, oldOracle) == 0;

        appendTextRows(path, kBlock);

        expectOldRecordsKept(workbookStream(fixturePath(c.fixture)), workbookStream(path));

        // Every other stream of the container, byte for byte.
        const CompoundFile oldContainer(oldFile), newContainer(readFile(path));
        auto names = oldContainer.streamNames();
        auto newNames = newContainer.streamNames();
        std::sort(names.begin(), names.end());
        std::sort(newNames.begin(), newNames.end());
        EXPECT_EQ(newNames, names);
        for (const auto& name : names)
            if (name != "Workbook") {
                EXPECT_EQ(newContainer.stream(name), oldContainer.stream(name)) << name;
            }

        // Our reader: old cells as before, the block below one empty row.
        const Workbook after = Workbook::open(path);
        ASSERT_EQ(after.sheetCount(), before.sheetCount());
        for (int s = 0; s < before.sheetCount(); ++s) {
            const Sheet& a = before.data().sheets[static_cast<size_t>(s)];
            const Sheet& b = after.data().sheets[static_cast<size_t>(s)];
            for (int r = 1; r <= a.lastRow(); ++r)
                for (int col = 1; col <= a.lastColumn(); ++col)
                    EXPECT_EQ(b.text(r, col), a.text(r, col)) << s << ":" << r << "," << col;
        }
        const Sheet& first = after.data().sheets[0];
        EXPECT_EQ(first.lastRow(), used + 1 + static_cast<int>(kBlock.size()));
        EXPECT_EQ(first.text(used + 1, 1), "");
        for (size_t r = 0; r < kBlock.size(); ++r)
            for (size_t col = 0; col < kBlock[r].size(); ++col)
                EXPECT_EQ(first.text(used + 2 + static_cast<int>(r), static_cast<int>(col) + 1),
                          kBlock[r][col]);

        // python3-xlrd: the old content and formatting unchanged, the new cells text-formatted.
        if (!haveXlrd) continue;  // not installed, or (v4_sectors.xls) a container xlrd cannot read
        std::string newOracle;
        ASSERT_EQ(runOracle("xlrd_formatting.py", path, newOracle), 0);
        std::vector<std::string> kept, fresh;
        for (const auto& line : lines(newOracle)) {
            std::istringstream f(line);
            std::string kind, sheet, row;
            std::getline(f, kind, '\t');
            std::getline(f, sheet, '\t');
            std::getline(f, row, '\t');
            const bool isNew = kind == "cell" && sheet == "0" && std::stoi(row) > used + 1;
            (isNew ? fresh : kept).push_back(line);
        }
        EXPECT_EQ(kept, lines(oldOracle));
        ASSERT_EQ(fresh.size(), 8u) << newOracle;
        for (const auto& line : fresh)
            EXPECT_NE(line.find("\t@\t0\t"), std::string::npos) << line;  // "@", not bold
    }
}

// A workbook stream with one record changed, in a fresh container.
std::string withPatchedStream(const std::string& fixtureName, std::uint16_t type,
                              const std::function<void(std::string&, size_t)>& patch) {
    std::string stream = workbookStream(fixturePath(fixtureName));
    for (const auto& r : records(stream)) {
        if (r.type == type) {
            patch(stream, r.offset);
            break;
        }
    }
    return writeCompoundFile("Workbook", stream);
}

TEST(XlsAppend, RefusesWorkbooksItCannotKeepAndLeavesThemAlone) {
    const auto dir = tempDir("xls_append_refuse");
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"encrypted.xls",
         withPatchedStream("formatted.xls", 0x00E1, [](std::string& s, size_t at) { put16(s, at, 0x002F); }),
         "加密"},
        {"biff5.xls", fixture("biff5_gbk.xls"), "较早的 Excel 版本"},
        {"chart_first.xls",
         withPatchedStream("formatted.xls", 0x0085, [](std::string& s, size_t at) { s[at + 4 + 5] = 2; }),
         "图表"},
    };
    for (const auto& c : cases) {
        const std::string path = (dir / c.name).string();
        writeFile(path, c.bytes);
        try {
            appendTextRows(path, kBlock);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_EQ(readFile(path), c.bytes) << c.name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3) << "a temporary file was left";
}

// Workbooks from Excel index their rows: an INDEX record after each sheet's BOF lists the stream
// offsets of the DBCELL records that close each block of rows. Such an INDEX is put into an xlwt
// workbook here (the test cannot run Excel); the append must list its own DBCELLs, each pointing
// back at its ROW records and at each row's first cell, and move the other sheet's offsets.
TEST(XlsAppend, RowIndexesListTheNewBlocks) {
    std::string stream = workbookStream(fixturePath("formatted.xls"));
    std::vector<size_t> sheetRecords;
    for (const auto& r : records(stream))
        if (r.type == 0x0085) sheetRecords.push_back(r.offset);
    ASSERT_EQ(sheetRecords.size(), 2u);
    // From the last sheet backwards, so that earlier offsets stay valid while inserting.
    for (size_t k = sheetRecords.size(); k-- > 0;) {
        const size_t bof = get32(stream, sheetRecords[k] + 4);
        const size_t after = bof + 4 + get16(stream, bof + 2);
        std::string index;
        index.resize(4 + 16, '\0');
        put16(index, 0, 0x020B);
        put16(index, 2, 16);
        put32(index, 4 + 12, static_cast<std::uint32_t>(after + index.size()));  // the record after INDEX
        stream.insert(after, index);
        for (size_t j = k + 1; j < sheetRecords.size(); ++j)
            put32(stream, sheetRecords[j] + 4, get32(stream, sheetRecords[j] + 4) + 20);
        for (size_t j = k + 1; j < sheetRecords.size(); ++j) {  // later INDEX records moved too
            const size_t b = get32(stream, sheetRecords[j] + 4);
            const size_t i = b + 4 + get16(stream, b + 2);
            put32(stream, i + 4 + 12, get32(stream, i + 4 + 12) + 20);
        }
    }
    const auto dir = tempDir("xls_append_index");
    const std::string path = (dir / "indexed.xls").string();
    writeFile(path, writeCompoundFile("Workbook", stream));
    const std::string before = stream;

    TextRows rows(40, {"a", "b"});  // rows 5 to 44: blocks 5-31 and 32-44
    appendTextRows(path, rows);
    const std::string s = workbookStream(path);
    expectOldRecordsKept(before, s);
    const auto recs = records(s);
    int indexes = 0;
    for (const auto& r : recs) {
        if (r.type != 0x020B) continue;
        ++indexes;
        const Rec* target = recordAt(recs, get32(r.data, 12));
        EXPECT_TRUE(target && target->type == 0x000D) << "INDEX no longer points at the record after it";
        const size_t blocks = (r.data.size() - 16) / 4;
        if (indexes == 1) {
            EXPECT_EQ(get32(r.data, 4), 0u);   // first row (0-based), as before
            EXPECT_EQ(get32(r.data, 8), 44u);  // last row + 1
            ASSERT_EQ(blocks, 2u);
        } else {
            EXPECT_EQ(blocks, 0u);
        }
        for (size_t b = 0; b < blocks; ++b) {
            const size_t at = get32(r.data, 16 + 4 * b);
            const Rec* db = recordAt(recs, at);
            ASSERT_TRUE(db && db->type == 0x00D7) << "INDEX entry " << b;
            const Rec* firstRow = recordAt(recs, at - get32(db->data, 0));
            ASSERT_TRUE(firstRow && firstRow->type == 0x0208);
            size_t cell = firstRow->offset + 20;
            for (size_t k = 0; 4 + 2 * k < db->data.size(); ++k) {
                cell += get16(db->data, 4 + 2 * k);
                const Rec* c = recordAt(recs, cell);
                ASSERT_TRUE(c && c->type == 0x00FD) << "block " << b << " row " << k;
                EXPECT_EQ(get16(c->data, 0), get16(firstRow->data, 0) + k);
                EXPECT_EQ(get16(c->data, 2), 0u);
            }
        }
    }
    EXPECT_EQ(indexes, 2);
    EXPECT_EQ(Workbook::open(path).data().sheets[0].text(44, 2), "b");
}

}  // namespace
}  // namespace ca::spreadsheet
