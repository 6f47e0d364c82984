#pragma once
// Record identifiers and record-level helpers shared by the .xls reader and writer.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ca::spreadsheet::biff {

enum : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kWindow1 = 0x003D,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
    kRow = 0x0208,
    kDbCell = 0x00D7,
    kIndex = 0x020B,
    kDimensions = 0x0200,
    kDefaultRowHeight = 0x0225,
    kExtSst = 0x00FF,
    kArray = 0x0221,
    kShrFmla = 0x04BC,
    kTable = 0x0236,
    kNote = 0x001C,
    kMsoDrawing = 0x00EC,
    kMergedCells = 0x00E5,
    kHLink = 0x01B8,
};

bool fitsOneByte(std::u16string_view s);
// Characters of a string: one byte each when compressed, else UTF-16.
void appendChars(std::string& out, std::u16string_view s, bool compressed);
// The data of a BIFF8 XF record with no border or fill, bottom aligned: font, number format,
// the type-and-parent flags, and the attributes it sets itself.
std::string xfData(std::uint16_t font, std::uint16_t format, std::uint16_t flags, std::uint8_t used);
// A record: type, length, data.
void putRecord(std::string& out, std::uint16_t type, std::string_view data);

// Largest record body in BIFF8; longer data continues in CONTINUE records.
constexpr size_t kMaxRecordData = 8224;

struct Record {
    std::uint16_t type = 0;
    std::string_view data;
    size_t offset = 0;  // of the record header in the stream
};

// Walks the records of a stream from an offset; throws FormatError on a record cut off by the end.
class RecordCursor {
public:
    RecordCursor(std::string_view stream, size_t offset) : stream_(stream), pos_(offset) {}
    bool atEnd() const { return pos_ + 4 > stream_.size(); }
    Record next();
    // Type of the following record without moving, 0 at the end.
    std::uint16_t peekType() const;

private:
    std::string_view stream_;
    size_t pos_;
};

// Reads across a record and its CONTINUE records. Fixed-size fields run on over the boundaries;
// characters of a string restart at a boundary with an option byte saying whether the rest are
// compressed (one byte each) or UTF-16, as BIFF8 splits strings.
class ContinuedReader {
public:
    explicit ContinuedReader(std::vector<std::string_view> segments) : segs_(std::move(segments)) {}
    bool atEnd();
    std::uint8_t byte();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::uint64_t n);
    // A BIFF8 Unicode string: cch (8 or 16 bits), option byte, optional rich-text and extended
    // parts; returns UTF-8.
    std::string unicodeString(bool shortLength);
    // Passes over a long Unicode string (as in the shared string table) without decoding it.
    void skipUnicodeString();
    // Where the next byte is: the segment's index and the offset in it, past any segment already
    // read to its end. Throws FormatError when nothing is left.
    std::pair<size_t, size_t> position();

private:
    bool nextSegment();
    // Walks the characters of a string of cch characters; with units, collects them.
    void characters(size_t cch, bool wide, std::u16string* units);
    std::vector<std::string_view> segs_;
    size_t seg_ = 0, pos_ = 0;
};

}  // namespace ca::spreadsheet::biff
