#include "InputFiles.h"

#include <filesystem>
#include <stdexcept>

#include "ca/util/Folders.h"

namespace ca::cli {

void refuseFolder(const std::string& path, const std::string& what) {
    std::error_code ec;
    if (std::filesystem::is_directory(ca::pathFromUtf8(path), ec))
        throw std::runtime_error(what + "“" + path + "”是一个文件夹，不是文件");
}

void requireInputFile(const std::string& path, const std::string& what) {
    refuseFolder(path, what);
    std::error_code ec;
    if (!std::filesystem::exists(ca::pathFromUtf8(path), ec))
        throw std::runtime_error(what + "“" + path + "”不存在");
}

}  // namespace ca::cli
