#include "ca/entry/FileMove.h"

#include <filesystem>
#include <system_error>

namespace ca::entry {

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 text in the core; the u8 forms keep them so on every platform.
fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string textOf(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

}  // namespace

std::string targetPath(const std::string& file, const std::string& folder) {
    return textOf(pathOf(folder) / pathOf(file).filename());
}

std::optional<std::string> moveFileIntoFolder(const std::string& file, const std::string& folder) {
    const fs::path from = pathOf(file);
    const fs::path to = pathOf(folder) / from.filename();
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) return "文件不存在";
    if (!fs::is_directory(pathOf(folder), ec)) return "已导入文件目录不存在";
    // The platform's move refuses to replace a file; a plain rename would overwrite it here.
    if (fs::exists(to, ec)) return "已导入文件目录中已有同名文件";
    fs::rename(from, to, ec);
    if (!ec) return std::nullopt;
    if (ec != std::errc::cross_device_link) return ec.message();
    // Another volume: copy, then remove the original; undo the copy when the original stays.
    if (!fs::copy_file(from, to, fs::copy_options::none, ec)) return ec.message();
    if (!fs::remove(from, ec)) {
        const std::string reason = ec ? ec.message() : "原文件无法删除";
        fs::remove(to, ec);
        return reason;
    }
    return std::nullopt;
}

}  // namespace ca::entry
