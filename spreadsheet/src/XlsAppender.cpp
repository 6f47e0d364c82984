#include "ca/spreadsheet/XlsAppender.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <string_view>

#include "BiffRecords.h"
#include "ByteOrder.h"
#include "SstBuilder.h"
#include "TextCodec.h"
#include "WorkbookProtection.h"
#include "ca/spreadsheet/CompoundFile.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/XlsWriter.h"

namespace ca::spreadsheet {

namespace {

using namespace biff;

constexpr std::uint16_t kBiff8 = 0x0600, kGlobalsKind = 0x0005, kWorksheetKind = 0x0010;
constexpr size_t kMaxXfs = 4050;
constexpr size_t kRowsPerBlock = 32;
constexpr size_t npos = std::string_view::npos;

[[noreturn]] void refuse(const std::string& reason) {
    throw FormatError(reason);
}

bool isCell(std::uint16_t type) {
    switch (type) {
        case kBlank:
        case kMulBlank:
        case kNumber:
        case kRk:
        case kMulRk:
        case kLabel:
        case kLabelSst:
        case kRString:
        case kBoolErr:
        case kFormula:
            return true;
        default:
            return false;
    }
}

// Records of a worksheet's cell table, after which the new rows go.
bool inCellTable(std::uint16_t type) {
    return isCell(type) || type == kRow || type == kDbCell || type == kString || type == kArray ||
           type == kShrFmla || type == kTable;
}

// The lowest row (0-based) a drawn object of the sheet is anchored to, -1 for none: the sheet's
// drawing records hold Office drawing records, containers holding their children directly; each
// shape anchored to cells has a client anchor (0xF010) naming its top-left and bottom-right cells.
long lastAnchoredRow(std::string_view drawing) {
    constexpr std::uint16_t kClientAnchor = 0xF010;
    long last = -1;
    for (size_t at = 0; at + 8 <= drawing.size();) {
        const std::uint16_t versionAndInstance = le::u16(drawing, at), type = le::u16(drawing, at + 2);
        const std::uint32_t length = le::u32(drawing, at + 4);
        if ((versionAndInstance & 0x000F) == 0x000F) {  // a container: its children follow
            at += 8;
            continue;
        }
        // flags, left column, x offset, top row, y offset, right column, x offset, bottom row, y offset
        if (type == kClientAnchor && length >= 18 && at + 8 + 18 <= drawing.size())
            last = std::max<long>(last, le::u16(drawing, at + 8 + 14));
        if (length > drawing.size() - at - 8) break;
        at += 8 + length;
    }
    return last;
}

// A change to the workbook stream: `removed` bytes at `pos` replaced by `bytes` (an insertion when
// nothing is removed, a patch in place when the lengths are equal).
struct Edit {
    size_t pos = 0, removed = 0;
    std::string bytes;
    long long delta() const { return static_cast<long long>(bytes.size()) - static_cast<long long>(removed); }
    bool before(const Edit& o) const { return pos != o.pos ? pos < o.pos : removed < o.removed; }
};

struct SheetEntry {
    size_t record = 0;  // BOUNDSHEET record position
    std::uint32_t offset = 0;
    std::uint8_t kind = 0;
};

struct IndexRecord {
    size_t pos = npos;  // record position, npos when the sheet has none
    std::string_view data;
};

class Appender {
public:
    Appender(std::string_view stream, const std::vector<std::vector<std::string>>& rows)
        : s_(stream), rows_(rows) {}

    std::string run(int& usedRows) {
        readGlobals();
        if (sheets_.empty()) refuse("工作簿中没有工作表");
        if (sheets_[0].kind != 0) refuse("第一个工作表是图表或宏表，不是普通工作表，不能在其中追加行");
        readFirstSheet();
        usedRows = used_;
        const size_t firstRow = static_cast<size_t>(used_) + 1;  // 0-based: one empty row between
        if (firstRow + rows_.size() > static_cast<size_t>(kXlsMaxRows))
            refuse("表格将写到第 " + std::to_string(firstRow + rows_.size()) +
                   " 行，.xls 工作表最多只能有 65536 行");
        collectStrings();
        if (cells_ == 0) return std::string(s_);

        const std::uint16_t xf = textFormat();
        const size_t blockEdit = addCellBlocks(firstRow, xf);
        addSharedStrings();
        patchDimensions(firstRow);
        const std::optional<size_t> indexEdit = growIndex();
        // Every length is now known: fill in what points into the stream.
        if (extSstEdit_) edits_[*extSstEdit_].bytes = extSst();
        if (indexEdit) fillFirstIndex(*indexEdit, blockEdit, firstRow);
        for (size_t i = 0; i < sheets_.size(); ++i) {
            std::string d;
            le::put32(d, static_cast<std::uint32_t>(map(sheets_[i].offset)));
            edits_.push_back({sheets_[i].record + 4, 4, d});
            if (i > 0) remapIndex(sheets_[i]);
        }
        return apply();
    }

private:
    // --- reading --------------------------------------------------------------------------------

