// Test helper for des_oracle.py: reads lines "TABLES DIRECTION KEY BLOCK" (TABLES "standard" or
// "passwords", DIRECTION "e" or "d", KEY and BLOCK as 16 hexadecimal digits) and prints the block
// that CryptBlock gives, one line each.
#include <iostream>
#include <string>

#include "ca/users/Cipher.h"

namespace {

ca::users::Block parse(const std::string& hex) {
    ca::users::Block b{};
    for (size_t i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return b;
}

}  // namespace

int main() {
    using namespace ca::users;
    std::string tables, direction, key, block;
    while (std::cin >> tables >> direction >> key >> block) {
        const DesTables& t = tables == "standard" ? DesTables::Standard() : DesTables::Passwords();
        const Subkeys subkeys =
            ExpandKey(parse(key), direction == "e" ? Direction::Encrypt : Direction::Decrypt, t);
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (std::uint8_t v : CryptBlock(parse(block), subkeys, t))
            std::cout << kDigits[v >> 4] << kDigits[v & 15];
        std::cout << "\n";
    }
    return 0;
}
