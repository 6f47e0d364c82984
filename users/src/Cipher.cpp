#include "ca/users/Cipher.h"

#include "ca/util/Gbk.h"

namespace ca::users {

namespace {

// Bit positions are those of the standard: bit 1 is the most significant bit of the input.
constexpr std::uint8_t kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                  62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                  57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                  61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
constexpr std::uint8_t kFP[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                                  38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                                  36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                                  34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
constexpr std::uint8_t kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                                 12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                                 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
constexpr std::uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                 2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr std::uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
                                   35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
                                   46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr std::uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                   26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                   51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr int kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// Output bit i (1-based from the most significant of `outBits`) is input bit table[i-1] (1-based
// from the most significant of `inBits`).
std::uint64_t permute(std::uint64_t in, int inBits, const std::uint8_t* table, int outBits) {
    std::uint64_t out = 0;
    for (int i = 0; i < outBits; ++i)
        out = (out << 1) | ((in >> (inBits - table[i])) & 1u);
    return out;
}

std::uint32_t rotate28(std::uint32_t v, int n) {
    return ((v << n) | (v >> (28 - n))) & 0x0FFFFFFFu;
}

}  // namespace

std::uint32_t RoundFunction(std::uint32_t r, std::uint64_t subkey, const DesTables& tables) {
    const std::uint64_t x = permute(r, 32, kE, 48) ^ subkey;
    std::uint32_t s = 0;
    for (int box = 0; box < 8; ++box) {
        const auto six = static_cast<unsigned>((x >> (42 - 6 * box)) & 0x3Fu);
        const unsigned row = ((six >> 4) & 2u) | (six & 1u);
        const unsigned column = (six >> 1) & 0xFu;
        s = (s << 4) | tables.sboxes()[static_cast<size_t>(box)][row][column];
    }
    return static_cast<std::uint32_t>(permute(s, 32, kP, 32));
}

namespace {

std::uint64_t toWord(const Block& b) {
    std::uint64_t v = 0;
    for (std::uint8_t byte : b)
        v = (v << 8) | byte;
    return v;
}

Block toBlock(std::uint64_t v) {
    Block b{};
    for (int i = 7; i >= 0; --i, v >>= 8)
        b[static_cast<size_t>(i)] = static_cast<std::uint8_t>(v & 0xFFu);
    return b;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

KeyBytes keyOf(std::string_view keyText) {
    return DeriveKeyBytes(utf8ToGbk(keyText));
}

}  // namespace

KeyBytes DeriveKeyBytes(std::string_view keyText) {
    KeyBytes key{};
    for (size_t i = 0; i < keyText.size(); ++i) {
        auto& k = key[(i + 1) % 8];
        k = static_cast<std::uint8_t>(k + static_cast<unsigned char>(keyText[i]));
    }
    return key;
}

Subkeys ExpandKey(const KeyBytes& key, Direction direction, const DesTables& tables) {
    const std::uint64_t cd = permute(toWord(key), 64, kPC1, 56);
    auto c = static_cast<std::uint32_t>(cd >> 28);
    auto d = static_cast<std::uint32_t>(cd & 0x0FFFFFFFu);
    std::uint8_t pc2Last16[48];
    for (int i = 0; i < 48; ++i)
        pc2Last16[i] = kPC2[i];
    pc2Last16[47] = static_cast<std::uint8_t>(tables.round16LastBit());

    Subkeys keys{};
    for (int round = 0; round < 16; ++round) {
        c = rotate28(c, kShifts[round]);
        d = rotate28(d, kShifts[round]);
        const std::uint64_t joined = (static_cast<std::uint64_t>(c) << 28) | d;
        const size_t slot =
            direction == Direction::Encrypt ? static_cast<size_t>(round) : static_cast<size_t>(15 - round);
        keys[slot] = permute(joined, 56, round == 15 ? pc2Last16 : kPC2, 48);
    }
    return keys;
}

Block CryptBlock(const Block& block, const Subkeys& subkeys, const DesTables& tables) {
    const std::uint64_t ip = permute(toWord(block), 64, kIP, 64);
    auto l = static_cast<std::uint32_t>(ip >> 32);
    auto r = static_cast<std::uint32_t>(ip & 0xFFFFFFFFu);
    for (std::uint64_t k : subkeys) {
        const std::uint32_t next = l ^ RoundFunction(r, k, tables);
        l = r;
        r = next;
    }
    const std::uint64_t preOutput = (static_cast<std::uint64_t>(r) << 32) | l;  // halves swapped
    return toBlock(permute(preOutput, 64, kFP, 64));
}

std::string EncryptBytesToHex(std::string_view plainBytes, const KeyBytes& key, const DesTables& tables) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const Subkeys subkeys = ExpandKey(key, Direction::Encrypt, tables);
    std::string hex;
    size_t pos = 0;
    do {
        Block block{};
        for (size_t i = 0; i < 8 && pos + i < plainBytes.size(); ++i)
            block[i] = static_cast<std::uint8_t>(plainBytes[pos + i]);
        for (std::uint8_t byte : CryptBlock(block, subkeys, tables)) {
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0xFu];
        }
        pos += 8;
    } while (pos < plainBytes.size());
    return hex;
}

std::string DecryptHexToBytes(std::string_view cipherText, const KeyBytes& key, const DesTables& tables) {
    if (cipherText.empty()) return {};
    std::string bytes;
    for (size_t i = 0; i < cipherText.size(); i += 2) {
        const int high = hexDigit(cipherText[i]);
        if (high < 0) return {};
        if (i + 1 == cipherText.size()) {
            bytes += static_cast<char>(high);  // a lone last digit is a byte of its own
            break;
        }
        const int low = hexDigit(cipherText[i + 1]);
        if (low < 0) return {};
        bytes += static_cast<char>(high * 16 + low);
    }
    const Subkeys subkeys = ExpandKey(key, Direction::Decrypt, tables);
    std::string plain;
    for (size_t pos = 0; pos < bytes.size(); pos += 8) {
        Block block{};
        for (size_t i = 0; i < 8 && pos + i < bytes.size(); ++i)
            block[i] = static_cast<std::uint8_t>(bytes[pos + i]);
        for (std::uint8_t byte : CryptBlock(block, subkeys, tables))
            plain += static_cast<char>(byte);
    }
    return plain.substr(0, plain.find('\0'));
}

std::string EncryptToHex(std::string_view plainText, std::string_view keyText) {
    return EncryptBytesToHex(utf8ToGbk(plainText), keyOf(keyText), DesTables::Passwords());
}

std::string DecryptFromHex(std::string_view cipherText, std::string_view keyText) {
    return gbkToUtf8(DecryptHexToBytes(cipherText, keyOf(keyText), DesTables::Passwords()));
}

}  // namespace ca::users
