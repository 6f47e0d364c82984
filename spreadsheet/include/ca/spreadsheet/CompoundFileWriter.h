#pragma once
// Writer of a version 3 Compound File (512-byte sectors), the container of a .xls workbook. FAT
// sectors beyond the 109 the header lists go into DIFAT sectors.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ca::spreadsheet {

// Returns the container bytes of one stream under the root. The stream is padded with zeros to at
// least 4096 bytes so that it never goes into the mini stream.
std::string writeCompoundFile(std::string_view streamName, std::string stream);

// The general layout underneath: chains of bytes placed one after another from sector 0, each
// padded to whole sectors, then the FAT and DIFAT sectors. `directory` and `miniFat` are indexes
// into chains (miniFat < 0: there is no mini FAT). The caller fills the directory's start sectors
// from compoundChainStarts, which gives the first sector of each chain for the same sizes
// (end-of-chain for an empty one).
std::vector<std::uint32_t> compoundChainStarts(const std::vector<size_t>& sizes);
std::string assembleCompoundFile(const std::vector<std::string_view>& chains, size_t directory, int miniFat);

// Directory entry fields the writers patch.
namespace cfb {
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE, kFreeSector = 0xFFFFFFFF;
inline constexpr size_t kEntrySize = 128, kEntryStart = 0x74, kEntrySize64 = 0x78;
inline constexpr std::uint32_t kSectorSize = 512;
}  // namespace cfb

}  // namespace ca::spreadsheet
