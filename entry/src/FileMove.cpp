#include "ca/entry/FileMove.h"

#include <filesystem>
#include <system_error>

#include "ca/util/Folders.h"

namespace ca::entry {

namespace fs = std::filesystem;

namespace {

// The reason in the clerk's language where it is a common one; the platform's text otherwise.
std::string reasonOf(const std::error_code& ec) {
    if (ec == std::errc::no_such_file_or_directory) return "文件不存在";
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return "没有权限，或文件正被其他程序使用";
    if (ec == std::errc::device_or_resource_busy) return "文件正被其他程序使用";
    if (ec == std::errc::no_space_on_device) return "磁盘空间不足";
    return ec.message();
}

}  // namespace

std::optional<std::string> moveFileIntoFolder(const std::string& file, const std::string& folder) {
    const fs::path from = ca::pathFromUtf8(file);
    const fs::path to = ca::pathFromUtf8(folder) / from.filename();
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) return "文件不存在";
    if (!fs::is_directory(ca::pathFromUtf8(folder), ec)) return "已导入文件目录不存在";
    // The platform's move refuses to replace a file; a plain rename would overwrite it here.
    if (fs::exists(to, ec)) return "已导入文件目录中已有同名文件";
    fs::rename(from, to, ec);
    if (!ec) return std::nullopt;
    if (ec != std::errc::cross_device_link) return reasonOf(ec);
    // Another volume: copy, then remove the original; undo the copy when the original stays.
    if (!fs::copy_file(from, to, fs::copy_options::none, ec)) return reasonOf(ec);
    if (!fs::remove(from, ec)) {
        const std::string reason = ec ? reasonOf(ec) : "原文件无法删除";
        fs::remove(to, ec);
        return reason;
    }
    return std::nullopt;
}

}  // namespace ca::entry
