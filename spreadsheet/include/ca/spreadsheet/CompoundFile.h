#pragma once
// Reader of the Compound File container that holds a .xls workbook: header, DIFAT, FAT, mini FAT
// and the directory, with 512- and 4096-byte sectors. Every chain is bounds- and loop-checked, so a
// damaged file raises FormatError instead of reading outside the buffer or running forever.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ca::spreadsheet {

class CompoundFile {
public:
    // Parses the container; throws FormatError when it is not a Compound File or is damaged.
    explicit CompoundFile(std::string bytes);

    static bool hasSignature(std::string_view bytes);

    // The content of the stream with this name directly under the root storage (names compared
    // without regard to ASCII case), or nothing when there is no such stream.
    std::optional<std::string> stream(std::string_view name) const;

    std::vector<std::string> streamNames() const;

    // The container with the content of the named top-level stream replaced and everything else
    // kept: every other stream's bytes, every directory entry as stored (names, class ids, times,
    // the tree) with only the start sectors and that stream's size changed. Written as version 3
    // (512-byte sectors); a replaced stream shorter than 4096 bytes is padded with zeros to that
    // length so that it stays out of the mini stream. Throws FormatError without such a stream.
    std::string withStream(std::string_view name, std::string content) const;

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;  // 1 storage, 2 stream, 5 root
        std::uint32_t left = 0, right = 0, child = 0, start = 0;
        std::uint64_t size = 0;
    };

    std::string sectorChain(std::uint32_t start, std::uint64_t size) const;
    std::string miniChain(std::uint32_t start, std::uint64_t size) const;
    std::vector<std::uint32_t> topLevel() const;
    std::optional<std::uint32_t> find(std::string_view name) const;
    std::string_view sector(std::uint32_t index) const;

    std::string bytes_;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<Entry> entries_;
    std::string directory_;  // the directory's sectors as stored
    std::string miniStream_;
};

}  // namespace ca::spreadsheet
