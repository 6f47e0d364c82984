#include "WorkbookProtection.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "ByteOrder.h"

namespace ca::spreadsheet {

namespace {

using Digest = std::array<std::uint8_t, 16>;

// MD5 (RFC 1321): the hash the Excel 97 encryption derives its keys with.
Digest md5(std::string_view data) {
    static constexpr std::uint32_t k[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
    static constexpr int shift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                      5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                      4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                      6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    std::string message(data);
    const std::uint64_t bits = static_cast<std::uint64_t>(data.size()) * 8;
    message += '\x80';
    while (message.size() % 64 != 56)
        message += '\0';
    for (int i = 0; i < 8; ++i)
        message += static_cast<char>((bits >> (8 * i)) & 0xFF);
    std::uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t block = 0; block < message.size(); block += 64) {
        std::uint32_t m[16];
        for (int i = 0; i < 16; ++i)
            m[i] = le::u32(message, block + 4 * static_cast<size_t>(i));
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            std::uint32_t f;
            int g;
            if (i < 16) {
                f = (b & c) | (~b & d);
                g = i;
            } else if (i < 32) {
                f = (d & b) | (~d & c);
                g = (5 * i + 1) % 16;
            } else if (i < 48) {
                f = b ^ c ^ d;
                g = (3 * i + 5) % 16;
            } else {
                f = c ^ (b | ~d);
                g = (7 * i) % 16;
            }
            const std::uint32_t sum = a + f + k[i] + m[g];
            a = d;
            d = c;
            c = b;
            b = b + ((sum << shift[i]) | (sum >> (32 - shift[i])));
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
    }
    Digest out{};
    for (size_t i = 0; i < 16; ++i)
        out[i] = static_cast<std::uint8_t>(h[i / 4] >> (8 * (i % 4)));
    return out;
}

std::string_view bytesOf(const Digest& d, size_t n = 16) {
    return {reinterpret_cast<const char*>(d.data()), n};
}

// RC4 applied to `data` with `key`.
std::string rc4(std::string_view key, std::string_view data) {
    std::array<std::uint8_t, 256> s{};
    for (size_t i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    for (size_t i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<std::uint8_t>(key[i % key.size()])) & 0xFF;
        std::swap(s[i], s[j]);
    }
    std::string out(data);
    for (size_t n = 0, i = 0, j = 0; n < out.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        out[n] = static_cast<char>(static_cast<std::uint8_t>(out[n]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
    return out;
}

}  // namespace

bool encryptedOnlyForProtection(std::string_view filePass) {
    // Encryption type 1 (RC4), version 1.1 (the Excel 97 kind), salt, verifier, verifier's hash.
    if (filePass.size() < 54 || le::u16(filePass, 0) != 1 || le::u16(filePass, 2) != 1 ||
        le::u16(filePass, 4) != 1)
        return false;
    const std::string_view salt = filePass.substr(6, 16), verifier = filePass.substr(22, 32);
    std::string password;  // "VelvetSweatshop" in UTF-16LE
    for (const char c : std::string_view("VelvetSweatshop")) {
        password += c;
        password += '\0';
    }
    const Digest first = md5(password);
    std::string repeated;
    for (int i = 0; i < 16; ++i) {
        repeated += bytesOf(first, 5);
        repeated += salt;
    }
    std::string base(bytesOf(md5(repeated), 5));
    base.append(4, '\0');  // block 0
    const Digest key = md5(base);
    const std::string plain = rc4(bytesOf(key), verifier);
    return bytesOf(md5(std::string_view(plain).substr(0, 16))) == std::string_view(plain).substr(16, 16);
}

std::string encryptedWorkbookProblem(std::string_view filePass, const std::string& action) {
    if (encryptedOnlyForProtection(filePass))
        return "工作簿设有“保护工作簿结构”（没有打开密码，但电子表格程序为此把文件加密保存了），" + action +
               "；请在电子表格程序中取消保护工作簿结构（LibreOffice：工具 → 保护工作簿结构；Excel：审阅 → "
               "保护工作簿），保存后再试";
    return "工作簿已加密（设有打开密码），" + action + "；请先在电子表格程序中去掉打开密码再保存";
}

}  // namespace ca::spreadsheet
