#include "SstBuilder.h"

#include <algorithm>
#include <functional>

#include "BiffRecords.h"
#include "ByteOrder.h"

namespace ca::spreadsheet::biff {

StringIndex::StringIndex(size_t expected) {
    size_t slots = 16;
    while (slots < 2 * expected)
        slots *= 2;
    table_.assign(slots, Slot{});
    unique_.reserve(expected);
    mask_ = slots - 1;
}

std::vector<std::uint32_t> StringIndex::addAll(const std::vector<std::string_view>& texts) {
    constexpr size_t kAhead = 8;
    std::vector<std::uint64_t> hashes;
    hashes.reserve(texts.size());
    for (std::string_view text : texts)
        hashes.push_back(std::hash<std::string_view>()(text));
    std::vector<std::uint32_t> indexes;
    indexes.reserve(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i + kAhead < texts.size())
            __builtin_prefetch(&table_[static_cast<size_t>(hashes[i + kAhead]) & mask_]);
        indexes.push_back(add(texts[i], hashes[i]));
    }
    return indexes;
}

std::uint32_t StringIndex::add(std::string_view text, std::uint64_t hash) {
    const auto high = static_cast<std::uint32_t>(hash >> 32);
    size_t slot = static_cast<size_t>(hash) & mask_;
    while (table_[slot].index != 0 && (table_[slot].hash != high || unique_[table_[slot].index - 1] != text))
        slot = (slot + 1) & mask_;
    if (table_[slot].index == 0) {
        unique_.push_back(text);
        table_[slot] = Slot{static_cast<std::uint32_t>(unique_.size()), high};
    }
    return table_[slot].index - 1;
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
