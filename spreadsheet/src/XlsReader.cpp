#include "ca/spreadsheet/XlsReader.h"

#include <cmath>
#include <map>
#include <optional>

#include "BiffRecords.h"
#include "ByteOrder.h"
#include "SheetBuilder.h"
#include "TextCodec.h"
#include "WorkbookProtection.h"
#include "ca/spreadsheet/CellText.h"
#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet {

namespace {

using namespace biff;

[[noreturn]] void fail(const std::string& reason) {
    throw FormatError(reason);
}

void need(const Record& r, size_t bytes, const char* what) {
    if (r.data.size() < bytes) fail(std::string(".xls 文件已损坏：") + what + " 记录太短");
}

std::string errorText(std::uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x1F:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        default:
            return "#N/A";
    }
}

double rkValue(std::uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::string b(8, '\0');
        for (int i = 0; i < 8; ++i)
            b[static_cast<size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
        v = le::f64(b, 0);
    }
    return (rk & 0x01) ? v / 100.0 : v;
}

struct SheetEntry {
    std::uint32_t offset = 0;
    std::uint8_t kind = 0;  // 0 worksheet, 1 macro sheet, 2 chart, 6 VB module
    std::string name;
};

class Reader {
public:
    Reader(std::string_view stream, bool biff8) : stream_(stream), biff8_(biff8) {}

    WorkbookData read() {
        readGlobals();
        if (sheets_.empty()) fail("工作簿中没有工作表");
        WorkbookData book;
        for (const auto& entry : sheets_) {
            book.sheets.emplace_back(entry.name);
            if (entry.kind == 0) readSheet(entry, book.sheets.back());
        }
        book.activeSheet = active_ < book.sheets.size() ? active_ : 0;
        return book;
    }

private:
    // Text of a byte string (BIFF5) or of a Unicode string (BIFF8) starting at data[at].
    std::string text(std::string_view data, size_t at, bool shortLength) {
        if (biff8_) {
            ContinuedReader r({data.substr(std::min(at, data.size()))});
            return r.unicodeString(shortLength);
        }
        const size_t lenBytes = shortLength ? 1 : 2;
        if (at + lenBytes > data.size()) fail(".xls 文件已损坏：文本被截断");
        const size_t len = shortLength ? static_cast<unsigned char>(data[at]) : le::u16(data, at);
        if (at + lenBytes + len > data.size()) fail(".xls 文件已损坏：文本被截断");
        return codePageToUtf8(data.substr(at + lenBytes, len), codePage_);
    }

    // The record and the CONTINUE records that follow it.
    std::vector<std::string_view> continued(const Record& first, RecordCursor& cursor) {
        std::vector<std::string_view> segs{first.data};
        while (cursor.peekType() == kContinue)
            segs.push_back(cursor.next().data);
        return segs;
    }

    void readGlobals() {
        RecordCursor cursor(stream_, 0);
        const Record bof = cursor.next();
        if (bof.type != kBof) fail(".xls 文件已损坏：工作簿数据缺少开始记录");
        while (true) {
            const Record r = cursor.next();
            switch (r.type) {
                case kEof:
                    return;
                case kFilePass:
                    fail(encryptedWorkbookProblem(r.data, "不能读取"));
                case kCodePage:
                    need(r, 2, "CODEPAGE");
                    codePage_ = le::u16(r.data, 0);
                    break;
                case kDateMode:
                    need(r, 2, "DATEMODE");
                    date1904_ = le::u16(r.data, 0) == 1;
                    break;
                case kWindow1:  // the first window is the one the workbook opens in
                    need(r, 12, "WINDOW1");
                    if (!haveWindow_) active_ = le::u16(r.data, 10);
                    haveWindow_ = true;
                    break;
                case kFormat: {
                    need(r, 3, "FORMAT");
                    formats_[le::u16(r.data, 0)] = biff8_ ? text(r.data, 2, false) : text(r.data, 2, true);
                    break;
                }
                case kXf:
                    need(r, 4, "XF");
                    xfFormats_.push_back(le::u16(r.data, 2));
                    break;
                case kBoundSheet: {
                    need(r, 7, "BOUNDSHEET");
                    SheetEntry e;
                    e.offset = le::u32(r.data, 0);
                    e.kind = static_cast<std::uint8_t>(r.data[5]);
                    e.name = text(r.data, 6, true);
                    sheets_.push_back(std::move(e));
                    break;
                }
                case kSst:
                    readSst(continued(r, cursor));
                    break;
                default:
                    break;
            }
        }
    }

