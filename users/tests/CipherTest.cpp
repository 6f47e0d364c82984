// The password cipher: first the block cipher with the standard tables against published DES
// known-answer vectors, then the tables of stored passwords and the hexadecimal form.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "ca/users/Cipher.h"
#include "ca/util/AsciiCase.h"
#include "ca/util/Gbk.h"

namespace ca::users {
namespace {

Block blockOf(const std::string& hex) {
    Block b{};
    for (size_t i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return b;
}

KeyBytes keyOf(const std::string& hex) {
    return blockOf(hex);
}

std::string hexOf(const Block& b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t v : b)
        s += {kDigits[v >> 4], kDigits[v & 15]};
    return s;
}

// Published DES vectors (key, plain, cipher): the FIPS 81 / textbook examples and entries of the
// variable-plaintext, variable-key, permutation and S-box tables of NIST SP 800-17.
const std::tuple<const char*, const char*, const char*> kStandardVectors[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"1046913489980131", "0000000000000000", "88D55E54F54C97B4"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
};

TEST(StandardDes, KnownAnswerVectorsBothWays) {
    const DesTables& standard = DesTables::Standard();
    for (const auto& [key, plain, cipher] : kStandardVectors) {
        SCOPED_TRACE(key);
        const Subkeys enc = ExpandKey(keyOf(key), Direction::Encrypt, standard);
        const Subkeys dec = ExpandKey(keyOf(key), Direction::Decrypt, standard);
        EXPECT_EQ(hexOf(CryptBlock(blockOf(plain), enc, standard)), cipher);
        EXPECT_EQ(hexOf(CryptBlock(blockOf(cipher), dec, standard)), plain);
    }
}

TEST(StandardDes, EveryRowOfEverySBoxIsAPermutation) {
    for (const auto& box : DesTables::Standard().sboxes())
        for (const auto& row : box)
            EXPECT_EQ(std::set<int>(row.begin(), row.end()).size(), 16u);
}

TEST(PasswordTables, DifferFromTheStandardInTheListedSBoxEntriesOnly) {
    // (box, row, column, value used for stored passwords) where the standard has another value.
    const std::set<std::tuple<int, int, int, int>> expected = {
        {1, 0, 0, 6}, {2, 0, 0, 7}, {3, 0, 0, 2}, {4, 0, 0, 15}, {5, 0, 0, 10},
    };
    std::set<std::tuple<int, int, int, int>> found;
    const auto& standard = DesTables::Standard().sboxes();
    const auto& pw = DesTables::Passwords().sboxes();
    for (int b = 0; b < 8; ++b)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 16; ++c)
                if (pw[b][r][c] != standard[b][r][c]) found.insert({b + 1, r, c, pw[b][r][c]});
    EXPECT_EQ(found, expected);
    // S3 row 3 uses 11 in column 12 and 5 in column 13, which are the standard's own values (the
    // standard-table vectors above and des_oracle.py prove them).
    EXPECT_EQ(pw[2][3][12], 11);
    EXPECT_EQ(pw[2][3][13], 5);
    EXPECT_EQ(DesTables::Standard().round16LastBit(), 32);
    EXPECT_EQ(DesTables::Passwords().round16LastBit(), 33);
}

// Bits 9, 17, 23 and 31 of the round function's output (from the most significant, 1-based) carry
// S1's four output bits through P.
int s1Output(std::uint32_t f) {
    auto bit = [f](int n) { return static_cast<int>((f >> (32 - n)) & 1u); };
    return bit(9) << 3 | bit(17) << 2 | bit(23) << 1 | bit(31);
}

TEST(PasswordTables, AnAllZeroS1InputGivesSix) {
    // With a zero right half the S-box inputs are the subkey's bits; S1 reads bits 1 to 6.
    for (std::uint64_t subkey :
         {0x000000000000ull, 0x03FFFFFFFFFFull, 0x0123456789ABull & 0x03FFFFFFFFFFull}) {
        EXPECT_EQ(s1Output(RoundFunction(0, subkey)), 6);
        EXPECT_EQ(s1Output(RoundFunction(0, subkey, DesTables::Standard())), 14);
    }
    // Row 0, column 0 of all eight boxes, through P: 6 7 2 15 10 12 4 13 against 14 15 10 7 2 12 4 13.
    EXPECT_EQ(RoundFunction(0, 0), 0xD950DAFCu);
    EXPECT_EQ(RoundFunction(0, 0, DesTables::Standard()), 0xD8D8DBBCu);
}

TEST(PasswordTables, OnlyTheLastBitOfTheRound16SubkeyDiffers) {
    // C16D16 equals C0D0 = PC-1(key): its bit 32 is key bit 39, its bit 33 is key bit 31.
    const KeyBytes bit39 = keyOf("0000000002000000");
    const KeyBytes bit31 = keyOf("0000000200000000");
    for (const KeyBytes& key : {bit39, bit31, keyOf("133457799BBCDFF1"), DeriveKeyBytes(PasswordKey)}) {
        const Subkeys s = ExpandKey(key, Direction::Encrypt, DesTables::Standard());
        const Subkeys p = ExpandKey(key, Direction::Encrypt, DesTables::Passwords());
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(s[i], p[i]) << "round " << i + 1;
        EXPECT_EQ(s[15] >> 1, p[15] >> 1);
    }
    EXPECT_EQ(ExpandKey(bit39, Direction::Encrypt, DesTables::Standard())[15] & 1u, 1u);
    EXPECT_EQ(ExpandKey(bit39, Direction::Encrypt, DesTables::Passwords())[15] & 1u, 0u);
    EXPECT_EQ(ExpandKey(bit31, Direction::Encrypt, DesTables::Standard())[15] & 1u, 0u);
    EXPECT_EQ(ExpandKey(bit31, Direction::Encrypt, DesTables::Passwords())[15] & 1u, 1u);
}

TEST(PasswordTables, DecryptionUsesTheSubkeysInReverse) {
    const Subkeys enc = ExpandKey(DeriveKeyBytes(PasswordKey), Direction::Encrypt);
    const Subkeys dec = ExpandKey(DeriveKeyBytes(PasswordKey), Direction::Decrypt);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(enc[i], dec[15 - i]);
    const Block b = blockOf("0123456789ABCDEF");
    EXPECT_EQ(CryptBlock(CryptBlock(b, enc), dec), b);
    EXPECT_NE(CryptBlock(b, enc),
              CryptBlock(b, ExpandKey(DeriveKeyBytes(PasswordKey), Direction::Encrypt, DesTables::Standard()),
                         DesTables::Standard()));
}

TEST(KeyText, FoldsOntoEightBytes) {
    // Characters 1 to 7 land in bytes 1 to 7, character 8 in byte 0.
    EXPECT_EQ(DeriveKeyBytes(PasswordKey), (KeyBytes{'3', '4', '7', '1', '5', '2', '9', '0'}));
    EXPECT_EQ(DeriveKeyBytes(""), KeyBytes{});
    // A ninth character adds onto byte 1, modulo 256.
    EXPECT_EQ(DeriveKeyBytes(std::string("\xF0\x01\x02\x03\x04\x05\x06\x07\x20", 9)),
              (KeyBytes{0x07, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}));
    // A long key text enciphers like the 8-byte text of its folded bytes.
    const std::string longKey = "abcdefghijklmnopqrstuvwxyz0123456789";
    const KeyBytes folded = DeriveKeyBytes(longKey);
    const std::string eight{static_cast<char>(folded[1]), static_cast<char>(folded[2]),
                            static_cast<char>(folded[3]), static_cast<char>(folded[4]),
                            static_cast<char>(folded[5]), static_cast<char>(folded[6]),
                            static_cast<char>(folded[7]), static_cast<char>(folded[0])};
    EXPECT_EQ(DeriveKeyBytes(eight), folded);
    EXPECT_EQ(EncryptBytesToHex("secret", DeriveKeyBytes(longKey), DesTables::Passwords()),
              EncryptBytesToHex("secret", DeriveKeyBytes(eight), DesTables::Passwords()));
}

TEST(KeyText, ParityBitsTakeNoPart) {
    // Every character of the key with its lowest bit flipped.
    EXPECT_EQ(EncryptToHex("口令abc", "47152903"), EncryptToHex("口令abc", "56043812"));
    EXPECT_NE(EncryptToHex("口令abc", "47152903"), EncryptToHex("口令abc", "47152904"));
}

TEST(PasswordText, RoundTripsWithItsLength) {
    const std::string chinese = "管理员乗俓僜";  // the last three have 0x5C as their second GBK byte
    for (const std::string& plain : {std::string(), std::string("a"), std::string("12345678"),
                                     std::string("123456789"), std::string("abcdefghijklmnop"),
                                     std::string("abcdefghijklmnopq"), chinese, std::string("O'Neil\\")}) {
        SCOPED_TRACE(plain);
        const std::string hex = EncryptToHex(plain, PasswordKey);
        const size_t bytes = utf8ToGbk(plain).size();
        EXPECT_EQ(hex.size(), 16 * std::max<size_t>(1, (bytes + 7) / 8));
        EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(DecryptFromHex(hex, PasswordKey), plain);
    }
    EXPECT_EQ(utf8ToGbk(chinese).size(), 12u);
}

TEST(PasswordText, ZeroBytesOfTheEndAreLikePadding) {
    const KeyBytes key = DeriveKeyBytes(PasswordKey);
    const std::string withZero("ab\0\0", 4);
    EXPECT_EQ(EncryptBytesToHex(withZero, key, DesTables::Passwords()),
              EncryptBytesToHex("ab", key, DesTables::Passwords()));
    // Decryption cuts at the first zero byte, also an early one.
    const std::string early("ab\0cd", 5);
    EXPECT_EQ(
        DecryptHexToBytes(EncryptBytesToHex(early, key, DesTables::Passwords()), key, DesTables::Passwords()),
        "ab");
}

TEST(PasswordText, HexadecimalForms) {
    const std::string hex = EncryptToHex("密码123", PasswordKey);
    const std::string lower = toLowerAscii(hex);
    EXPECT_EQ(DecryptFromHex(lower, PasswordKey), "密码123");
    for (const std::string& bad : {std::string(), std::string("G"), std::string(" "), std::string("-"),
                                   hex.substr(0, 15) + "G", " " + hex, hex + "-", hex + " "}) {
        EXPECT_EQ(DecryptFromHex(bad, PasswordKey), "") << "'" << bad << "'";
    }
    // An odd last digit is a byte of its own: "A" is the block 0A 00 .. 00.
    const KeyBytes key = DeriveKeyBytes(PasswordKey);
    const Block oneByte = CryptBlock(blockOf("0A00000000000000"), ExpandKey(key, Direction::Decrypt));
    std::string expected(oneByte.begin(), oneByte.end());
    expected = expected.substr(0, expected.find('\0'));
    EXPECT_EQ(DecryptHexToBytes("A", key, DesTables::Passwords()), expected);
    // The cut at the first zero byte ends the text inside the padding of its last block.
    EXPECT_EQ(DecryptHexToBytes(hex + "A", key, DesTables::Passwords()), utf8ToGbk("密码123"));
}

}  // namespace
}  // namespace ca::users
