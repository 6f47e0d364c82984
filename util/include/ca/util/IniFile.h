#pragma once
// The settings file: a plain INI file in GBK. Text goes in and comes out as UTF-8. Every read opens
// the file again, so a value written by one part of the program is seen by the next read anywhere.
// Section and key names are compared without regard to ASCII case; the first of two duplicate keys
// wins. Bytes that are not valid GBK read back as U+FFFD.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ca {

class IniFile {
public:
    // Longest value a read returns, in GBK bytes; a longer stored value comes back cut.
    static constexpr std::size_t kMaxValueBytes = 2047;

    explicit IniFile(std::filesystem::path file);

    // The stored value, or def when the file, the section or the key is missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // The stored values of several keys of one section, from one read of the file, by key; def for
    // each key the file does not hold.
    std::map<std::string, std::string> ReadStrings(const std::string& section,
                                                   const std::vector<std::string>& keys,
                                                   const std::string& def) const;
    // The stored value as a decimal integer (0x, 0X or $ prefix: hexadecimal), or def when the key is
    // missing or its text does not convert.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Stores the value, creating the file, the section and the key as needed. The file is replaced
    // through a temporary file, so a failure never leaves it half-written. Throws std::runtime_error
    // when the file cannot be written or the value holds a line break.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Throws the error WriteString would throw for this key and value before touching the file (a
    // line break, an equals sign in the key, a character GBK cannot hold). A caller that writes
    // several keys checks them all first, so a refused value leaves none of them written.
    static void CheckEntry(const std::string& key, const std::string& value);

    const std::filesystem::path& path() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace ca