    void readGlobals() {
        RecordCursor cursor(s_, 0);
        const Record bof = cursor.next();
        if (bof.type != kBof || bof.data.size() < 4 || le::u16(bof.data, 0) != kBiff8)
            refuse(
                "这个工作簿是较早的 Excel 版本（Excel 95 或更早）保存的，追加会改变它的格式；"
                "请先用电子表格程序另存为 Excel 97-2003 工作簿");
        if (le::u16(bof.data, 2) != kGlobalsKind) refuse(".xls 文件已损坏：工作簿数据缺少开始记录");
        while (true) {
            const Record r = cursor.next();
            switch (r.type) {
                case kEof:
                    globalsEof_ = r.offset;
                    return;
                case kFilePass:
                    refuse(encryptedWorkbookProblem(r.data, "不能在其中追加行"));
                case kBoundSheet:
                    if (r.data.size() < 8) refuse(".xls 文件已损坏：工作表目录记录太短");
                    sheets_.push_back({r.offset, le::u32(r.data, 0), static_cast<std::uint8_t>(r.data[5])});
                    break;
                case kFormat:
                    if (r.data.size() >= 3) {
                        ContinuedReader text({r.data.substr(2)});
                        formats_[le::u16(r.data, 0)] = text.unicodeString(false);
                    }
                    break;
                case kXf:
                    if (r.data.size() < 20) refuse(".xls 文件已损坏：单元格格式记录太短");
                    xfs_.push_back(r.data);
                    xfEnd_ = r.offset + 4 + r.data.size();
                    break;
                case kSst: {
                    if (r.data.size() < 8) refuse(".xls 文件已损坏：共享字符串表太短");
                    sstPos_ = r.offset;
                    sstSegments_.push_back({r.offset, r.offset + 4 + 8, r.data.substr(8)});
                    while (cursor.peekType() == kContinue) {
                        const Record c = cursor.next();
                        sstSegments_.push_back({c.offset, c.offset + 4, c.data});
                    }
                    sstEnd_ = sstSegments_.back().dataStart + sstSegments_.back().data.size();
                    oldReferences_ = le::u32(r.data, 0);
                    oldUnique_ = le::u32(r.data, 4);
                    break;
                }
                case kExtSst:
                    extSstPos_ = r.offset;
                    extSstLength_ = 4 + r.data.size();
                    break;
                default:
                    break;
            }
        }
    }

    // A worksheet's BOF at an offset; throws when the offset does not hold one.
    RecordCursor sheetStart(const SheetEntry& sheet) const {
        if (sheet.offset >= s_.size()) refuse(".xls 文件已损坏：工作表不在工作簿数据之内");
        RecordCursor cursor(s_, sheet.offset);
        const Record bof = cursor.next();
        if (bof.type != kBof || bof.data.size() < 4) refuse(".xls 文件已损坏：工作表缺少开始记录");
        if (le::u16(bof.data, 0) != kBiff8) refuse("工作表不是 Excel 97-2003 格式，不能在其中追加行");
        return cursor;
    }

