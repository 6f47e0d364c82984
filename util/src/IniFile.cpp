#include "ca/util/IniFile.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

#include "ca/util/AsciiCase.h"
#include "ca/util/Convert.h"
#include "ca/util/Folders.h"
#include "ca/util/Gbk.h"
#include "ca/util/SystemErrorText.h"
#include "ca/util/TemporaryFile.h"

namespace ca {

namespace {

// The file is parsed as GBK bytes. '=' and line breaks never occur inside a double-byte character;
// ']' can (as a trail byte), so the section header scan steps over whole characters.
bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

std::string_view trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

// Names compare without regard to the case of ASCII letters. The second byte of a double-byte
// character may look like an ASCII letter; it is compared as it is, so two different characters
// never count as the same name.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (toLowerAscii(a[i]) != toLowerAscii(b[i])) return false;
    }
    return true;
}

// The longest prefix of at most maxBytes bytes that does not split a double-byte character.
std::string_view cutGbk(std::string_view s, size_t maxBytes) {
    size_t i = 0;
    while (i < s.size()) {
        size_t step = isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        if (i + step > maxBytes) break;
        i += step;
    }
    return s.substr(0, i);
}

enum class LineKind { Other, Section, Key };

struct Line {
    std::string_view text;  // without the line break
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name
    std::string_view value;  // key lines only
};

Line classify(std::string_view text) {
    Line line;
    line.text = text;
    std::string_view t = trim(text);
    if (t.empty() || t[0] == ';') return line;
    if (t[0] == '[') {
        size_t i = 1;
        while (i < t.size() && t[i] != ']')
            i += isLeadByte(static_cast<unsigned char>(t[i])) ? 2 : 1;
        line.kind = LineKind::Section;
        line.name = trim(t.substr(1, std::min(i, t.size()) - 1));
        return line;
    }
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return line;  // a line without '=' holds no key
    line.kind = LineKind::Key;
    line.name = trim(t.substr(0, eq));
    line.value = trim(t.substr(eq + 1));
    return line;
}

std::vector<Line> splitLines(std::string_view content) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t nl = content.find('\n', pos);
        size_t end = nl == std::string_view::npos ? content.size() : nl;
        size_t textEnd = end > pos && content[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(classify(content.substr(pos, textEnd - pos)));
        pos = nl == std::string_view::npos ? content.size() : nl + 1;
    }
    return lines;
}

// Where a key sits: the line of its first occurrence in any section of that name, and the line after
// which a new key of the first such section goes.
struct Location {
    std::optional<size_t> keyLine;
    std::optional<size_t> sectionEnd;  // last non-blank line of the first matching section
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location loc;
    bool inSection = false, firstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (l.kind == LineKind::Section) {
            inSection = sameName(l.name, section);
            firstSection = inSection && !loc.sectionEnd;
            if (firstSection) loc.sectionEnd = i;
            continue;
        }
        if (!inSection) continue;
        if (firstSection && !trim(l.text).empty()) loc.sectionEnd = i;
        if (l.kind == LineKind::Key && sameName(l.name, key)) {
            loc.keyLine = i;
            return loc;
        }
    }
    return loc;
}

// The file's bytes; nullopt when it does not exist or cannot be opened.
std::optional<std::string> readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream buf;
    buf << in.rdbuf();
    return std::move(buf).str();
}

void refuseLineBreak(std::string_view what, std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        throw std::runtime_error("设置" + std::string(what) + "不能包含换行：" + std::string(text));
}

// The file is GBK: a character it cannot hold would be stored as "?" and the value lost.
void refuseNonGbk(const std::string& key, const std::string& value) {
    if (const auto cp = firstCharacterGbkCannotHold(value))
        throw std::runtime_error("设置“" + key + "”的值含有 GBK 编码无法保存的字符" + describeCharacter(*cp) +
                                 "，设置文件未改动");
}

