#include "EngineMessage.h"

namespace ca::db {

namespace {

struct Pattern {
    std::string_view prefix;  // the engine's text up to the name it reports
    std::string_view before;  // the Chinese text before the name
    std::string_view after;   // and after it
};

// Messages that end in a name: "<prefix><name>".
constexpr Pattern kNamed[] = {
    {"no such table: ", "数据表“", "”不存在"},
    {"no such column: ", "字段“", "”不存在"},
    {"UNIQUE constraint failed: ", "字段“", "”中已有相同的值，不能重复"},
    {"NOT NULL constraint failed: ", "字段“", "”不能为空"},
    {"CHECK constraint failed: ", "数据类型不匹配：字段“", "”不能接受给定的值"},
    {"duplicate column name: ", "字段“", "”已经存在"},
    {"ambiguous column name: ", "字段名“", "”不明确（几个数据表中都有这个字段）"},
    {"no such function: ", "不支持函数“", "”"},
    {"unrecognized token: ", "语法错误：无法识别的符号 ", ""},
};

// Messages without a name.
constexpr std::pair<std::string_view, std::string_view> kWhole[] = {
    {"database is locked", "数据库正被其他程序使用（已锁定），请稍后再试"},
    {"database table is locked", "数据表正被其他程序使用（已锁定），请稍后再试"},
    {"file is not a database", "文件不是数据库，或已损坏"},
    {"database disk image is malformed", "数据库文件已损坏"},
    {"attempt to write a readonly database", "数据库是只读的，无法写入"},
    {"unable to open database file", "无法打开数据库文件"},
    {"disk I/O error", "磁盘读写错误"},
    {"database or disk is full", "数据库或磁盘已满"},
    {"incomplete input", "语法错误：语句不完整"},
    {"out of memory", "内存不足"},
    {"interrupted", "操作被中断"},
};

}  // namespace

std::string chineseEngineMessage(std::string_view message) {
    for (const Pattern& p : kNamed)
        if (message.starts_with(p.prefix)) {
            std::string out(p.before);
            out += message.substr(p.prefix.size());
            out += p.after;
            return out;
        }
    for (const auto& [english, chinese] : kWhole)
        if (message == english) return std::string(chinese);
    // near "x": syntax error
    constexpr std::string_view kNear = "near ", kSyntax = ": syntax error";
    if (message.starts_with(kNear) && message.ends_with(kSyntax))
        return "语法错误：在 " +
               std::string(message.substr(kNear.size(), message.size() - kNear.size() - kSyntax.size())) +
               " 附近";
    // table X has no column named Y
    constexpr std::string_view kTable = "table ", kNoColumn = " has no column named ";
    if (const auto at = message.find(kNoColumn); message.starts_with(kTable) && at != std::string_view::npos)
        return "数据表“" + std::string(message.substr(kTable.size(), at - kTable.size())) + "”中没有字段“" +
               std::string(message.substr(at + kNoColumn.size())) + "”";
    // table X already exists
    constexpr std::string_view kExists = " already exists";
    if (message.starts_with(kTable) && message.ends_with(kExists))
        return "数据表“" +
               std::string(message.substr(kTable.size(), message.size() - kTable.size() - kExists.size())) +
               "”已经存在";
    // Texts raised by this program's own functions are Chinese already.
    if (!message.empty() && static_cast<unsigned char>(message[0]) >= 0x80) return std::string(message);
    return "数据库错误：" + std::string(message);
}

}  // namespace ca::db
