#include "ca/spreadsheet/CompoundFileWriter.h"

#include <cstdint>
#include <vector>

#include "ByteOrder.h"

namespace ca::spreadsheet {

namespace {
constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFatSect = 0xFFFFFFFD, kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kHeaderDifat = 109, kPerFat = kSector / 4, kPerDifat = kSector / 4 - 1;

void directoryEntry(std::string& out, std::u16string_view name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint32_t size) {
    const size_t at = out.size();
    out.append(128, '\0');
    for (size_t i = 0; i < name.size() && i < 31; ++i)
        le::set16(out, at + 2 * i, name[i]);
    le::set16(out, at + 0x40, static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
    out[at + 0x42] = static_cast<char>(type);
    out[at + 0x43] = type ? 1 : 0;  // black; unused entries stay all zero
    le::set32(out, at + 0x44, kNoStream);
    le::set32(out, at + 0x48, kNoStream);
    le::set32(out, at + 0x4C, child);
    le::set32(out, at + 0x74, start);
    le::set32(out, at + 0x78, size);
}
}  // namespace

std::string writeCompoundFile(std::string_view streamName, std::string stream) {
    if (stream.size() < 4096) stream.resize(4096, '\0');
    const std::uint32_t size = static_cast<std::uint32_t>(stream.size());
    const std::uint32_t dataSectors = (size + kSector - 1) / kSector;
    stream.resize(static_cast<size_t>(dataSectors) * kSector, '\0');

    // Find FAT and DIFAT sector counts that cover every sector including themselves.
    const std::uint32_t fixedSectors = dataSectors + 1;  // + one directory sector
    std::uint32_t fat = 1, difat = 0;
    while (true) {
        difat = fat <= kHeaderDifat ? 0 : (fat - kHeaderDifat + kPerDifat - 1) / kPerDifat;
        if (static_cast<std::uint64_t>(fat) * kPerFat >= fixedSectors + fat + difat) break;
        ++fat;
    }
    const std::uint32_t fatStart = dataSectors, difatStart = fatStart + fat, dirSector = difatStart + difat;
    const std::uint32_t total = dirSector + 1;

    std::vector<std::uint32_t> table(static_cast<size_t>(fat) * kPerFat, kFree);
    for (std::uint32_t i = 0; i < dataSectors; ++i)
        table[i] = i + 1 < dataSectors ? i + 1 : kEnd;
    for (std::uint32_t i = 0; i < fat; ++i)
        table[fatStart + i] = kFatSect;
    for (std::uint32_t i = 0; i < difat; ++i)
        table[difatStart + i] = kDifSect;
    table[dirSector] = kEnd;

    std::string out;
    out.reserve(kSector * (static_cast<size_t>(total) + 1));
    out.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    out.append(16, '\0');    // CLSID
    le::put16(out, 0x003E);  // minor version
    le::put16(out, 0x0003);  // major version 3
    le::put16(out, 0xFFFE);  // little-endian
    le::put16(out, 9);       // 512-byte sectors
    le::put16(out, 6);       // 64-byte mini sectors
    out.append(6, '\0');
    le::put32(out, 0);  // directory sectors (0 in version 3)
    le::put32(out, fat);
    le::put32(out, dirSector);
    le::put32(out, 0);     // transaction signature
    le::put32(out, 4096);  // mini stream cutoff
    le::put32(out, kEnd);  // no mini FAT
    le::put32(out, 0);
    le::put32(out, difat ? difatStart : kEnd);
    le::put32(out, difat);
    for (std::uint32_t i = 0; i < kHeaderDifat; ++i)
        le::put32(out, i < fat ? fatStart + i : kFree);

    out += stream;
    for (std::uint32_t v : table)
        le::put32(out, v);
    for (std::uint32_t d = 0; d < difat; ++d) {
        for (std::uint32_t i = 0; i < kPerDifat; ++i) {
            const std::uint32_t index = kHeaderDifat + d * kPerDifat + i;
            le::put32(out, index < fat ? fatStart + index : kFree);
        }
        le::put32(out, d + 1 < difat ? difatStart + d + 1 : kEnd);
    }
    directoryEntry(out, u"Root Entry", 5, 1, kEnd, 0);
    std::u16string name(streamName.begin(), streamName.end());
    directoryEntry(out, name, 2, kNoStream, 0, size);
    directoryEntry(out, u"", 0, kNoStream, 0, 0);
    directoryEntry(out, u"", 0, kNoStream, 0, 0);
    return out;
}

}  // namespace ca::spreadsheet
