#pragma once
// The reason of a failed file operation in the clerk's language.
#include <exception>
#include <string>
#include <system_error>

namespace ca {

// A short Chinese reason for the error ("文件不存在", "磁盘空间不足" …). Errors without a text of their
// own give "系统错误 <code>" followed by the platform's text.
std::string systemErrorText(const std::error_code& ec);

// The text an error box or the command-line tool shows for an error: the error's own text, except
// for the standard library's own errors, whose English texts become Chinese ones (a file system
// error names its path and the reason, running out of memory says so).
std::string errorText(const std::exception& e);

}  // namespace ca
