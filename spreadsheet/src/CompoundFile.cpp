#include "ca/spreadsheet/CompoundFile.h"

#include <algorithm>

#include "ByteOrder.h"
#include "ca/spreadsheet/CompoundFileWriter.h"
#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet {

namespace {

constexpr std::string_view kSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr size_t kHeaderDifatEntries = 109;
constexpr std::uint32_t kMiniSectorSize = 64;

[[noreturn]] void fail(const std::string& reason) {
    throw FormatError(reason);
}

char16_t lowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

std::string toUtf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace

bool CompoundFile::hasSignature(std::string_view bytes) {
    return bytes.substr(0, 8) == kSignature;
}

CompoundFile::CompoundFile(std::string bytes) : bytes_(std::move(bytes)) {
    if (!hasSignature(bytes_)) fail("不是 .xls 文件（没有 .xls 文件标志）");
    if (bytes_.size() < 512) fail(".xls 文件不完整：文件头被截断");
    const std::string h = bytes_.substr(0, 512);  // a copy: bytes_ is padded below
    const std::uint16_t shift = le::u16(h, 0x1E);
    if (shift != 9 && shift != 12) fail("不支持的 .xls 文件格式：扇区大小");
    if (le::u16(h, 0x20) != 6) fail("不支持的 .xls 文件格式：小扇区大小");
    sectorSize_ = 1u << shift;
    miniCutoff_ = le::u32(h, 0x38);
    if (miniCutoff_ != 4096) fail("不支持的 .xls 文件格式：小数据流界限");
    // A last sector cut short by the writer is padded with zeros rather than refused.
    if (bytes_.size() <= sectorSize_) fail(".xls 文件不完整：没有数据扇区");
    const size_t body = bytes_.size() - sectorSize_;
    sectorCount_ =
        static_cast<std::uint32_t>(std::min<size_t>((body + sectorSize_ - 1) / sectorSize_, 0x7FFFFFF0));
    bytes_.resize(sectorSize_ + static_cast<size_t>(sectorCount_) * sectorSize_, '\0');

    // DIFAT: 109 entries in the header, then a chain of DIFAT sectors.
    const std::uint32_t fatSectors = le::u32(h, 0x2C);
    if (fatSectors > sectorCount_) fail(".xls 文件已损坏：分配表扇区比文件中的扇区还多");
    std::vector<std::uint32_t> difat;
    for (size_t i = 0; i < kHeaderDifatEntries && difat.size() < fatSectors; ++i)
        difat.push_back(le::u32(bytes_, 0x4C + 4 * i));
    std::uint32_t next = le::u32(bytes_, 0x44);
    const std::uint32_t perDifat = sectorSize_ / 4 - 1;
    std::uint32_t steps = 0;
    while (difat.size() < fatSectors) {
        if (next >= sectorCount_) fail(".xls 文件已损坏：分配表索引链指向文件之外");
        if (++steps > sectorCount_) fail(".xls 文件已损坏：分配表索引链成环");
        std::string_view s = sector(next);
        for (std::uint32_t i = 0; i < perDifat && difat.size() < fatSectors; ++i)
            difat.push_back(le::u32(s, 4 * i));
        next = le::u32(s, 4 * perDifat);
    }

    // FAT: only the entries for sectors that exist matter.
    fat_.reserve(std::min<size_t>(static_cast<size_t>(fatSectors) * (sectorSize_ / 4), sectorCount_));
    for (std::uint32_t fs : difat) {
        if (fs >= sectorCount_) fail(".xls 文件已损坏：分配表扇区在文件之外");
        std::string_view s = sector(fs);
        for (std::uint32_t i = 0; i < sectorSize_ / 4 && fat_.size() < sectorCount_; ++i)
            fat_.push_back(le::u32(s, 4 * i));
    }

    // Directory.
    directory_ = sectorChain(le::u32(h, 0x30), UINT64_MAX);
    const std::string& dir = directory_;
    for (size_t at = 0; at + 128 <= dir.size(); at += 128) {
        Entry e;
        const std::uint16_t nameBytes = std::min<std::uint16_t>(le::u16(dir, at + 0x40), 64);
        for (size_t i = 0; i + 1 < nameBytes; i += 2) {
            char16_t c = static_cast<char16_t>(le::u16(dir, at + i));
            if (c == 0) break;
            e.name.push_back(c);
        }
        e.type = static_cast<std::uint8_t>(dir[at + 0x42]);
        e.left = le::u32(dir, at + 0x44);
        e.right = le::u32(dir, at + 0x48);
        e.child = le::u32(dir, at + 0x4C);
        e.start = le::u32(dir, at + 0x74);
        e.size = le::u64(dir, at + 0x78);
        if (sectorSize_ == 512) e.size &= 0xFFFFFFFFu;  // version 3 files may leave junk in the high half
        entries_.push_back(std::move(e));
    }
    if (entries_.empty() || entries_[0].type != 5) fail(".xls 文件已损坏：没有根目录项");

    // Mini FAT and the mini stream (held by the root entry).
    const std::uint32_t miniFatStart = le::u32(h, 0x3C);
    if (miniFatStart != kEndOfChain && miniFatStart != kNoStream) {
        const std::string mf = sectorChain(miniFatStart, UINT64_MAX);
        miniFat_.reserve(mf.size() / 4);
        for (size_t i = 0; i + 4 <= mf.size(); i += 4)
            miniFat_.push_back(le::u32(mf, i));
        if (entries_[0].size > 0) miniStream_ = sectorChain(entries_[0].start, entries_[0].size);
    }
}

std::string_view CompoundFile::sector(std::uint32_t index) const {
    return std::string_view(bytes_).substr(static_cast<size_t>(index + 1) * sectorSize_, sectorSize_);
}

// Follows a FAT chain. size UINT64_MAX means "to the end of the chain".
std::string CompoundFile::sectorChain(std::uint32_t start, std::uint64_t size) const {
    if (size != UINT64_MAX && size > bytes_.size()) fail(".xls 文件已损坏：数据流比文件还大");
    std::string out;
    if (size != UINT64_MAX) out.reserve(static_cast<size_t>(size));
    std::uint32_t s = start;
    std::uint32_t steps = 0;
    while (s != kEndOfChain && (size == UINT64_MAX || out.size() < size)) {
        if (s >= sectorCount_ || s >= fat_.size()) fail(".xls 文件已损坏：扇区链指向文件之外");
        if (++steps > sectorCount_) fail(".xls 文件已损坏：扇区链成环");
        out.append(sector(s));
        s = fat_[s];
    }
    if (size != UINT64_MAX) {
        if (out.size() < size) fail(".xls 文件已损坏：数据流比声明的长度短");
        out.resize(static_cast<size_t>(size));
    }
    return out;
}

std::string CompoundFile::miniChain(std::uint32_t start, std::uint64_t size) const {
    if (size > miniStream_.size()) fail(".xls 文件已损坏：小数据流超出了小数据区");
    const std::uint32_t miniCount = static_cast<std::uint32_t>(miniStream_.size() / kMiniSectorSize);
    std::string out;
    out.reserve(static_cast<size_t>(size));
    std::uint32_t s = start;
    std::uint32_t steps = 0;
    while (out.size() < size) {
        if (s >= miniCount || s >= miniFat_.size()) fail(".xls 文件已损坏：小扇区链指向文件之外");
        if (++steps > miniCount) fail(".xls 文件已损坏：小扇区链成环");
        out.append(miniStream_, static_cast<size_t>(s) * kMiniSectorSize, kMiniSectorSize);
        s = miniFat_[s];
    }
    out.resize(static_cast<size_t>(size));
    return out;
}

// Entries directly under the root: the red-black tree of the root's child, walked without recursion.
std::vector<std::uint32_t> CompoundFile::topLevel() const {
    std::vector<std::uint32_t> found;
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> todo{entries_[0].child};
    while (!todo.empty()) {
        std::uint32_t i = todo.back();
        todo.pop_back();
        if (i >= entries_.size() || seen[i]) continue;
        seen[i] = true;
        found.push_back(i);
        todo.push_back(entries_[i].left);
        todo.push_back(entries_[i].right);
    }
    return found;
}

std::optional<std::uint32_t> CompoundFile::find(std::string_view name) const {
    for (std::uint32_t i : topLevel()) {
        const Entry& e = entries_[i];
        if (e.type != 2 || e.name.size() != name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < name.size() && same; ++k)
            same = lowerAscii(e.name[k]) ==
                   lowerAscii(static_cast<char16_t>(static_cast<unsigned char>(name[k])));
        if (same) return i;
    }
    return std::nullopt;
}

std::optional<std::string> CompoundFile::stream(std::string_view name) const {
    const auto i = find(name);
    if (!i) return std::nullopt;
    const Entry& e = entries_[*i];
    if (e.size < miniCutoff_) return miniChain(e.start, e.size);
    return sectorChain(e.start, e.size);
}

std::string CompoundFile::withStream(std::string_view name, std::string content) const {
    const auto target = find(name);
    if (!target) fail(".xls 文件中没有工作簿数据");
    if (content.size() < miniCutoff_) content.resize(miniCutoff_, '\0');

    // Streams in whole sectors are copied into chains of their own; the mini stream (small streams)
    // is kept as it is, with the replaced stream's mini sectors marked free if it was one of them.
    std::vector<std::string> kept;
    std::vector<std::uint32_t> keptEntry;
    bool keepMini = false;
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        if (e.type != 2 || i == *target) continue;
        if (e.size >= miniCutoff_) {
            kept.push_back(sectorChain(e.start, e.size));
            keptEntry.push_back(i);
        } else if (e.size > 0) {
            keepMini = true;
        }
    }
    std::string miniStream, miniFat;
    if (keepMini) {
        miniStream = miniStream_;
        std::vector<std::uint32_t> table = miniFat_;
        const Entry& t = entries_[*target];
        if (t.size < miniCutoff_) {
            std::uint32_t s = t.start;
            for (size_t steps = 0; s < table.size() && steps < table.size(); ++steps) {
                const std::uint32_t next = table[s];
                table[s] = 0xFFFFFFFF;
                s = next;
            }
        }
        for (std::uint32_t v : table)
            le::put32(miniFat, v);
    }

