#include "ca/spreadsheet/XlsWriter.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "BiffRecords.h"
#include "ByteOrder.h"
#include "SstBuilder.h"
#include "TextCodec.h"
#include "ca/spreadsheet/CompoundFileWriter.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/util/AsciiCase.h"

namespace ca::spreadsheet {

namespace {

using namespace biff;

// Cell formats (XF indexes) written after the 16 standard ones.
constexpr std::uint16_t kXfGeneral = 15, kXfText = 16, kXfDate = 17, kXfDateTime = 18;
constexpr std::uint16_t kRowHeight = 285;  // twips, fits the 12-point default font

void record(std::string& out, std::uint16_t type, std::string_view data) {
    putRecord(out, type, data);
}

void record16(std::string& out, std::uint16_t type, std::uint16_t value) {
    std::string d;
    le::put16(d, value);
    record(out, type, d);
}

// A short (8-bit length) or long (16-bit length) Unicode string field.
std::string unicodeField(std::u16string_view s, bool shortLength) {
    std::string d;
    const bool compressed = fitsOneByte(s);
    if (shortLength)
        d.push_back(static_cast<char>(s.size()));
    else
        le::put16(d, static_cast<std::uint16_t>(s.size()));
    d.push_back(compressed ? 0 : 1);
    appendChars(d, s, compressed);
    return d;
}

// The SST and its CONTINUE records, and the EXTSST data for them (bucket offsets in the stream).
std::string sstRecords(const std::vector<std::u16string>& strings, std::uint32_t references,
                       size_t streamOffset, std::string& extsst) {
    std::string header;
    le::put32(header, references);
    le::put32(header, static_cast<std::uint32_t>(strings.size()));
    SstBuilder sst(kSst, header);
    const std::uint16_t perBucket = extSstBucketSize(strings.size());
    std::vector<SstBuilder::Place> buckets;
    for (size_t i = 0; i < strings.size(); ++i) {
        const SstBuilder::Place place = sst.add(strings[i]);
        if (i % perBucket == 0) buckets.push_back({streamOffset + place.offset, place.inRecord});
    }
    extsst = extSstData(perBucket, buckets);
    return sst.finish();
}

std::uint8_t errorCode(const std::string& text) {
    static const std::pair<const char*, std::uint8_t> codes[] = {{"#NULL!", 0x00},  {"#DIV/0!", 0x07},
                                                                 {"#VALUE!", 0x0F}, {"#REF!", 0x17},
                                                                 {"#NAME?", 0x1D},  {"#NUM!", 0x1F}};
    for (const auto& [t, c] : codes)
        if (text == t) return c;
    return 0x2A;  // #N/A
}

void checkSheetName(const std::u16string& name, const std::string& utf8) {
    if (name.empty() || name.size() > 31) throw FormatError("工作表名称“" + utf8 + "”必须有 1 到 31 个字符");
    if (name.find_first_of(u":\\/?*[]") != std::u16string::npos)
        throw FormatError("工作表名称“" + utf8 + "”不能包含 : \\ / ? * [ ] 这些字符");
}

class Writer {
public:
    explicit Writer(const WorkbookData& book) : book_(book) {}

    std::string write() {
        validate();
        collectStrings();
        std::vector<std::string> sheets;
        for (size_t i = 0; i < book_.sheets.size(); ++i)
            sheets.push_back(sheetStream(book_.sheets[i], i == active()));

        // Globals, with BOUNDSHEET offsets patched once the globals' length is known.
        std::string g;
        globalsHead(g);
        std::vector<size_t> boundsheetAt;
        for (size_t i = 0; i < book_.sheets.size(); ++i) {
            boundsheetAt.push_back(g.size() + 4);
            std::string d;
            le::put32(d, 0);
            d.push_back(0);  // visible
            d.push_back(0);  // worksheet
            d += unicodeField(names_[i], true);
            record(g, kBoundSheet, d);
        }
        {
            std::string d;
            le::put16(d, 86);  // COUNTRY: China, for the user interface and the system
            le::put16(d, 86);
            record(g, 0x008C, d);
        }
        std::string extsst;
        g += sstRecords(strings_, references_, g.size(), extsst);
        record(g, 0x00FF, extsst);
        record(g, kEof, "");

        size_t offset = g.size();
        for (size_t i = 0; i < sheets.size(); ++i) {
            le::set32(g, boundsheetAt[i], static_cast<std::uint32_t>(offset));
            offset += sheets[i].size();
        }
        std::string stream = std::move(g);
        for (auto& s : sheets)
            stream += s;
        return writeCompoundFile("Workbook", std::move(stream));
    }

private:
    size_t active() const { return book_.activeSheet < book_.sheets.size() ? book_.activeSheet : 0; }

