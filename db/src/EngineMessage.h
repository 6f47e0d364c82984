#pragma once
// The database engine's error texts in the clerk's language.
#include <string>
#include <string_view>

namespace ca::db {

// The engine's message in Chinese, naming the table, column or text the engine names; a message
// without a translation is kept after "数据库错误：".
std::string chineseEngineMessage(std::string_view message);

}  // namespace ca::db
