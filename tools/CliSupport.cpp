#include "CliSupport.h"

#include <iostream>

#include "ca/util/TabText.h"

namespace ca::cli {

void ConsolePrompts::info(const std::string& text, const std::string&) {
    std::cout << escapeControls(text) << "\n";
}
void ConsolePrompts::warning(const std::string& text, const std::string&) {
    std::cout << escapeControls(text) << "\n";
}
Button ConsolePrompts::question(const std::string& text, const std::string&) {
    std::cout << escapeControls(text) << "\n";
    return Button::No;
}
void ConsolePrompts::plainMessage(const std::string& text) {
    std::cout << escapeControls(text) << "\n";
}
void ConsolePrompts::errorBox(const std::string& text) {
    std::cerr << "错误：" << escapeControls(text) << "\n";
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

void printRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            out << (i ? "\t" : "") << escapeTabText(row[i]);
        out << "\n";
    }
}

}  // namespace ca::cli