    void validate() {
        if (book_.sheets.empty()) throw FormatError("工作簿至少要有一个工作表");
        std::vector<std::string> seen;
        for (const auto& sheet : book_.sheets) {
            names_.push_back(utf8ToUtf16(sheet.name()));
            checkSheetName(names_.back(), sheet.name());
            const std::string key = toLowerAscii(sheet.name());
            if (std::find(seen.begin(), seen.end(), key) != seen.end())
                throw FormatError("有两个工作表都叫“" + sheet.name() + "”");
            seen.push_back(key);
            if (sheet.lastRow() > kXlsMaxRows)
                throw FormatError("工作表“" + sheet.name() + "”有 " + std::to_string(sheet.lastRow()) +
                                  " 行，.xls 工作表最多只能有 65536 行");
            if (sheet.lastColumn() > kXlsMaxColumns)
                throw FormatError("工作表“" + sheet.name() + "”有 " + std::to_string(sheet.lastColumn()) +
                                  " 列，.xls 工作表最多只能有 256 列");
        }
    }

    // The shared string table, and each text cell's index into it in the order the cells are
    // written.
    void collectStrings() {
        const auto eachText = [this](auto&& use) {
            for (const auto& sheet : book_.sheets)
                for (int r = 1; r <= sheet.lastRow(); ++r)
                    for (const auto& [column, cell] : sheet.row(r))
                        if (cell.kind == Cell::Kind::Text && !cell.text.empty())
                            use(sheet, r, column, cell.text);
        };
        std::vector<std::string_view> texts;
        eachText([&](const Sheet&, int, int, const std::string& text) { texts.push_back(text); });
        references_ = static_cast<std::uint32_t>(texts.size());
        cellStrings_ = StringIndex(texts.size()).addAll(texts);
        size_t k = 0;
        eachText([&](const Sheet& sheet, int r, int column, const std::string& text) {
            if (cellStrings_[k++] != strings_.size()) return;  // not the text's first appearance
            strings_.push_back(utf8ToUtf16(text));
            if (strings_.back().size() > 32767)
                throw FormatError("工作表“" + sheet.name() + "”的单元格（第 " + std::to_string(r) +
                                  " 行，第 " + std::to_string(column) + " 列）超过 32767 个字符");
        });
    }

