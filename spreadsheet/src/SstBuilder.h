#pragma once
// Shared-string records as BIFF8 requires them: a string header never splits, characters continue
// after an option byte in the next CONTINUE record, UTF-16 characters never split in half. Used for
// a new table and for strings added at the end of an existing one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ca::spreadsheet::biff {

// Finds repeated texts among those added, with an open-addressing table of indexes: no node per
// text, which matters with hundreds of thousands of cells. Each slot keeps part of its text's hash
// beside the index, so a probe passes a slot of another text without reading that text (in a table
// of distinct texts nearly every probe of an occupied slot is such a pass). The texts must outlive
// the index.
class StringIndex {
public:
    explicit StringIndex(size_t expected);
    // Each text's index in the order of first appearance: a text is new exactly when its index equals
    // the number of distinct texts before it. Reading ahead, the slot a text a few places further on
    // will probe is asked of the memory early, so that the table's cache misses overlap instead of
    // following one another.
    std::vector<std::uint32_t> addAll(const std::vector<std::string_view>& texts);

private:
    std::uint32_t add(std::string_view text, std::uint64_t hash);

    struct Slot {
        std::uint32_t index = 0;  // index + 1, 0 for a free slot
        std::uint32_t hash = 0;   // the high half of the text's hash
    };
    std::vector<Slot> table_;
    std::vector<std::string_view> unique_;
    size_t mask_;
};

class SstBuilder {
public:
    // A new table starts with an SST record holding `header` (total references, unique strings);
    // strings added to an existing table start a CONTINUE record with an empty header.
    SstBuilder(std::uint16_t firstRecord, std::string_view header);

    struct Place {
        size_t offset;           // of the string's first byte in the built records
        std::uint16_t inRecord;  // of the same byte from the start of its record (header included)
    };
    Place add(std::u16string_view s);
    std::string finish();

private:
    size_t room() const;
    void startRecord(std::uint16_t type);
    void finishRecord();
    std::string out_;
    size_t recordStart_ = 0;
};

// The EXTSST record's data for bucket starts (stream offset, offset in record), perBucket strings each.
std::string extSstData(std::uint16_t perBucket, const std::vector<SstBuilder::Place>& bucketStarts);

// Strings per EXTSST bucket for a table of `unique` strings: at most about 128 buckets, at least 8
// strings each.
std::uint16_t extSstBucketSize(size_t unique);

}  // namespace ca::spreadsheet::biff
