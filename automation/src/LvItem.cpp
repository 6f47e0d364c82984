#include "ca/automation/LvItem.h"

#include <cstring>

namespace ca::automation {

std::size_t lvItemSize(Bitness bitness) {
    return bitness == Bitness::Bits32 ? sizeof(LvItem32) : sizeof(LvItem64);
}

std::vector<unsigned char> encodeLvItem(Bitness bitness, const LvItemFields& fields) {
    std::vector<unsigned char> bytes(lvItemSize(bitness), 0);
    if (bitness == Bitness::Bits32) {
        LvItem32 item{};
        item.iSubItem = fields.subItem;
        item.state = fields.state;
        item.stateMask = fields.stateMask;
        item.pszText = static_cast<std::uint32_t>(fields.text);
        item.cchTextMax = fields.textMax;
        std::memcpy(bytes.data(), &item, sizeof item);
    } else {
        LvItem64 item{};
        item.iSubItem = fields.subItem;
        item.state = fields.state;
        item.stateMask = fields.stateMask;
        item.pszText = fields.text;
        item.cchTextMax = fields.textMax;
        std::memcpy(bytes.data(), &item, sizeof item);
    }
    return bytes;
}

bool decodeLvItem(Bitness bitness, const unsigned char* bytes, std::size_t size, LvItemFields& out) {
    if (size < lvItemSize(bitness)) return false;
    if (bitness == Bitness::Bits32) {
        LvItem32 item;
        std::memcpy(&item, bytes, sizeof item);
        out = {item.iSubItem, item.state, item.stateMask, item.pszText, item.cchTextMax};
    } else {
        LvItem64 item;
        std::memcpy(&item, bytes, sizeof item);
        out = {item.iSubItem, item.state, item.stateMask, item.pszText, item.cchTextMax};
    }
    return true;
}

}  // namespace ca::automation
