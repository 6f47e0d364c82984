#pragma once
// Standard output of customs-assistant-cli, checked. Every command writes through std::cout; this
// buffer sits under it, remembers why the first write failed (a closed pipe, a full device) and lets
// main report it once, after the final flush, instead of ending with status 0 and lost output. A
// closed pipe no longer kills the process: SIGPIPE is ignored and the write error is reported.
#include <cstddef>
#include <streambuf>
#include <string>

namespace ca::cli {

class CheckedOutput : public std::streambuf {
public:
    CheckedOutput();  // takes over std::cout's buffer
    ~CheckedOutput() override;
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // Flushes what is left. Returns the empty text when everything reached standard output,
    // otherwise a Chinese sentence naming the cause.
    std::string finish();

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool drain();
    std::string pending_;
    int error_ = 0;  // errno of the first failed write
    bool failed_ = false;
    std::streambuf* previous_ = nullptr;
};

}  // namespace ca::cli
