#include "CliSupport.h"

#include <algorithm>
#include <iostream>

#include "ca/util/TabText.h"

namespace ca::cli {

void ConsolePrompts::info(const std::string& text, const std::string&) {
    std::cout << text << "\n";
}
void ConsolePrompts::warning(const std::string& text, const std::string&) {
    std::cout << text << "\n";
}
Button ConsolePrompts::question(const std::string& text, const std::string&) {
    std::cout << text << "\n";
    return Button::No;
}
void ConsolePrompts::plainMessage(const std::string& text) {
    std::cout << text << "\n";
}
void ConsolePrompts::errorBox(const std::string& text) {
    std::cerr << "错误：" << text << "\n";
}
std::string ConsolePrompts::openFile(const std::string&, const std::string&) {
    return {};
}
std::string ConsolePrompts::saveFile(const std::string&, const std::string&, const std::string&) {
    return saveAnswer_;
}
std::optional<std::string> ConsolePrompts::input(const std::string&, const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> Arguments::option(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

Arguments parseArguments(const std::vector<std::string>& args, std::string_view usage,
                         std::initializer_list<std::string_view> valued) {
    auto fail = [&](const std::string& why) { return UsageError(why + "\n用法：" + std::string(usage)); };
    Arguments parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            parsed.positional.push_back(a);
            continue;
        }
        const bool known =
            a == "--db" || a == "--out" || std::find(valued.begin(), valued.end(), a) != valued.end();
        if (!known) throw fail("未知的参数 '" + a + "'");
        if (i + 1 >= args.size()) throw fail("参数 " + a + " 缺少值");
        const std::string& value = args[++i];
        if (a == "--db")
            parsed.db = value;
        else if (a == "--out")
            parsed.out = value;
        else
            parsed.options[a] = value;
    }
    return parsed;
}

void printRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            out << (i ? "\t" : "") << escapeTabText(row[i]);
        out << "\n";
    }
}

}  // namespace ca::cli
