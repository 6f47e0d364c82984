#include "ca/util/OutputTarget.h"

#include <algorithm>
#include <filesystem>

#include "ca/util/AsciiCase.h"
#include "ca/util/Folders.h"

namespace ca {

namespace fs = std::filesystem;

namespace {

// The path with every symbolic link resolved that can be resolved, the last one too when it points
// at a file that does not exist yet.
fs::path resolved(fs::path p) {
    std::error_code ec;
    p = fs::absolute(p, ec);
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    fs::path out = fs::weakly_canonical(p, ec);
    if (ec) out = p.lexically_normal();
#ifdef _WIN32
    // Windows file names do not differ by case.
    std::wstring text = out.wstring();
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; });
    out = fs::path(text);
#endif
    return out;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ea, eb;
    if (fs::exists(a, ea) && fs::exists(b, eb)) {
        std::error_code ec;
        const bool same = fs::equivalent(a, b, ec);
        if (!ec) return same;
    }
    return resolved(a) == resolved(b);
}

}  // namespace

std::string databaseOutputProblem(const std::string& output, const std::string& databaseFile) {
    if (output.empty() || databaseFile.empty()) return {};
    const fs::path out = pathFromUtf8(output);
    if (sameFile(out, pathFromUtf8(databaseFile)))
        return "不能写入“" + output + "”：这是正在使用的数据库文件“" + databaseFile +
               "”，写入会毁掉数据库。请另选文件名";
    for (const char* companion : {"-wal", "-shm", "-journal"})
        if (sameFile(out, pathFromUtf8(databaseFile + companion)))
            return "不能写入“" + output + "”：这是正在使用的数据库“" + databaseFile + "”的附属文件（" +
                   companion + "），写入会毁掉数据库。请另选文件名";
    return {};
}

std::string xlsOutputProblem(const std::string& output) {
    if (!equalsNoCase(pathToUtf8(pathFromUtf8(output).extension()), ".xlsx")) return {};
    return "只能导出为 .xls 文件（EXCEL 97-2003 工作簿），不能写入 .xlsx 文件：" + output;
}

}  // namespace ca
