#pragma once
// A temporary file written beside a target and then renamed over it. While it exists it is listed in
// a process-wide table, so that an interruption (Ctrl+C, a termination request, a closed terminal)
// removes it before the program ends: an interrupted save leaves neither a half-written file nor a
// stray "*.tmp…" beside the target. Leaving its scope without commit() or release() (an exception, a
// failed write) removes it as well.
#include <filesystem>
#include <system_error>

namespace ca {

class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Renames the file over `target` and releases it; `ec` says why the rename failed (the file is
    // then still temporary). An interruption arriving during the rename waits for it; once the file
    // is in place the program's work is done, and an interruption no longer ends it (see
    // removeTemporaryFilesOnInterrupt).
    void commit(const std::filesystem::path& target, std::error_code& ec);

    // The file has been renamed over its target (or is otherwise no longer temporary): nothing is
    // removed any more.
    void release();

private:
    std::filesystem::path path_;
    int slot_ = -1;  // place in the interruption table, -1 when not listed
    bool released_ = false;
};

// The name of a new temporary file beside `target`, in the same folder: "<name>.tmp<n>-<m>", the
// name cut (at a character boundary) so that the whole stays within the 255 bytes a file name may
// have. Temporary files of this naming in that folder left behind by an earlier run that was killed
// (older than an hour) are removed first; no other file is touched.
std::filesystem::path temporaryPathBeside(const std::filesystem::path& target);

// Makes SIGINT, SIGTERM, SIGHUP and SIGQUIT (Ctrl+C and Ctrl+Break on Windows) remove every temporary
// file then in progress before the program ends the way the signal would end it. A signal the program
// was started with ignored stays ignored. Once a temporary file has been committed, the program's
// result stands: a later signal is noted (interruptionAfterCompletion) and the program goes on to
// report its result. Call once, early, in a program that saves one result file per run.
void removeTemporaryFilesOnInterrupt();

// The signal that arrived after a committed file, 0 when none did.
int interruptionAfterCompletion();

}  // namespace ca
