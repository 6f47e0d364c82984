#include "StandinLog.h"

namespace ca::win32test {

StandinLog::StandinLog(const std::wstring& path)
    : file_(path.empty() ? nullptr : _wfopen(path.c_str(), L"ab")) {}

StandinLog::~StandinLog() {
    if (file_) std::fclose(file_);
}

void StandinLog::line(std::string_view utf8) {
    if (!file_) return;
    std::fwrite(utf8.data(), 1, utf8.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace ca::win32test
