#include "CheckedOutput.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "ca/util/SystemErrorText.h"

namespace ca::cli {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

std::string causeOf(int error) {
    if (error == 0) return "写入失败";
#ifdef EPIPE
    if (error == EPIPE) return "读取输出的一方已经关闭（管道已断开）";
#endif
    return systemErrorText(std::error_code(error, std::generic_category()));
}

}  // namespace

CheckedOutput::CheckedOutput() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    previous_ = std::cout.rdbuf(this);
}

CheckedOutput::~CheckedOutput() {
    drain();
    std::cout.rdbuf(previous_);
}

bool CheckedOutput::drain() {
    if (failed_) {
        pending_.clear();
        return false;
    }
    errno = 0;
    const std::size_t written =
        pending_.empty() ? 0 : std::fwrite(pending_.data(), 1, pending_.size(), stdout);
    const bool ok = written == pending_.size() && std::fflush(stdout) == 0;
    pending_.clear();
    if (!ok) {
        failed_ = true;
        error_ = errno;
    }
    return ok;
}

CheckedOutput::int_type CheckedOutput::overflow(int_type ch) {
    if (failed_) return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    pending_ += traits_type::to_char_type(ch);
    if (pending_.size() >= kChunk && !drain()) return traits_type::eof();
    return ch;
}

std::streamsize CheckedOutput::xsputn(const char* s, std::streamsize n) {
    if (failed_) return 0;
    pending_.append(s, static_cast<std::size_t>(n));
    if (pending_.size() >= kChunk && !drain()) return 0;
    return n;
}

int CheckedOutput::sync() {
    return drain() ? 0 : -1;
}

std::string CheckedOutput::finish() {
    std::cout.flush();
    drain();
    if (!failed_ && std::cout) return {};
    return "结果没有完整写到标准输出：" + causeOf(error_) + "，输出不完整";
}

}  // namespace ca::cli
