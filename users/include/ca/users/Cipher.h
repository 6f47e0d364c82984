#pragma once
// The cipher of stored passwords: a password's GBK bytes, cut into blocks of 8 bytes (the last one
// padded with zero bytes), each block enciphered on its own with DES under a key folded from a key
// text, written as upper-case hexadecimal digits. The tables are those of DesTables::Passwords()
// unless a caller asks for others (the checks against standard DES do).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ca/users/DesTables.h"

namespace ca::users {

// The key text every stored password is enciphered with.
inline constexpr const char* PasswordKey = "47152903";

using KeyBytes = std::array<std::uint8_t, 8>;
using Block = std::array<std::uint8_t, 8>;
// Sixteen 48-bit subkeys in the order the rounds use them, each in the low 48 bits.
using Subkeys = std::array<std::uint64_t, 16>;

enum class Direction { Encrypt, Decrypt };

// Folds the bytes of a key text onto 8 key bytes: the byte at 1-based position i is added (mod 256)
// to key byte i mod 8. The text is taken as bytes (callers pass GBK).
KeyBytes DeriveKeyBytes(std::string_view keyText);

// The subkeys of the key bytes: encryption order 1 to 16, decryption order 16 down to 1. The
// lowest bit of each key byte takes no part.
Subkeys ExpandKey(const KeyBytes& key, Direction direction, const DesTables& tables = DesTables::Passwords());

// The function of one round: expansion of the right half, the subkey added, the S-boxes, P.
std::uint32_t RoundFunction(std::uint32_t right, std::uint64_t subkey,
                            const DesTables& tables = DesTables::Passwords());

// One block through the 16 rounds with the given subkeys (their order decides the direction).
Block CryptBlock(const Block& block, const Subkeys& subkeys,
                 const DesTables& tables = DesTables::Passwords());

// The stored form of a password: the GBK bytes of the UTF-8 text, enciphered under the GBK bytes of
// the key text, 16 upper-case hexadecimal digits per block; an empty text gives one block.
std::string EncryptToHex(std::string_view plainText, std::string_view keyText);

// The password a stored form deciphers to, as UTF-8, cut before the first zero byte. Upper- and
// lower-case digits are read alike; an odd last digit gives one byte of 0 to 15. Empty when the text
// is empty or holds any character that is not a hexadecimal digit.
std::string DecryptFromHex(std::string_view cipherText, std::string_view keyText);

// The same two on bytes, with any tables: the plain bytes are taken as they are.
std::string EncryptBytesToHex(std::string_view plainBytes, const KeyBytes& key, const DesTables& tables);
// Empty when the text is not well formed (see DecryptFromHex); the result is cut before its first
// zero byte.
std::string DecryptHexToBytes(std::string_view cipherText, const KeyBytes& key, const DesTables& tables);

}  // namespace ca::users
