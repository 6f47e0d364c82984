#include "ZipArchive.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>

#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet {

namespace {

// minizip file functions over a byte buffer.
voidpf ZCALLBACK memOpen(voidpf opaque, const void*, int) {
    return opaque;
}
uLong ZCALLBACK memRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* m = static_cast<ZipArchive::Memory*>(stream);
    const size_t n = std::min<size_t>(size, m->bytes.size() - std::min(m->pos, m->bytes.size()));
    if (n > 0) std::memcpy(buf, m->bytes.data() + m->pos, n);
    m->pos += n;
    return static_cast<uLong>(n);
}
uLong ZCALLBACK memWrite(voidpf, voidpf, const void*, uLong) {
    return 0;
}
ZPOS64_T ZCALLBACK memTell(voidpf, voidpf stream) {
    return static_cast<ZipArchive::Memory*>(stream)->pos;
}
long ZCALLBACK memSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* m = static_cast<ZipArchive::Memory*>(stream);
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = m->pos;
    if (origin == ZLIB_FILEFUNC_SEEK_END) base = m->bytes.size();
    const ZPOS64_T target = base + offset;
    if (target > m->bytes.size()) return -1;
    m->pos = static_cast<size_t>(target);
    return 0;
}
int ZCALLBACK memClose(voidpf, voidpf) {
    return 0;
}
int ZCALLBACK memError(voidpf, voidpf) {
    return 0;
}

}  // namespace

ZipArchive::ZipArchive(std::string_view bytes, size_t totalBytes) : memory_{bytes, 0}, budget_(totalBytes) {
    zlib_filefunc64_def funcs{};
    funcs.zopen64_file = memOpen;
    funcs.zread_file = memRead;
    funcs.zwrite_file = memWrite;
    funcs.ztell64_file = memTell;
    funcs.zseek64_file = memSeek;
    funcs.zclose_file = memClose;
    funcs.zerror_file = memError;
    funcs.opaque = &memory_;
    zip_ = unzOpen2_64("memory", &funcs);
    if (!zip_) throw FormatError(".xlsx 文件已损坏：压缩包无法打开");
}

ZipArchive::~ZipArchive() {
    if (zip_) unzClose(zip_);
}

std::optional<std::string> ZipArchive::read(const std::string& name) {
    const size_t maxBytes = budget_;
    if (unzLocateFile(zip_, name.c_str(), 2) != UNZ_OK) return std::nullopt;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        throw FormatError(".xlsx 文件已损坏：压缩包中的 " + name + " 无法解压");
    if (info.uncompressed_size > maxBytes)
        throw FormatError(".xlsx 文件解压后太大，程序不读取这么大的工作簿");
    if (unzOpenCurrentFile(zip_) != UNZ_OK)
        throw FormatError(".xlsx 文件已损坏：压缩包中的 " + name + " 无法解压");
    std::string out;
    out.reserve(static_cast<size_t>(info.uncompressed_size));
    char buf[65536];
    int n;
    while ((n = unzReadCurrentFile(zip_, buf, sizeof buf)) > 0) {
        if (out.size() + static_cast<size_t>(n) > maxBytes) {
            unzCloseCurrentFile(zip_);
            throw FormatError(".xlsx 文件解压后太大，程序不读取这么大的工作簿");
        }
        out.append(buf, static_cast<size_t>(n));
    }
    const int closed = unzCloseCurrentFile(zip_);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    (void)closed;  // let the fuzzer change stored members without fixing their checksums
    if (n < 0) throw FormatError(".xlsx 文件已损坏：压缩包中的 " + name + " 无法解压");
#else
    if (n < 0 || closed == UNZ_CRCERROR)
        throw FormatError(".xlsx 文件已损坏：压缩包中的 " + name + " 无法解压");
#endif
    budget_ -= out.size();
    return out;
}

}  // namespace ca::spreadsheet