    void readFirstSheet() {
        RecordCursor cursor = sheetStart(sheets_[0]);
        {
            RecordCursor again(s_, sheets_[0].offset);
            if (le::u16(again.next().data, 2) != kWorksheetKind)
                refuse("第一个工作表不是普通工作表，不能在其中追加行");
        }
        int depth = 0;
        long lastRow = -1;    // 0-based, -1 for none
        std::string drawing;  // the sheet's drawing records, joined
        std::uint16_t previous = 0;
        while (true) {
            const Record r = cursor.next();
            if (r.type == kBof) {
                ++depth;  // an embedded chart, up to its own EOF
                continue;
            }
            if (r.type == kEof) {
                if (depth-- == 0) break;
                continue;
            }
            if (depth > 0) continue;
            const std::uint16_t before = previous;
            previous = r.type == kContinue ? before : r.type;
            switch (r.type) {
                case kIndex:
                    if (r.data.size() < 16 || (r.data.size() - 16) % 4 != 0)
                        refuse(".xls 文件已损坏：工作表的行索引记录长度不对");
                    index_ = {r.offset, r.data};
                    break;
                case kDimensions:
                    if (r.data.size() < 14) refuse(".xls 文件已损坏：工作表的范围记录太短");
                    dimensions_ = r.offset;
                    dimensionsEnd_ = r.offset + 4 + r.data.size();
                    break;
                case kDefaultRowHeight:
                    if (r.data.size() >= 4) rowHeight_ = le::u16(r.data, 2);
                    break;
                // What the sheet holds beyond its cells: an empty merged range, a comment on an
                // empty cell, a link, a drawn object. The new rows go below all of it.
                case kMergedCells:
                    for (size_t at = 2; at + 8 <= r.data.size(); at += 8)
                        lastRow = std::max<long>(lastRow, le::u16(r.data, at + 2));
                    break;
                case kNote:
                case kHLink:
                    if (r.data.size() >= 4)
                        lastRow = std::max<long>(lastRow, le::u16(r.data, r.type == kHLink ? 2 : 0));
                    break;
                case kMsoDrawing:
                    drawing.append(r.data);
                    break;
                case kContinue:
                    if (before == kMsoDrawing) drawing.append(r.data);
                    break;
                default:
                    if (!inCellTable(r.type)) break;
                    cellTableEnd_ = r.offset + 4 + r.data.size();
                    if ((isCell(r.type) || r.type == kRow) && r.data.size() >= 2)
                        lastRow = std::max<long>(lastRow, le::u16(r.data, 0));
                    break;
            }
        }
        lastRow = std::max(lastRow, lastAnchoredRow(drawing));
        if (dimensions_ == npos) refuse(".xls 文件已损坏：工作表缺少范围记录（DIMENSIONS）");
        if (cellTableEnd_ == npos) cellTableEnd_ = dimensionsEnd_;
        used_ = static_cast<int>(lastRow + 1);
    }

    // --- the new content ------------------------------------------------------------------------

    // Each non-empty text's index in the shared string table, the new strings in order.
    void collectStrings() {
        size_t texts = 0;
        for (const auto& row : rows_) {
            cells_ += row.size();
            for (const auto& t : row)
                texts += t.empty() ? 0 : 1;
        }
        if (rows_.size() > 0 &&
            std::any_of(rows_.begin(), rows_.end(), [](auto& r) { return r.size() > 256; }))
            refuse(".xls 工作表最多只能有 256 列");
        std::vector<std::string_view> views;
        views.reserve(texts);
        for (const auto& row : rows_)
            for (const auto& text : row)
                if (!text.empty()) views.push_back(text);
        cellStrings_ = StringIndex(texts).addAll(views);
        for (size_t k = 0; k < views.size(); ++k) {
            if (cellStrings_[k] == strings_.size()) {  // the text's first appearance
                strings_.push_back(utf8ToUtf16(views[k]));
                if (strings_.back().size() > 32767) refuse("有一个单元格超过 32767 个字符");
            }
            cellStrings_[k] += oldUnique_;
        }
        if (static_cast<std::uint64_t>(oldUnique_) + strings_.size() >
            std::numeric_limits<std::uint32_t>::max())
            refuse("共享字符串表太大");
    }

    bool isTextFormat(std::uint16_t format) const {
        const auto custom = formats_.find(format);
        return custom != formats_.end() ? custom->second == "@" : format == 49;
    }

