#include "ca/entry/FileMove.h"

#include <filesystem>
#include <system_error>

#include "ca/util/Folders.h"
#include "ca/util/SystemErrorText.h"

namespace ca::entry {

namespace fs = std::filesystem;

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
    if (ec != std::errc::cross_device_link) return systemErrorText(ec);
    // Another volume: copy, then remove the original; undo the copy when the original stays.
    if (!fs::copy_file(from, to, fs::copy_options::none, ec)) return systemErrorText(ec);
    if (!fs::remove(from, ec)) {
        const std::string reason = ec ? systemErrorText(ec) : "原文件无法删除";
        fs::remove(to, ec);
        return reason;
    }
    return std::nullopt;
}

}  // namespace ca::entry
