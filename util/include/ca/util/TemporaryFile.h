#pragma once
// A temporary file written beside a target and then renamed over it. While it exists it is listed in
// a process-wide table, so that an interruption (Ctrl+C, a termination request) removes it before the
// program ends: an interrupted save leaves neither a half-written file nor a stray "*.tmp…" beside
// the target. Leaving its scope without release() (an exception, a failed write) removes it as well.
#include <filesystem>

namespace ca {

class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The file has been renamed over its target (or is otherwise no longer temporary): nothing is
    // removed any more.
    void release();

private:
    std::filesystem::path path_;
    int slot_ = -1;  // place in the interruption table, -1 when not listed
    bool released_ = false;
};

// Makes SIGINT and SIGTERM (Ctrl+C and Ctrl+Break on Windows) remove every temporary file then in
// progress before the program ends the way the signal would end it. A signal the program was started
// with ignored stays ignored. Call once, early, in a program that saves files.
void removeTemporaryFilesOnInterrupt();

}  // namespace ca