    // The cell format of the new cells: an existing plain cell format whose number format is text
    // (default font, general alignment, no border or fill), else one added after the last.
    std::uint16_t textFormat() {
        for (size_t i = 0; i < xfs_.size(); ++i) {
            const std::string_view d = xfs_[i];
            const bool cellXf = (le::u16(d, 4) & 0x0004) == 0;
            const bool plain = le::u16(d, 0) == 0 && (static_cast<std::uint8_t>(d[6]) & 0x0F) == 0 &&
                               le::u32(d, 10) == 0 && (le::u32(d, 14) >> 26) == 0;
            if (cellXf && plain && isTextFormat(le::u16(d, 2))) return static_cast<std::uint16_t>(i);
        }
        if (xfs_.empty()) refuse(".xls 文件已损坏：没有单元格格式");
        if (xfs_.size() >= kMaxXfs) refuse("工作簿的单元格格式已达上限，不能再加文本格式");
        // Locked cell format on the Normal style, default font, its own number format "@".
        const std::string d = xfData(0, 49, 0x0001, 0x04);
        std::string rec;
        putRecord(rec, kXf, d);
        edits_.push_back({xfEnd_, 0, rec});
        return static_cast<std::uint16_t>(xfs_.size());
    }

    // ROW records and cells in blocks of up to 32 rows that never cross a multiple of 32, each with
    // a DBCELL when the sheet keeps an INDEX. Returns the edit's index.
    size_t addCellBlocks(size_t firstRow, std::uint16_t xf) {
        std::string out;
        out.reserve(rows_.size() * 24 + cells_ * 14 + 64);
        size_t nextString = 0;
        const bool dbCells = index_.pos != npos;
        for (size_t r = 0; r < rows_.size();) {
            size_t end = r + 1;
            while (end < rows_.size() && (firstRow + end) % kRowsPerBlock != 0)
                ++end;
            std::vector<size_t> rowRecords, firstCells;
            for (size_t i = r; i < end; ++i) {
                if (rows_[i].empty()) continue;
                rowRecords.push_back(out.size());
                le::put16(out, kRow);
                le::put16(out, 16);
                le::put16(out, static_cast<std::uint16_t>(firstRow + i));
                le::put16(out, 0);
                le::put16(out, static_cast<std::uint16_t>(rows_[i].size()));
                le::put16(out, rowHeight_);
                le::put32(out, 0);
                le::put16(out, 0x0100);
                le::put16(out, 0x000F);
                lastRow_ = firstRow + i;
                columns_ = std::max(columns_, rows_[i].size());
            }
            for (size_t i = r; i < end; ++i) {
                if (rows_[i].empty()) continue;
                firstCells.push_back(out.size());
                for (size_t c = 0; c < rows_[i].size(); ++c) {
                    const bool text = !rows_[i][c].empty();
                    le::put16(out, text ? kLabelSst : kBlank);
                    le::put16(out, text ? 10 : 6);
                    le::put16(out, static_cast<std::uint16_t>(firstRow + i));
                    le::put16(out, static_cast<std::uint16_t>(c));
                    le::put16(out, xf);
                    if (text) le::put32(out, cellStrings_[nextString++]);
                }
            }
            if (dbCells && !rowRecords.empty()) {
                // Offsets back to the block's first ROW record, and of each row's first cell: the
                // first from the record after the first ROW record, each next from the one before.
                dbCellOffsets_.push_back(out.size());
                std::string d;
                le::put32(d, static_cast<std::uint32_t>(out.size() - rowRecords.front()));
                size_t from = rowRecords.front() + 20;
                for (size_t at : firstCells) {
                    le::put16(d, static_cast<std::uint16_t>(at - from));
                    from = at;
                }
                putRecord(out, kDbCell, d);
            }
            r = end;
        }
        edits_.push_back({cellTableEnd_, 0, std::move(out)});
        return edits_.size() - 1;
    }

    // New strings go into CONTINUE records after the table (or a new table before the globals'
    // end); the counts in the SST header follow; an EXTSST is rebuilt for the grown table.
    void addSharedStrings() {
        if (strings_.empty()) return;
        const std::uint32_t references = static_cast<std::uint32_t>(cellStrings_.size());
        std::string header;
        le::put32(header, (sstPos_ == npos ? 0 : oldReferences_) + references);
        le::put32(header, oldUnique_ + static_cast<std::uint32_t>(strings_.size()));
        SstBuilder sst(sstPos_ == npos ? kSst : kContinue, sstPos_ == npos ? std::string_view(header) : "");
        const std::uint32_t total = oldUnique_ + static_cast<std::uint32_t>(strings_.size());
        perBucket_ = extSstBucketSize(total);
        for (size_t i = 0; i < strings_.size(); ++i) {
            const SstBuilder::Place place = sst.add(strings_[i]);
            if ((oldUnique_ + i) % perBucket_ == 0) newBuckets_.push_back(place);
        }
        const size_t buckets = (total + perBucket_ - 1) / perBucket_;
        std::string extsst(4 + 2 + 8 * buckets, '\0');
        if (sstPos_ == npos) {
            sstEdit_ = edits_.size();
            edits_.push_back({globalsEof_, 0, sst.finish()});
            extSstEdit_ = edits_.size();
            edits_.push_back({globalsEof_, 0, extsst});  // placed after the new table, same position
            return;
        }
        edits_.push_back({sstPos_ + 4, 8, header});
        sstEdit_ = edits_.size();
        edits_.push_back({sstEnd_, 0, sst.finish()});
        if (extSstPos_ != npos) {
            extSstEdit_ = edits_.size();
            edits_.push_back({extSstPos_, extSstLength_, extsst});
        }
    }

