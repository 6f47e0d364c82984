#include "ca/entry/EntryText.h"

#include "ca/util/Gbk.h"

namespace ca::entry {

std::string GetCurrencyText(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && !(text[n] >= '0' && text[n] <= '9'))
        ++n;
    return std::string(text.substr(0, n));
}

std::string gbkSlice(std::string_view utf8, std::size_t firstByte, std::size_t byteCount) {
    const std::string gbk = ca::utf8ToGbk(utf8);
    const std::size_t end = firstByte + byteCount;
    std::size_t from = gbk.size(), to = gbk.size();
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        const std::size_t len = (b >= 0x81 && b <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
        if (i >= firstByte && from == gbk.size()) from = i;
        if (i >= end) {
            to = i;
            break;
        }
        i += len;
    }
    if (from >= to) return {};
    return ca::gbkToUtf8(std::string_view(gbk).substr(from, to - from));
}

std::string trimBlanksAndControls(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t b = 0, e = text.size();
    while (b < e && blank(text[b]))
        ++b;
    while (e > b && blank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

std::string countryText(std::string_view text) {
    if (text == "台湾") return "台澎金马关税区";
    return std::string(text);
}

}  // namespace ca::entry