    void readSst(std::vector<std::string_view> segs) {
        if (!biff8_) return;
        ContinuedReader r(std::move(segs));
        r.u32();  // total references
        const std::uint32_t unique = r.u32();
        sst_.reserve(std::min<std::uint32_t>(unique, static_cast<std::uint32_t>(stream_.size() / 3)));
        for (std::uint32_t i = 0; i < unique && !r.atEnd(); ++i)
            sst_.push_back(r.unicodeString(false));
    }

    Cell numberCell(double v, std::uint16_t xf) const {
        if (isDate(xf)) return Cell{Cell::Kind::Date, dateText(v, date1904_), v};
        return Cell{Cell::Kind::Number, generalNumberText(v), v};
    }

    bool isDate(std::uint16_t xf) const {
        if (xf >= xfFormats_.size()) return false;
        const std::uint16_t fmt = xfFormats_[xf];
        const auto custom = formats_.find(fmt);
        if (custom != formats_.end()) return isDateFormatCode(custom->second);
        return isBuiltinDateFormat(fmt);
    }

    static void put(SheetBuilder& sheet, unsigned row, unsigned col, Cell cell) {
        sheet.put(static_cast<int>(row) + 1, static_cast<int>(col) + 1, std::move(cell));
    }

    // Text format: the built-in "@" (49) or a custom format that is just "@".
    bool isText(std::uint16_t xf) const {
        if (xf >= xfFormats_.size()) return false;
        const auto custom = formats_.find(xfFormats_[xf]);
        return custom != formats_.end() ? custom->second == "@" : xfFormats_[xf] == 49;
    }

    void blank(SheetBuilder& sheet, unsigned row, unsigned col, std::uint16_t xf) const {
        sheet.blank(static_cast<int>(row) + 1, static_cast<int>(col) + 1, isText(xf));
    }

