#include "ca/util/Folders.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "ca/util/AsciiCase.h"
#include "ca/util/SystemErrorText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace ca {

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string pathToUtf8(const std::filesystem::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

namespace {

bool hiddenOrSystem(const std::filesystem::directory_entry& entry) {
#ifdef _WIN32
    DWORD attrs = GetFileAttributesW(entry.path().c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
#else
    auto name = entry.path().filename().native();
    return !name.empty() && name[0] == '.';
#endif
}

// Sort key: the name with ASCII letters in lower case; equal keys keep a fixed order by the name itself.
std::string sortKey(const std::string& name) {
    return toLowerAscii(name);
}

}  // namespace

std::vector<std::string> listFolderFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || hiddenOrSystem(*it)) continue;
        names.push_back(pathToUtf8(it->path().filename()));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::pair(sortKey(a), a) < std::pair(sortKey(b), b);
    });
    return names;
}

void enterFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec))
        throw std::runtime_error("文件夹“" + pathToUtf8(folder) + "”不存在");
    std::filesystem::current_path(folder, ec);
    if (ec) throw std::runtime_error("无法进入文件夹“" + pathToUtf8(folder) + "”：" + systemErrorText(ec));
}

}  // namespace ca
