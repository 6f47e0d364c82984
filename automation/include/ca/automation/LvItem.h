#pragma once
// The list-view item record in the two layouts a client process may have. The record is written
// into the client's memory, so its layout is the client's, not ours: a 32-bit client reads the
// 40-byte form, a 64-bit client the 56-byte form with 8-byte pointers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ca/automation/Desktop.h"

namespace ca::automation {

struct LvItem32 {
    std::uint32_t mask;
    std::int32_t iItem;
    std::int32_t iSubItem;
    std::uint32_t state;
    std::uint32_t stateMask;
    std::uint32_t pszText;
    std::int32_t cchTextMax;
    std::int32_t iImage;
    std::int32_t lParam;
    std::int32_t iIndent;
};
static_assert(sizeof(LvItem32) == 40);
static_assert(offsetof(LvItem32, iSubItem) == 8);
static_assert(offsetof(LvItem32, state) == 12);
static_assert(offsetof(LvItem32, stateMask) == 16);
static_assert(offsetof(LvItem32, pszText) == 20);
static_assert(offsetof(LvItem32, cchTextMax) == 24);

struct alignas(8) LvItem64 {
    std::uint32_t mask;
    std::int32_t iItem;
    std::int32_t iSubItem;
    std::uint32_t state;
    std::uint32_t stateMask;
    std::uint32_t padding0;
    alignas(8) std::uint64_t pszText;
    std::int32_t cchTextMax;
    std::int32_t iImage;
    alignas(8) std::int64_t lParam;
    std::int32_t iIndent;
    std::uint32_t padding1;
};
static_assert(sizeof(LvItem64) == 56);
static_assert(offsetof(LvItem64, iSubItem) == 8);
static_assert(offsetof(LvItem64, state) == 12);
static_assert(offsetof(LvItem64, stateMask) == 16);
static_assert(offsetof(LvItem64, pszText) == 24);
static_assert(offsetof(LvItem64, cchTextMax) == 32);

// The members the list-view requests use, independent of layout.
struct LvItemFields {
    std::int32_t subItem = 0;
    std::uint32_t state = 0;
    std::uint32_t stateMask = 0;
    std::uint64_t text = 0;  // address of the text buffer in the client's process
    std::int32_t textMax = 0;
};

// Size of the record in a process of the given bitness (40 or 56).
std::size_t lvItemSize(Bitness bitness);
// The record's bytes in the layout of the bitness; unset members are zero.
std::vector<unsigned char> encodeLvItem(Bitness bitness, const LvItemFields& fields);
// Reads the members back from a record's bytes (false when bytes is too short).
bool decodeLvItem(Bitness bitness, const unsigned char* bytes, std::size_t size, LvItemFields& out);

}  // namespace ca::automation
