#include "ca/spreadsheet/FileIo.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/util/SystemErrorText.h"

namespace ca::spreadsheet {

namespace {
constexpr std::uintmax_t kMaxFileBytes = 1u << 30;
}

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string readWholeFile(const std::string& path) {
    const auto p = pathFromUtf8(path);
    std::error_code ec;
    if (std::filesystem::is_directory(p, ec))
        throw SpreadsheetError::about("无法打开", path, "这是一个文件夹，不是文件");
    const auto size = std::filesystem::file_size(p, ec);
    if (ec) throw SpreadsheetError::about("无法打开", path, systemErrorText(ec));
    if (size > kMaxFileBytes) throw SpreadsheetError::about("无法打开", path, "文件太大，不是报关单电子表格");
    std::ifstream in(p, std::ios::binary);
    if (!in) throw SpreadsheetError::about("无法打开", path, "文件无法读取（没有权限，或正被其他程序使用）");
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        throw SpreadsheetError::about("无法打开", path, "文件没有读完整");
    return bytes;
}

std::string readFileStart(const std::string& path, size_t n) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) throw SpreadsheetError::about("无法打开", path, "文件无法读取（没有权限，或正被其他程序使用）");
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

void replaceFile(const std::string& path, const std::string& bytes) {
    static std::atomic<unsigned> counter{0};
    const auto target = pathFromUtf8(path);
    auto tmp = target;
    tmp += ".tmp" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000) +
           "-" + std::to_string(counter++);
    std::error_code ec;
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw SpreadsheetError::about("无法保存", path, "文件夹不存在或不能写入");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(tmp, ec);
            throw SpreadsheetError::about("无法保存", path, "写入文件失败（磁盘已满？）");
        }
    }
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throw SpreadsheetError::about("无法保存", path, "无法替换原文件：" + systemErrorText(ec));
    }
}

}  // namespace ca::spreadsheet
