#pragma once
// Fixture access and small byte-patching helpers shared by the spreadsheet tests.
#include <sys/wait.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace ca::spreadsheet::test {

inline std::string fixturePath(const std::string& name) {
    return std::string(CA_FIXTURES) + "/" + name;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string fixture(const std::string& name) {
    return readFile(fixturePath(name));
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t get32(const std::string& b, size_t at) {
    return static_cast<std::uint32_t>(
        static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8) |
        (static_cast<unsigned char>(b[at + 2]) << 16) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24));
}
inline std::uint16_t get16(const std::string& b, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
inline void put32(std::string& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void put16(std::string& b, size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

// Runs one of the Python oracle scripts on a file with the system interpreter; returns its exit
// status (2: the oracle's package is not installed) and its standard output.
inline int runOracle(const std::string& script, const std::string& file, std::string& output) {
    const std::string command =
        "/usr/bin/python3 '" + std::string(CA_ORACLES) + "/" + script + "' '" + file + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buf[4096];
    size_t n;
    output.clear();
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        output.append(buf, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh empty folder under the system's temporary folder.
inline std::filesystem::path tempDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("ca_spreadsheet_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace ca::spreadsheet::test