    void globalsHead(std::string& g) const {
        std::string bof;
        le::put16(bof, 0x0600);
        le::put16(bof, 0x0005);  // workbook globals
        le::put16(bof, 0x0DBB);
        le::put16(bof, 0x07CC);
        le::put32(bof, 0x000100C1);
        le::put32(bof, 0x00000006);
        record(g, kBof, bof);
        record16(g, 0x00E1, 1200);  // INTERFACEHDR
        record16(g, 0x00C1, 0);     // MMS
        record(g, 0x00E2, "");      // INTERFACEEND
        {
            // WRITEACCESS: the user name as a Unicode string, padded with blanks to 112 bytes.
            std::string d = unicodeField(u"报关助手", false);
            d.append(112 - d.size(), ' ');
            record(g, 0x005C, d);
        }
        record16(g, kCodePage, 1200);
        record16(g, 0x0161, 0);  // DSF
        {
            std::string tabs;
            for (size_t i = 0; i < book_.sheets.size(); ++i)
                le::put16(tabs, static_cast<std::uint16_t>(i + 1));
            record(g, 0x013D, tabs);  // TABID
        }
        record16(g, 0x0019, 0);  // WINDOWPROTECT
        record16(g, 0x0012, 0);  // PROTECT
        record16(g, 0x0013, 0);  // PASSWORD
        record16(g, 0x01AF, 0);  // PROT4REV
        record16(g, 0x01BC, 0);  // PROT4REVPASS
        {
            std::string w;
            le::put16(w, 0x0168);
            le::put16(w, 0x001E);
            le::put16(w, 0x3A98);
            le::put16(w, 0x1D4C);
            le::put16(w, 0x0038);
            le::put16(w, static_cast<std::uint16_t>(active()));
            le::put16(w, 0);  // first visible tab
            le::put16(w, 1);  // selected tabs
            le::put16(w, 0x0258);
            record(g, kWindow1, w);
        }
        record16(g, 0x0040, 0);  // BACKUP
        record16(g, 0x008D, 0);  // HIDEOBJ
        record16(g, kDateMode, 0);
        record16(g, 0x000E, 1);  // PRECISION
        record16(g, 0x01B7, 0);  // REFRESHALL
        record16(g, 0x00DA, 0);  // BOOKBOOL
        for (int i = 0; i < 5; ++i) {
            std::string f;
            le::put16(f, 240);  // 12 points
            le::put16(f, 0);
            le::put16(f, 0x7FFF);
            le::put16(f, 400);
            le::put16(f, 0);
            f.push_back(0);                        // underline
            f.push_back(2);                        // family: roman
            f.push_back(static_cast<char>(0x86));  // GB2312 character set
            f.push_back(0);
            f += unicodeField(u"宋体", true);
            record(g, 0x0031, f);
        }
        auto xf = [&](std::uint16_t font, std::uint16_t format, std::uint16_t flags, std::uint8_t used) {
            record(g, kXf, xfData(font, format, flags, used));
        };
        xf(0, 0, 0xFFF5, 0);  // Normal style
        for (int i = 1; i < 15; ++i)
            xf(0, 0, 0xFFF5, 0xF4);
        xf(0, 0, 0x0001, 0);      // 15: General
        xf(0, 49, 0x0001, 0x04);  // 16: text "@"
        xf(0, 14, 0x0001, 0x04);  // 17: date
        xf(0, 22, 0x0001, 0x04);  // 18: date and time
        {
            std::string d;
            le::put16(d, 0x8000);  // built-in style on XF 0
            d.push_back(0);        // Normal
            d.push_back(static_cast<char>(0xFF));
            record(g, 0x0293, d);
        }
        record16(g, 0x0160, 1);  // USESELFS
    }

