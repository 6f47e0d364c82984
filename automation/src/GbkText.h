#pragma once
// Helpers for GBK byte texts read back from the client.
#include <string_view>

namespace ca::automation {

// The text without a final lead byte whose second byte was cut off by a byte limit, so a text
// cut at 255 bytes never ends in half a character.
inline std::string_view withoutCutCharacter(std::string_view gbk) {
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b >= 0x81 && b <= 0xFE) {
            if (i + 1 == gbk.size()) return gbk.substr(0, i);
            i += 2;
        } else {
            ++i;
        }
    }
    return gbk;
}

}  // namespace ca::automation