    // The EXTSST record: old strings' places found by walking the old table, new ones from the
    // builder, all as stream offsets of the new stream.
    std::string extSst() const {
        std::vector<SstBuilder::Place> buckets;
        if (sstPos_ != npos && oldUnique_ > 0) {
            std::vector<std::string_view> segs;
            for (const auto& seg : sstSegments_)
                segs.push_back(seg.data);
            ContinuedReader reader(std::move(segs));
            for (std::uint32_t i = 0; i < oldUnique_; ++i) {
                if (i % perBucket_ == 0) {
                    const auto [seg, at] = reader.position();
                    const size_t pos = sstSegments_[seg].dataStart + at;
                    buckets.push_back({map(pos), static_cast<std::uint16_t>(pos - sstSegments_[seg].record)});
                }
                reader.skipUnicodeString();
            }
        }
        const size_t base = newStart(*sstEdit_);
        for (const auto& b : newBuckets_)
            buckets.push_back({base + b.offset, b.inRecord});
        std::string rec;
        putRecord(rec, kExtSst, extSstData(perBucket_, buckets));
        return rec;
    }

    void patchDimensions(size_t firstRow) {
        const std::string_view d = s_.substr(dimensions_ + 4, 14);
        const bool empty = used_ == 0;
        std::string n;
        le::put32(n, empty ? static_cast<std::uint32_t>(firstRow) : le::u32(d, 0));
        le::put32(
            n, std::max<std::uint32_t>(empty ? 0 : le::u32(d, 4), static_cast<std::uint32_t>(lastRow_ + 1)));
        le::put16(n, 0);
        le::put16(n, static_cast<std::uint16_t>(std::max<size_t>(empty ? 0 : le::u16(d, 10), columns_)));
        n.append(d.substr(12, 2));
        edits_.push_back({dimensions_ + 4, 14, n});
    }

    // The first sheet's INDEX grows by one entry per new block; its content is filled in later.
    std::optional<size_t> growIndex() {
        if (index_.pos == npos) return std::nullopt;
        edits_.push_back({index_.pos, 4 + index_.data.size(),
                          std::string(4 + index_.data.size() + 4 * dbCellOffsets_.size(), '\0')});
        return edits_.size() - 1;
    }

    void fillFirstIndex(size_t edit, size_t blockEdit, size_t firstRow) {
        const std::string_view d = index_.data;
        const bool empty = used_ == 0;
        std::string n;
        le::put32(n, le::u32(d, 0));
        le::put32(n, empty ? static_cast<std::uint32_t>(firstRow) : le::u32(d, 4));
        le::put32(n, static_cast<std::uint32_t>(lastRow_ + 1));
        le::put32(n, le::u32(d, 12) ? static_cast<std::uint32_t>(map(le::u32(d, 12))) : 0);
        for (size_t at = 16; at + 4 <= d.size(); at += 4)
            le::put32(n, static_cast<std::uint32_t>(map(le::u32(d, at))));
        const size_t base = newStart(blockEdit);
        for (size_t off : dbCellOffsets_)
            le::put32(n, static_cast<std::uint32_t>(base + off));
        std::string rec;
        putRecord(rec, kIndex, n);
        edits_[edit].bytes = rec;
    }

