#pragma once
// Little-endian reads and writes on byte buffers, shared by the container and record code.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ca::spreadsheet::le {

inline std::uint16_t u16(std::string_view b, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
inline std::uint32_t u32(std::string_view b, size_t at) {
    return static_cast<std::uint32_t>(u16(b, at)) | (static_cast<std::uint32_t>(u16(b, at + 2)) << 16);
}
inline std::uint64_t u64(std::string_view b, size_t at) {
    return static_cast<std::uint64_t>(u32(b, at)) | (static_cast<std::uint64_t>(u32(b, at + 4)) << 32);
}
inline double f64(std::string_view b, size_t at) {
    std::uint64_t bits = u64(b, at);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

inline void put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
inline void put32(std::string& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}
inline void put64(std::string& out, std::uint64_t v) {
    put32(out, static_cast<std::uint32_t>(v & 0xFFFFFFFFu));
    put32(out, static_cast<std::uint32_t>(v >> 32));
}
inline void putF64(std::string& out, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof d);
    put64(out, bits);
}
inline void set16(std::string& out, size_t at, std::uint16_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
}
inline void set32(std::string& out, size_t at, std::uint32_t v) {
    set16(out, at, static_cast<std::uint16_t>(v & 0xFFFF));
    set16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace ca::spreadsheet::le