// A settings file that names a folder, or lies in a folder that does not exist, cannot be written;
// say so about the right path before anything is tried.
void refuseUnwritablePlace(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        throw std::runtime_error("无法写入设置文件“" + pathToUtf8(file) + "”：这是一个文件夹，不是文件");
    const auto folder = file.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
        throw std::runtime_error("无法写入设置文件“" + pathToUtf8(file) + "”：文件夹“" + pathToUtf8(folder) +
                                 (std::filesystem::exists(folder, ec) ? "”不是文件夹" : "”不存在"));
}

}  // namespace

IniFile::IniFile(std::filesystem::path file) : file_(std::move(file)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    return ReadStrings(section, {key}, def).at(key);
}

std::map<std::string, std::string> IniFile::ReadStrings(const std::string& section,
                                                        const std::vector<std::string>& keys,
                                                        const std::string& def) const {
    std::map<std::string, std::string> values;
    for (const std::string& key : keys)
        values.emplace(key, def);
    auto content = readFile(file_);
    if (!content) return values;
    const auto lines = splitLines(*content);
    const std::string gbkSection = utf8ToGbk(section);
    for (auto& [key, value] : values) {
        const auto loc = locate(lines, gbkSection, utf8ToGbk(key));
        if (loc.keyLine) value = gbkToUtf8(cutGbk(lines[*loc.keyLine].value, kMaxValueBytes));
    }
    return values;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string text = ReadString(section, key, "");
    if (auto v = parseInt(text)) return *v;
    return def;
}

void IniFile::CheckEntry(const std::string& key, const std::string& value) {
    refuseLineBreak("键名", key);
    refuseLineBreak("值", value);
    if (key.find('=') != std::string::npos) throw std::runtime_error("设置键名不能包含等号：" + key);
    refuseNonGbk(key, value);
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    refuseLineBreak("节名", section);
    CheckEntry(key, value);
    refuseUnwritablePlace(file_);

    std::error_code ec;
    bool exists = std::filesystem::exists(file_, ec);
    auto old = readFile(file_);
    if (exists && !old) throw std::runtime_error("无法读取设置文件“" + pathToUtf8(file_) + "”");
    std::string content = old.value_or("");

    const std::string gbkSection = utf8ToGbk(section), gbkKey = utf8ToGbk(key);
    const std::string entry = gbkKey + "=" + utf8ToGbk(value);
    const std::string eol =
        content.find("\r\n") != std::string::npos || content.find('\n') == std::string::npos ? "\r\n" : "\n";

    auto lines = splitLines(content);
    auto loc = locate(lines, gbkSection, gbkKey);
    std::string out;
    out.reserve(content.size() + entry.size() + gbkSection.size() + 8);
    for (size_t i = 0; i < lines.size(); ++i) {
        out += loc.keyLine == i ? std::string_view(entry) : lines[i].text;
        out += eol;
        if (!loc.keyLine && loc.sectionEnd == i) out += entry + eol;
    }
    if (!loc.keyLine && !loc.sectionEnd) {
        if (!out.empty() && !trim(lines.back().text).empty()) out += eol;
        out += "[" + gbkSection + "]" + eol + entry + eol;
    }

    // Write beside the file and rename over it: readers see the old or the new file, never a part.
    TemporaryFile tmp(temporaryPathBeside(file_));  // removed on every way out but the rename
    {
        std::ofstream f(tmp.path(), std::ios::binary | std::ios::trunc);
        if (!f) {
            const auto folder = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
            throw std::runtime_error("无法写入设置文件“" + pathToUtf8(file_) + "”：" +
                                     (std::filesystem::is_directory(folder, ec)
                                          ? "文件夹不能写入（没有权限？）"
                                          : "文件夹不存在"));
        }
        f.write(out.data(), static_cast<std::streamsize>(out.size()));
        f.close();
        if (!f)
            throw std::runtime_error("无法写入设置文件“" + pathToUtf8(file_) + "”：写入失败（磁盘已满？）");
    }
    tmp.commit(file_, ec);
    if (ec) throw std::runtime_error("无法写入设置文件“" + pathToUtf8(file_) + "”：" + systemErrorText(ec));
}

}  // namespace ca
