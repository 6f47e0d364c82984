#include "SstBuilder.h"

#include <algorithm>

#include "BiffRecords.h"
#include "ByteOrder.h"

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

void putRecord(std::string& out, std::uint16_t type, std::string_view data) {
    le::put16(out, type);
    le::put16(out, static_cast<std::uint16_t>(data.size()));
    out.append(data);
}

SstBuilder::SstBuilder(std::uint16_t firstRecord, std::string_view header) {
    startRecord(firstRecord);
    out_.append(header);
}

size_t SstBuilder::room() const {
    return kMaxRecordData - (out_.size() - recordStart_ - 4);
}

void SstBuilder::startRecord(std::uint16_t type) {
    if (!out_.empty()) finishRecord();
    recordStart_ = out_.size();
    le::put16(out_, type);
    le::put16(out_, 0);
}

void SstBuilder::finishRecord() {
    le::set16(out_, recordStart_ + 2, static_cast<std::uint16_t>(out_.size() - recordStart_ - 4));
}

SstBuilder::Place SstBuilder::add(std::u16string_view s) {
    const bool compressed = fitsOneByte(s);
    const size_t width = compressed ? 1 : 2;
    if (room() < 3 + width) startRecord(kContinue);
    const Place place{out_.size(), static_cast<std::uint16_t>(out_.size() - recordStart_)};
    le::put16(out_, static_cast<std::uint16_t>(s.size()));
    out_.push_back(compressed ? 0 : 1);
    size_t done = 0;
    while (done < s.size()) {
        if (room() < width) {
            startRecord(kContinue);
            out_.push_back(compressed ? 0 : 1);
        }
        const size_t n = std::min(s.size() - done, room() / width);
        appendChars(out_, s.substr(done, n), compressed);
        done += n;
    }
    return place;
}

std::string SstBuilder::finish() {
    finishRecord();
    return std::move(out_);
}

std::string extSstData(std::uint16_t perBucket, const std::vector<SstBuilder::Place>& bucketStarts) {
    std::string d;
    le::put16(d, perBucket);
    for (const auto& b : bucketStarts) {
        le::put32(d, static_cast<std::uint32_t>(b.offset));
        le::put16(d, b.inRecord);
        le::put16(d, 0);
    }
    return d;
}

std::uint16_t extSstBucketSize(size_t unique) {
    return static_cast<std::uint16_t>(std::max<size_t>(8, unique / 128 + 1));
}

}  // namespace ca::spreadsheet::biff