    // Another sheet's INDEX holds stream offsets too: they move with the sheet.
    void remapIndex(const SheetEntry& sheet) {
        RecordCursor cursor = sheetStart(sheet);
        while (!cursor.atEnd()) {
            const Record r = cursor.next();
            if (r.type == kDimensions || r.type == kEof || r.type == kBof || inCellTable(r.type)) return;
            if (r.type != kIndex) continue;
            if (r.data.size() < 16 || (r.data.size() - 16) % 4 != 0)
                refuse(".xls 文件已损坏：工作表的行索引记录长度不对");
            std::string n(r.data.substr(0, 12));
            le::put32(n, le::u32(r.data, 12) ? static_cast<std::uint32_t>(map(le::u32(r.data, 12))) : 0);
            for (size_t at = 16; at + 4 <= r.data.size(); at += 4)
                le::put32(n, static_cast<std::uint32_t>(map(le::u32(r.data, at))));
            edits_.push_back({r.offset + 4, n.size(), n});
            return;
        }
    }

    // --- positions ------------------------------------------------------------------------------

    // Where a record that starts at old position p lands in the new stream.
    size_t map(size_t p) const {
        long long delta = 0;
        for (const auto& e : edits_)
            if (e.pos + e.removed <= p) delta += e.delta();
        return static_cast<size_t>(static_cast<long long>(p) + delta);
    }

    // Where the bytes of an edit start in the new stream.
    size_t newStart(size_t edit) const {
        const Edit& me = edits_[edit];
        long long delta = 0;
        for (size_t i = 0; i < edits_.size(); ++i)
            if (i != edit && edits_[i].before(me)) delta += edits_[i].delta();
        return static_cast<size_t>(static_cast<long long>(me.pos) + delta);
    }

    std::string apply() {
        std::stable_sort(edits_.begin(), edits_.end(),
                         [](const Edit& a, const Edit& b) { return a.before(b); });
        size_t size = s_.size();
        for (const auto& e : edits_)
            size = static_cast<size_t>(static_cast<long long>(size) + e.delta());
        std::string out;
        out.reserve(size);
        size_t at = 0;
        for (const auto& e : edits_) {
            if (e.pos < at || e.pos + e.removed > s_.size()) refuse(".xls 文件已损坏：工作簿的记录互相重叠");
            out.append(s_.substr(at, e.pos - at));
            out += e.bytes;
            at = e.pos + e.removed;
        }
        out.append(s_.substr(at));
        return out;
    }

    struct SstSegment {
        size_t record;     // record header position
        size_t dataStart;  // stream position of data[0]
        std::string_view data;
    };

    std::string_view s_;
    const std::vector<std::vector<std::string>>& rows_;
    std::vector<Edit> edits_;

    // globals
    std::vector<SheetEntry> sheets_;
    std::map<std::uint16_t, std::string> formats_;
    std::vector<std::string_view> xfs_;
    size_t xfEnd_ = npos, globalsEof_ = npos;
    size_t sstPos_ = npos, sstEnd_ = npos, extSstPos_ = npos, extSstLength_ = 0;
    std::vector<SstSegment> sstSegments_;
    std::uint32_t oldReferences_ = 0, oldUnique_ = 0;

    // first sheet
    IndexRecord index_;
    size_t dimensions_ = npos, dimensionsEnd_ = npos, cellTableEnd_ = npos;
    std::uint16_t rowHeight_ = 255;
    int used_ = 0;

    // new content
    size_t cells_ = 0, lastRow_ = 0, columns_ = 0;
    std::vector<std::u16string> strings_;
    std::vector<std::uint32_t> cellStrings_;
    std::vector<size_t> dbCellOffsets_;
    std::vector<SstBuilder::Place> newBuckets_;
    std::uint16_t perBucket_ = 8;
    std::optional<size_t> sstEdit_, extSstEdit_;
};

}  // namespace

XlsAppendResult appendRowsToXls(std::string file, const std::vector<std::vector<std::string>>& rows) {
    const CompoundFile container(std::move(file));
    std::optional<std::string> stream = container.stream("Workbook");
    if (!stream) {
        if (container.stream("Book"))
            refuse(
                "这个工作簿是较早的 Excel 版本（Excel 95 或更早）保存的，追加会改变它的格式；"
                "请先用电子表格程序另存为 Excel 97-2003 工作簿");
        refuse(".xls 文件中没有工作簿数据");
    }
    XlsAppendResult result;
    std::string grown = Appender(*stream, rows).run(result.usedRows);
    result.bytes = container.withStream("Workbook", std::move(grown));
    return result;
}

}  // namespace ca::spreadsheet
