#pragma once
// The reason of a failed file operation in the clerk's language.
#include <string>
#include <system_error>

namespace ca {

// A short Chinese reason for the error ("文件不存在", "磁盘空间不足" …). Errors without a text of their
// own give "系统错误 <code>" followed by the platform's text.
std::string systemErrorText(const std::error_code& ec);

}  // namespace ca
