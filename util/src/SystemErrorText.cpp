#include "ca/util/SystemErrorText.h"

#include <filesystem>
#include <new>

#include "ca/util/Folders.h"

namespace ca {

std::string systemErrorText(const std::error_code& ec) {
    using std::errc;
    struct Reason {
        errc condition;
        const char* text;
    };
    static const Reason reasons[] = {
        {errc::no_such_file_or_directory, "文件或文件夹不存在"},
        {errc::permission_denied, "没有权限，或文件正被其他程序使用"},
        {errc::operation_not_permitted, "没有权限，或文件正被其他程序使用"},
        {errc::device_or_resource_busy, "文件正被其他程序使用"},
        {errc::text_file_busy, "文件正被其他程序使用"},
        {errc::no_space_on_device, "磁盘空间不足"},
        {errc::read_only_file_system, "磁盘是只读的"},
        {errc::file_exists, "已有同名文件"},
        {errc::is_a_directory, "这是一个文件夹，不是文件"},
        {errc::not_a_directory, "路径中的某一级不是文件夹"},
        {errc::directory_not_empty, "文件夹不是空的"},
        {errc::filename_too_long, "文件名或路径太长"},
        {errc::too_many_files_open, "打开的文件太多"},
        {errc::cross_device_link, "不能跨磁盘移动"},
        {errc::io_error, "磁盘读写错误"},
        {errc::not_enough_memory, "内存不足"},
        {errc::file_too_large, "文件太大"},
        {errc::invalid_argument, "文件名或路径无效"},
    };
    for (const Reason& r : reasons)
        if (ec == r.condition) return r.text;
    return "系统错误 " + std::to_string(ec.value()) + "（" + ec.message() + "）";
}

std::string errorText(const std::exception& e) {
    if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
        const std::string path = pathToUtf8(fs->path1());
        return (path.empty() ? std::string("文件操作失败：") : "文件操作失败“" + path + "”：") +
               systemErrorText(fs->code());
    }
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "内存不足";
    return e.what();
}

}  // namespace ca
