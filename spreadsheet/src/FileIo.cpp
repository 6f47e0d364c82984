#include "ca/spreadsheet/FileIo.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <fstream>
#include <system_error>

#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/util/Folders.h"
#include "ca/util/SystemErrorText.h"
#include "ca/util/TemporaryFile.h"

namespace ca::spreadsheet {

namespace {
constexpr std::uintmax_t kMaxFileBytes = 1u << 30;
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

namespace {

namespace fs = std::filesystem;

// A symbolic link is written through: the file it names (following a chain of links) is the one
// replaced, and the link stays a link.
fs::path resolveLinks(const std::string& path) {
    fs::path p = pathFromUtf8(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) throw SpreadsheetError::about("无法保存", path, "无法读取符号链接：" + systemErrorText(ec));
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    throw SpreadsheetError::about("无法保存", path, "符号链接层层相指，找不到它指向的文件");
}

// What must hold before a file is written at target: its folder exists, and an existing file is a
// plain file that may be written (not read-only, not another user's file we may not change).
void checkWritable(const std::string& path, const fs::path& target, const fs::file_status& st) {
    std::error_code ec;
    if (target.filename().native().size() > 255)
        throw SpreadsheetError::about("无法保存", path,
                                      "文件名太长（文件名最多 255 个字节），请用短一些的文件名");
    if (!fs::exists(st)) {
        const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        if (!fs::is_directory(folder, ec))
            throw SpreadsheetError::about("无法保存", path, "文件夹“" + pathToUtf8(folder) + "”不存在");
        return;
    }
    if (fs::is_directory(st)) throw SpreadsheetError::about("无法保存", path, "这是一个文件夹，不是文件");
    if (!fs::is_regular_file(st)) throw SpreadsheetError::about("无法保存", path, "这不是普通文件");
    if ((st.permissions() & fs::perms::owner_write) == fs::perms::none)
        throw SpreadsheetError::about("无法保存", path, "文件是只读的，没有改动它");
    std::ofstream probe(target, std::ios::binary | std::ios::app);  // opens without changing anything
    if (!probe) throw SpreadsheetError::about("无法保存", path, "没有写入这个文件的权限，没有改动它");
}

}  // namespace

void replaceFile(const std::string& path, const std::string& bytes) {
    const fs::path target = resolveLinks(path);
    std::error_code ec;
    const fs::file_status st = fs::status(target, ec);
    checkWritable(path, target, st);
    // Removed on every way out but the rename, an interruption included.
    TemporaryFile tmp(temporaryPathBeside(target));
    {
        std::ofstream out(tmp.path(), std::ios::binary | std::ios::trunc);
        if (!out) {
            const std::error_code why(errno, std::generic_category());
            const fs::path folder = fs::absolute(target, ec).parent_path();
            throw SpreadsheetError::about(
                "无法保存", path,
                "不能在文件夹“" + pathToUtf8(folder) + "”中建立临时文件：" + systemErrorText(why));
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (!out)
            throw SpreadsheetError::about("无法保存", path, "写入文件失败（磁盘已满？），原文件没有改动");
    }
    // The new file keeps the permissions of the one it replaces.
    if (fs::exists(st)) fs::permissions(tmp.path(), st.permissions(), fs::perm_options::replace, ec);
    tmp.commit(target, ec);
    if (ec) throw SpreadsheetError::about("无法保存", path, "不能替换原文件：" + systemErrorText(ec));
}

void refuseFileInUse(const std::string& path, const std::string& action) {
    const fs::path given = pathFromUtf8(path);
    std::error_code ec;
    for (const fs::path& file : {given, fs::path(resolveLinks(path))}) {
        fs::path lock = file.parent_path() / ".~lock.";
        lock += file.filename();
        lock += "#";
        if (fs::exists(lock, ec))
            throw SpreadsheetError::about(action, path,
                                          "文件正被其他程序使用（办公软件打开着它，有它的锁文件“" +
                                              pathToUtf8(lock.filename()) +
                                              "”），请先在那个程序中关闭这个文件");
    }
#ifndef _WIN32
    const int fd = ::open(pathToUtf8(resolveLinks(path)).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;  // reading it says why
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const bool fcntlLock = fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    const bool flockLock = !fcntlLock && flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // drops the probe's own flock; the process holds no other lock on a workbook
    if (fcntlLock || flockLock)
        throw SpreadsheetError::about(
            action, path, "文件正被其他程序使用（另一个程序锁定了它），请先在那个程序中关闭这个文件");
#endif
}

}  // namespace ca::spreadsheet
