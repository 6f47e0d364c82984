#include "ca/spreadsheet/CompoundFileWriter.h"

#include <cstdint>
#include <vector>

#include "ByteOrder.h"

namespace ca::spreadsheet {

namespace {
using namespace cfb;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD, kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kHeaderDifat = 109, kPerFat = kSectorSize / 4, kPerDifat = kSectorSize / 4 - 1;

std::uint32_t sectorsFor(size_t bytes) {
    return static_cast<std::uint32_t>((bytes + kSectorSize - 1) / kSectorSize);
}

void directoryEntry(std::string& out, std::u16string_view name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint32_t size) {
    const size_t at = out.size();
    out.append(kEntrySize, '\0');
    for (size_t i = 0; i < name.size() && i < 31; ++i)
        le::set16(out, at + 2 * i, name[i]);
    le::set16(out, at + 0x40, static_cast<std::uint16_t>(name.empty() ? 0 : 2 * (name.size() + 1)));
    out[at + 0x42] = static_cast<char>(type);
    out[at + 0x43] = type ? 1 : 0;  // black; unused entries stay all zero
    le::set32(out, at + 0x44, kNoStream);
    le::set32(out, at + 0x48, kNoStream);
    le::set32(out, at + 0x4C, child);
    le::set32(out, at + kEntryStart, start);
    le::set32(out, at + kEntrySize64, size);
}
}  // namespace

std::vector<std::uint32_t> compoundChainStarts(const std::vector<size_t>& sizes) {
    std::vector<std::uint32_t> starts;
    std::uint32_t next = 0;
    for (size_t size : sizes) {
        starts.push_back(size == 0 ? kEndOfChain : next);
        next += sectorsFor(size);
    }
    return starts;
}

std::string assembleCompoundFile(const std::vector<std::string_view>& chains, size_t directory, int miniFat) {
    std::vector<size_t> sizes;
    for (auto c : chains)
        sizes.push_back(c.size());
    const std::vector<std::uint32_t> starts = compoundChainStarts(sizes);
    std::uint32_t dataSectors = 0;
    for (auto c : chains)
        dataSectors += sectorsFor(c.size());

    // Find FAT and DIFAT sector counts that cover every sector including themselves.
    std::uint32_t fat = 1, difat = 0;
    while (true) {
        difat = fat <= kHeaderDifat ? 0 : (fat - kHeaderDifat + kPerDifat - 1) / kPerDifat;
        if (static_cast<std::uint64_t>(fat) * kPerFat >= dataSectors + fat + difat) break;
        ++fat;
    }
    const std::uint32_t fatStart = dataSectors, difatStart = fatStart + fat;

    std::vector<std::uint32_t> table(static_cast<size_t>(fat) * kPerFat, kFreeSector);
    for (size_t c = 0; c < chains.size(); ++c) {
        const std::uint32_t n = sectorsFor(chains[c].size());
        for (std::uint32_t i = 0; i < n; ++i)
            table[starts[c] + i] = i + 1 < n ? starts[c] + i + 1 : kEndOfChain;
    }
    for (std::uint32_t i = 0; i < fat; ++i)
        table[fatStart + i] = kFatSect;
    for (std::uint32_t i = 0; i < difat; ++i)
        table[difatStart + i] = kDifSect;

    const bool hasMiniFat = miniFat >= 0 && !chains[static_cast<size_t>(miniFat)].empty();
    std::string out;
    out.reserve(kSectorSize * (static_cast<size_t>(difatStart + difat) + 1));
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
    le::put32(out, starts[directory]);
    le::put32(out, 0);     // transaction signature
    le::put32(out, 4096);  // mini stream cutoff
    le::put32(out, hasMiniFat ? starts[static_cast<size_t>(miniFat)] : kEndOfChain);
    le::put32(out, hasMiniFat ? sectorsFor(chains[static_cast<size_t>(miniFat)].size()) : 0);
    le::put32(out, difat ? difatStart : kEndOfChain);
    le::put32(out, difat);
    for (std::uint32_t i = 0; i < kHeaderDifat; ++i)
        le::put32(out, i < fat ? fatStart + i : kFreeSector);

    for (auto c : chains) {
        out.append(c);
        out.append(static_cast<size_t>(sectorsFor(c.size())) * kSectorSize - c.size(), '\0');
    }
    for (std::uint32_t v : table)
        le::put32(out, v);
    for (std::uint32_t d = 0; d < difat; ++d) {
        for (std::uint32_t i = 0; i < kPerDifat; ++i) {
            const std::uint32_t index = kHeaderDifat + d * kPerDifat + i;
            le::put32(out, index < fat ? fatStart + index : kFreeSector);
        }
        le::put32(out, d + 1 < difat ? difatStart + d + 1 : kEndOfChain);
    }
    return out;
}

std::string writeCompoundFile(std::string_view streamName, std::string stream) {
    if (stream.size() < 4096) stream.resize(4096, '\0');
    std::string dir;
    directoryEntry(dir, u"Root Entry", 5, 1, kEndOfChain, 0);
    std::u16string name(streamName.begin(), streamName.end());
    directoryEntry(dir, name, 2, kNoStream, 0, static_cast<std::uint32_t>(stream.size()));
    directoryEntry(dir, u"", 0, kNoStream, 0, 0);
    directoryEntry(dir, u"", 0, kNoStream, 0, 0);
    return assembleCompoundFile({stream, dir}, 1, -1);
}

}  // namespace ca::spreadsheet