    std::string sheetStream(const Sheet& sheet, bool isActive) const {
        std::string s;
        std::string bof;
        le::put16(bof, 0x0600);
        le::put16(bof, 0x0010);  // worksheet
        le::put16(bof, 0x0DBB);
        le::put16(bof, 0x07CC);
        le::put32(bof, 0x000100C1);
        le::put32(bof, 0x00000006);
        record(s, kBof, bof);
        record16(s, 0x000D, 1);    // CALCMODE automatic
        record16(s, 0x000C, 100);  // CALCCOUNT
        record16(s, 0x000F, 1);    // REFMODE A1
        record16(s, 0x0011, 0);    // ITERATION
        {
            std::string d;
            le::putF64(d, 0.001);
            record(s, 0x0010, d);  // DELTA
        }
        record16(s, 0x005F, 1);                   // SAVERECALC
        record16(s, 0x002A, 0);                   // PRINTHEADERS
        record16(s, 0x002B, 0);                   // PRINTGRIDLINES
        record16(s, 0x0082, 1);                   // GRIDSET
        record(s, 0x0080, std::string(8, '\0'));  // GUTS
        {
            std::string d;
            le::put16(d, 0);
            le::put16(d, kRowHeight);
            record(s, 0x0225, d);  // DEFAULTROWHEIGHT
        }
        record16(s, 0x0081, 0x04C1);  // WSBOOL
        const int rows = sheet.lastRow(), cols = sheet.lastColumn();
        {
            std::string d;
            le::put32(d, 0);
            le::put32(d, static_cast<std::uint32_t>(rows));
            le::put16(d, 0);
            le::put16(d, static_cast<std::uint16_t>(cols));
            le::put16(d, 0);
            record(s, 0x0200, d);  // DIMENSIONS
        }
        size_t cells = 0;
        for (int r = 1; r <= rows; ++r)
            cells += sheet.row(r).size();
        s.reserve(s.size() + static_cast<size_t>(rows) * 20 + cells * 14 + 64);
        // Rows in blocks of 32: the ROW records of the block, then its cells.
        for (int first = 1; first <= rows; first += 32) {
            const int last = std::min(rows, first + 31);
            for (int r = first; r <= last; ++r) {
                const auto& row = sheet.row(r);
                if (row.empty()) continue;
                std::string d;
                le::put16(d, static_cast<std::uint16_t>(r - 1));
                le::put16(d, static_cast<std::uint16_t>(row.front().column - 1));
                le::put16(d, static_cast<std::uint16_t>(row.back().column));
                le::put16(d, kRowHeight);
                le::put16(d, 0);
                le::put16(d, 0);
                le::put16(d, 0x0100);
                le::put16(d, 0x000F);
                record(s, 0x0208, d);
            }
            for (int r = first; r <= last; ++r) {
                for (const auto& [column, cell] : sheet.row(r))
                    cellRecord(s, static_cast<std::uint16_t>(r - 1), static_cast<std::uint16_t>(column - 1),
                               cell);
            }
        }
        {
            std::string d;
            le::put16(d, isActive ? 0x06B6 : 0x00B6);
            le::put16(d, 0);
            le::put16(d, 0);
            le::put32(d, 0x40);
            le::put16(d, 0);
            le::put16(d, 0);
            le::put32(d, 0);
            record(s, 0x023E, d);  // WINDOW2
        }
        record(s, kEof, "");
        return s;
    }

    void cellRecord(std::string& s, std::uint16_t row, std::uint16_t col, const Cell& cell) const {
        auto head = [&](std::uint16_t type, std::uint16_t len, std::uint16_t xf) {
            le::put16(s, type);
            le::put16(s, len);
            le::put16(s, row);
            le::put16(s, col);
            le::put16(s, xf);
        };
        switch (cell.kind) {
            case Cell::Kind::Text:
                if (cell.text.empty()) {  // an empty text is a blank cell formatted as text
                    head(kBlank, 6, kXfText);
                    break;
                }
                head(kLabelSst, 10, kXfText);
                le::put32(s, cellStrings_[nextCellString_++]);
                break;
            case Cell::Kind::Number:
                head(kNumber, 14, kXfGeneral);
                le::putF64(s, cell.number);
                break;
            case Cell::Kind::Date:
                head(kNumber, 14, std::floor(cell.number) == cell.number ? kXfDate : kXfDateTime);
                le::putF64(s, cell.number);
                break;
            case Cell::Kind::Boolean:
                head(kBoolErr, 8, kXfGeneral);
                s.push_back(cell.number != 0 ? 1 : 0);
                s.push_back(0);
                break;
            case Cell::Kind::Error:
                head(kBoolErr, 8, kXfGeneral);
                s.push_back(static_cast<char>(errorCode(cell.text)));
                s.push_back(1);
                break;
            case Cell::Kind::Blank:
                head(kBlank, 6, cell.textFormat ? kXfText : kXfGeneral);
                break;
            case Cell::Kind::Empty:
                break;
        }
    }

    const WorkbookData& book_;
    std::vector<std::u16string> names_;
    std::vector<std::u16string> strings_;
    std::vector<std::uint32_t> cellStrings_;
    mutable size_t nextCellString_ = 0;
    std::uint32_t references_ = 0;
};

}  // namespace

std::string writeXls(const WorkbookData& book) {
    return Writer(book).write();
}

}  // namespace ca::spreadsheet