    void readSheet(const SheetEntry& entry, Sheet& target) {
        SheetBuilder sheet(budget_);
        if (entry.offset >= stream_.size())
            fail("工作表“" + entry.name + "”不在工作簿数据之内（文件已损坏）");
        RecordCursor cursor(stream_, entry.offset);
        const Record bof = cursor.next();
        if (bof.type != kBof) fail("工作表“" + entry.name + "”已损坏：缺少开始记录");
        int depth = 0;
        bool pendingString = false;  // a FORMULA awaiting its STRING record at this position
        unsigned pendingRow = 0, pendingCol = 0;
        while (true) {
            const Record r = cursor.next();
            if (r.type == kBof) {
                ++depth;  // an embedded chart: skipped up to its EOF
                continue;
            }
            if (r.type == kEof) {
                if (depth == 0) {
                    sheet.buildInto(target);
                    return;
                }
                --depth;
                continue;
            }
            if (depth > 0) continue;
            const std::string_view d = r.data;
            switch (r.type) {
                case kLabelSst: {
                    need(r, 10, "LABELSST");
                    const std::uint32_t i = le::u32(d, 6);
                    if (i >= sst_.size()) fail(".xls 文件已损坏：单元格引用了不存在的共享文本");
                    put(sheet, le::u16(d, 0), le::u16(d, 2), Cell{Cell::Kind::Text, sst_[i], 0.0});
                    break;
                }
                case kLabel:
                case kRString:
                    need(r, 8, "LABEL");
                    put(sheet, le::u16(d, 0), le::u16(d, 2), Cell{Cell::Kind::Text, text(d, 6, false), 0.0});
                    break;
                case kNumber:
                    need(r, 14, "NUMBER");
                    put(sheet, le::u16(d, 0), le::u16(d, 2), numberCell(le::f64(d, 6), le::u16(d, 4)));
                    break;
                case kRk:
                    need(r, 10, "RK");
                    put(sheet, le::u16(d, 0), le::u16(d, 2),
                        numberCell(rkValue(le::u32(d, 6)), le::u16(d, 4)));
                    break;
                case kMulRk: {
                    need(r, 6, "MULRK");
                    const unsigned row = le::u16(d, 0), first = le::u16(d, 2);
                    const size_t n = (d.size() - 6) / 6;
                    for (size_t i = 0; i < n; ++i)
                        put(sheet, row, first + static_cast<unsigned>(i),
                            numberCell(rkValue(le::u32(d, 4 + 6 * i + 2)), le::u16(d, 4 + 6 * i)));
                    break;
                }
                case kBoolErr: {
                    need(r, 8, "BOOLERR");
                    const std::uint8_t v = static_cast<std::uint8_t>(d[6]);
                    Cell c = d[7] ? Cell{Cell::Kind::Error, errorText(v), static_cast<double>(v)}
                                  : Cell{Cell::Kind::Boolean, v ? "TRUE" : "FALSE", v ? 1.0 : 0.0};
                    put(sheet, le::u16(d, 0), le::u16(d, 2), std::move(c));
                    break;
                }
                case kBlank:
                    need(r, 6, "BLANK");
                    blank(sheet, le::u16(d, 0), le::u16(d, 2), le::u16(d, 4));
                    break;
                case kMulBlank: {
                    need(r, 6, "MULBLANK");
                    const unsigned row = le::u16(d, 0), first = le::u16(d, 2);
                    const size_t n = (d.size() - 6) / 2;
                    for (size_t i = 0; i < n; ++i)
                        blank(sheet, row, first + static_cast<unsigned>(i), le::u16(d, 4 + 2 * i));
                    break;
                }
                case kFormula: {
                    need(r, 14, "FORMULA");
                    const unsigned row = le::u16(d, 0), col = le::u16(d, 2);
                    if (le::u16(d, 12) != 0xFFFF) {
                        put(sheet, row, col, numberCell(le::f64(d, 6), le::u16(d, 4)));
                        break;
                    }
                    const std::uint8_t kind = static_cast<std::uint8_t>(d[6]);
                    const std::uint8_t v = static_cast<std::uint8_t>(d[8]);
                    if (kind == 0) {
                        pendingString = true;
                        pendingRow = row;
                        pendingCol = col;
                    } else if (kind == 1) {
                        put(sheet, row, col, Cell{Cell::Kind::Boolean, v ? "TRUE" : "FALSE", v ? 1.0 : 0.0});
                    } else if (kind == 2) {
                        put(sheet, row, col, Cell{Cell::Kind::Error, errorText(v), static_cast<double>(v)});
                    } else {
                        put(sheet, row, col, Cell{Cell::Kind::Text, "", 0.0});
                    }
                    break;
                }
                case kString: {
                    std::vector<std::string_view> segs = continued(r, cursor);
                    if (!pendingString) break;
                    std::string value;
                    if (biff8_) {
                        ContinuedReader cr(std::move(segs));
                        value = cr.unicodeString(false);
                    } else {
                        value = text(d, 0, false);
                    }
                    put(sheet, pendingRow, pendingCol, Cell{Cell::Kind::Text, value, 0.0});
                    pendingString = false;
                    break;
                }
                default:
                    break;
            }
        }
    }

    std::string_view stream_;
    bool biff8_;
    int codePage_ = 0;
    bool date1904_ = false;
    size_t active_ = 0;
    bool haveWindow_ = false;
    std::map<std::uint16_t, std::string> formats_;
    std::vector<std::uint16_t> xfFormats_;
    std::vector<SheetEntry> sheets_;
    std::vector<std::string> sst_;
    CellBudget budget_;
};

}  // namespace

WorkbookData readXls(std::string bytes) {
    CompoundFile cf(std::move(bytes));
    std::optional<std::string> stream = cf.stream("Workbook");
    if (!stream) stream = cf.stream("Book");
    if (!stream) fail(".xls 文件中没有工作簿数据");
    if (stream->size() < 8) fail(".xls 文件中的工作簿数据是空的");
    const std::string_view s = *stream;
    if (le::u16(s, 0) != kBof) fail(".xls 文件已损坏：工作簿数据缺少开始记录");
    const std::uint16_t version = le::u16(s, 4);
    if (version != 0x0600 && version != 0x0500)
        fail("不支持的工作簿版本（只能读取 Excel 95 到 2003 的 .xls 文件）");
    return Reader(s, version == 0x0600).read();
}

}  // namespace ca::spreadsheet
