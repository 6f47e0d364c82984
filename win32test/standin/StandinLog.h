#pragma once
// What the stand-in client receives, one UTF-8 line per happening, appended to a file and flushed
// at once so that the test driver can read it while the client keeps running.
#include <cstdio>
#include <string>
#include <string_view>

namespace ca::win32test {

class StandinLog {
public:
    explicit StandinLog(const std::wstring& path);
    ~StandinLog();
    StandinLog(const StandinLog&) = delete;
    StandinLog& operator=(const StandinLog&) = delete;

    // Appends one line (UTF-8, without its line end).
    void line(std::string_view utf8);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace ca::win32test
