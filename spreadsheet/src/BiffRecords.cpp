#include "BiffRecords.h"

#include <algorithm>

#include "ByteOrder.h"
#include "TextCodec.h"
#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet::biff {

bool fitsOneByte(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

void appendChars(std::string& out, std::u16string_view s, bool compressed) {
    const size_t at = out.size();
    out.resize(at + s.size() * (compressed ? 1 : 2));
    char* p = out.data() + at;
    for (char16_t c : s) {
        *p++ = static_cast<char>(c & 0xFF);
        if (!compressed) *p++ = static_cast<char>(c >> 8);
    }
}

std::string xfData(std::uint16_t font, std::uint16_t format, std::uint16_t flags, std::uint8_t used) {
    std::string d;
    le::put16(d, font);
    le::put16(d, format);
    le::put16(d, flags);
    d.push_back(0x20);  // bottom aligned
    d.push_back(0);
    d.push_back(0);
    d.push_back(static_cast<char>(used));
    le::put32(d, 0);
    le::put32(d, 0);
    le::put16(d, 0x20C0);
    return d;
}

void putRecord(std::string& out, std::uint16_t type, std::string_view data) {
    le::put16(out, type);
    le::put16(out, static_cast<std::uint16_t>(data.size()));
    out.append(data);
}

Record RecordCursor::next() {
    if (atEnd()) throw FormatError(".xls 文件已损坏：记录没有正常结束");
    Record r;
    r.offset = pos_;
    r.type = le::u16(stream_, pos_);
    const std::uint16_t len = le::u16(stream_, pos_ + 2);
    if (pos_ + 4 + len > stream_.size()) throw FormatError(".xls 文件已损坏：记录被截断");
    r.data = stream_.substr(pos_ + 4, len);
    pos_ += 4 + static_cast<size_t>(len);
    return r;
}

std::uint16_t RecordCursor::peekType() const {
    return atEnd() ? 0 : le::u16(stream_, pos_);
}

bool ContinuedReader::nextSegment() {
    while (seg_ < segs_.size() && pos_ >= segs_[seg_].size()) {
        ++seg_;
        pos_ = 0;
    }
    return seg_ < segs_.size();
}

bool ContinuedReader::atEnd() {
    return !nextSegment();
}

std::uint8_t ContinuedReader::byte() {
    if (!nextSegment()) throw FormatError(".xls 文件已损坏：文本被截断");
    return static_cast<std::uint8_t>(segs_[seg_][pos_++]);
}

std::uint16_t ContinuedReader::u16() {
    const std::uint16_t lo = byte();
    return static_cast<std::uint16_t>(lo | (byte() << 8));
}

std::uint32_t ContinuedReader::u32() {
    const std::uint32_t lo = u16();
    return lo | (static_cast<std::uint32_t>(u16()) << 16);
}

void ContinuedReader::skip(std::uint64_t n) {
    while (n > 0) {
        if (!nextSegment()) throw FormatError(".xls 文件已损坏：文本被截断");
        const size_t take = static_cast<size_t>(std::min<std::uint64_t>(n, segs_[seg_].size() - pos_));
        pos_ += take;
        n -= take;
    }
}

std::pair<size_t, size_t> ContinuedReader::position() {
    if (!nextSegment()) throw FormatError(".xls 文件已损坏：文本被截断");
    return {seg_, pos_};
}

void ContinuedReader::characters(size_t cch, bool wide, std::u16string* units) {
    while (cch > 0) {
        if (seg_ >= segs_.size()) throw FormatError(".xls 文件已损坏：文本被截断");
        if (pos_ >= segs_[seg_].size()) {
            // At a record boundary the characters go on after a fresh option byte.
            ++seg_;
            pos_ = 0;
            if (seg_ >= segs_.size() || segs_[seg_].empty()) throw FormatError(".xls 文件已损坏：文本被截断");
            wide = static_cast<std::uint8_t>(segs_[seg_][pos_++]) & 0x01;
        }
        const std::string_view s = segs_[seg_];
        const size_t width = wide ? 2 : 1;
        const size_t n = std::min(cch, (s.size() - pos_) / width);
        if (n == 0) {
            pos_ = s.size();  // a stray odd byte before the boundary
            continue;
        }
        if (units) {
            for (size_t i = 0; i < n; ++i) {
                const size_t at = pos_ + i * width;
                units->push_back(wide ? static_cast<char16_t>(le::u16(s, at))
                                      : static_cast<char16_t>(static_cast<unsigned char>(s[at])));
            }
        }
        pos_ += n * width;
        cch -= n;
    }
}

std::string ContinuedReader::unicodeString(bool shortLength) {
    const size_t cch = shortLength ? byte() : u16();
    const std::uint8_t options = byte();
    const std::uint16_t runs = (options & 0x08) ? u16() : 0;
    const std::uint32_t ext = (options & 0x04) ? u32() : 0;
    std::u16string units;
    units.reserve(cch);
    characters(cch, options & 0x01, &units);
    skip(4ull * runs + ext);
    return utf16ToUtf8(units);
}

void ContinuedReader::skipUnicodeString() {
    const size_t cch = u16();
    const std::uint8_t options = byte();
    const std::uint16_t runs = (options & 0x08) ? u16() : 0;
    const std::uint32_t ext = (options & 0x04) ? u32() : 0;
    characters(cch, options & 0x01, nullptr);
    skip(4ull * runs + ext);
}

}  // namespace ca::spreadsheet::biff
