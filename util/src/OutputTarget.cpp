#include "ca/util/OutputTarget.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

#include "ca/util/AsciiCase.h"
#include "ca/util/Folders.h"

namespace ca {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 3> kCompanions{"-wal", "-shm", "-journal"};

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

bool isPlainFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// Two existing files (or folders) that are one: the same device and file number.
bool sameExisting(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

bool sameName(const fs::path& a, const fs::path& b) {
#ifdef _WIN32
    // Windows file names do not differ by case.
    return equalsNoCase(pathToUtf8(a), pathToUtf8(b));
#else
    return a == b;
#endif
}

// Whether `output` names `file`: by identity when both exist; else by name in one folder, the folders
// compared by identity where they exist and by their resolved paths where they do not.
bool namesFile(const fs::path& output, const fs::path& file) {
    if (present(output) && present(file)) return sameExisting(output, file);
    if (!sameName(output.filename(), file.filename())) return false;
    const fs::path a = output.parent_path(), b = file.parent_path();
    if (present(a) && present(b)) return sameExisting(a, b);
    return sameName(a, b);
}

// Whether the file starts with SQLite's header. Only ever asked of files that are not the open
// database (that one is recognised by identity first, and its descriptors are the engine's alone).
bool isSqliteFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    in.read(head, sizeof head);
    return in.gcount() == sizeof head &&
           std::string_view(head, sizeof head) == std::string_view("SQLite format 3\0", 16);
}

}  // namespace

fs::path realFilePath(const fs::path& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    if (ec) p = path;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    fs::path out = fs::weakly_canonical(p, ec);
    return ec ? p.lexically_normal() : out;
}

std::optional<std::string> databaseFileNamed(const fs::path& output, const fs::path& realDatabase) {
    if (output.empty() || realDatabase.empty()) return std::nullopt;
    const fs::path out = realFilePath(output);
    if (namesFile(out, realDatabase)) return std::string();
    for (const char* companion : kCompanions) {
        fs::path file = realDatabase;
        file += companion;
        if (namesFile(out, file)) return std::string(companion);
    }
    return std::nullopt;
}

std::optional<fs::path> databaseOfCompanion(const fs::path& path) {
    const fs::path real = realFilePath(path);
    const std::string name = pathToUtf8(real.filename());
    for (const char* companion : kCompanions) {
        const std::string_view suffix(companion);
        if (name.size() <= suffix.size() || !name.ends_with(suffix)) continue;
        const fs::path base = real.parent_path() / pathFromUtf8(name.substr(0, name.size() - suffix.size()));
        if (isPlainFile(base) && isSqliteFile(base)) return base;
    }
    return std::nullopt;
}

std::string databaseOutputProblem(const std::string& output, const std::string& databaseFile) {
    if (output.empty()) return {};
    const fs::path out = pathFromUtf8(output);
    if (!databaseFile.empty()) {
        if (const auto named = databaseFileNamed(out, realFilePath(pathFromUtf8(databaseFile)))) {
            if (named->empty())
                return "不能写入“" + output + "”：这是正在使用的数据库文件“" + databaseFile +
                       "”，写入会毁掉数据库。请另选文件名";
            return "不能写入“" + output + "”：这是正在使用的数据库“" + databaseFile + "”的附属文件（" +
                   *named + "），写入会毁掉数据库。请另选文件名";
        }
    }
    // Any other database: an export never belongs over one, nor over a companion of one.
    const fs::path real = realFilePath(out);
    if (isPlainFile(real) && isSqliteFile(real))
        return "不能写入“" + output + "”：这是一个数据库文件，写入会毁掉其中的数据。请另选文件名";
    if (const auto base = databaseOfCompanion(real))
        return "不能写入“" + output + "”：这是数据库“" + pathToUtf8(*base) + "”的附属文件（" +
               pathToUtf8(real.filename()).substr(pathToUtf8(base->filename()).size()) +
               "），写入会毁掉数据库。请另选文件名";
    return {};
}

std::string xlsOutputProblem(const std::string& output) {
    if (!equalsNoCase(pathToUtf8(pathFromUtf8(output).extension()), ".xlsx")) return {};
    return "只能导出为 .xls 文件（EXCEL 97-2003 工作簿），不能写入 .xlsx 文件：" + output;
}

}  // namespace ca
