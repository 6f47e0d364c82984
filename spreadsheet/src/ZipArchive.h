#pragma once
// Read-only access to the members of a zip archive held in memory (minizip underneath).
#include <optional>
#include <string>
#include <string_view>

namespace ca::spreadsheet {

class ZipArchive {
public:
    // Throws FormatError when the bytes are not a zip archive. totalBytes bounds what all reads
    // together may unpack, so that a small archive cannot make the reader use unbounded memory.
    ZipArchive(std::string_view bytes, size_t totalBytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The unpacked member (name compared without regard to case), or nothing when absent. Throws
    // FormatError when it is damaged or unpacks to more than is left of the total.
    std::optional<std::string> read(const std::string& name);

    struct Memory {
        std::string_view bytes;
        size_t pos = 0;
    };

private:
    Memory memory_;
    size_t budget_;
    void* zip_ = nullptr;
};

}  // namespace ca::spreadsheet
