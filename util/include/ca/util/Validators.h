#pragma once
// The shared validators: they try the conversion and report whether it worked. They never raise
// and never show anything.
#include <string_view>

namespace ca {

bool IsInteger(std::string_view text);
bool IsFloat(std::string_view text);
bool IsDate(std::string_view text);

}  // namespace ca
