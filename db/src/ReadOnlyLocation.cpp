#include "ReadOnlyLocation.h"

#if defined(__linux__)
#include <sys/statvfs.h>
#include <unistd.h>
#endif

#include "ca/util/Folders.h"

namespace ca::db {

namespace fs = std::filesystem;

bool onReadOnlyFileSystem(const fs::path& path) {
#if defined(__linux__)
    struct statvfs info {};
    return statvfs(pathToUtf8(path).c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
#else
    (void)path;
    return false;
#endif
}

bool writableFile(const fs::path& path) {
#if defined(__linux__)
    return access(pathToUtf8(path).c_str(), W_OK) == 0;
#else
    std::error_code ec;
    return (fs::status(path, ec).permissions() & fs::perms::owner_write) != fs::perms::none;
#endif
}

std::string immutableUri(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            uri += '%';
            uri += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            uri += hex[static_cast<unsigned char>(c) & 0xF];
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

}  // namespace ca::db