    std::string dir = directory_;
    std::vector<size_t> sizes{content.size()};
    for (const auto& k : kept)
        sizes.push_back(k.size());
    const size_t miniAt = sizes.size();
    sizes.push_back(miniStream.size());
    sizes.push_back(miniFat.size());
    sizes.push_back(dir.size());
    const std::vector<std::uint32_t> starts = compoundChainStarts(sizes);
    auto patch = [&](std::uint32_t entry, std::uint32_t start, std::uint64_t size) {
        const size_t at = static_cast<size_t>(entry) * cfb::kEntrySize;
        std::string field;
        le::put32(field, start);
        le::put64(field, size);
        dir.replace(at + cfb::kEntryStart, field.size(), field);
    };
    patch(*target, starts[0], content.size());
    for (size_t k = 0; k < kept.size(); ++k)
        patch(keptEntry[k], starts[1 + k], kept[k].size());
    patch(0, keepMini ? starts[miniAt] : cfb::kEndOfChain, miniStream.size());

    std::vector<std::string_view> chains{content};
    for (const auto& k : kept)
        chains.emplace_back(k);
    chains.emplace_back(miniStream);
    chains.emplace_back(miniFat);
    chains.emplace_back(dir);
    return assembleCompoundFile(chains, chains.size() - 1, keepMini ? static_cast<int>(miniAt + 1) : -1);
}

std::vector<std::string> CompoundFile::streamNames() const {
    std::vector<std::string> names;
    for (std::uint32_t i : topLevel())
        if (entries_[i].type == 2) names.push_back(toUtf8(entries_[i].name));
    return names;
}

}  // namespace ca::spreadsheet
