#pragma once
// The message boxes of the commands that run the window's procedures, as console lines.
#include <iostream>

#include "ca/util/Prompts.h"

namespace ca::cli {

// Message boxes become lines: texts on standard output, the error box on standard error. Nobody is
// there to answer, so questions answer No and dialogs are cancelled.
class ConsolePrompts : public Prompts {
public:
    void info(const std::string& text, const std::string&) override { std::cout << text << "\n"; }
    void warning(const std::string& text, const std::string&) override { std::cout << text << "\n"; }
    Button question(const std::string& text, const std::string&) override {
        std::cout << text << "\n";
        return Button::No;
    }
    void plainMessage(const std::string& text) override { std::cout << text << "\n"; }
    void errorBox(const std::string& text) override { std::cerr << "错误：" << text << "\n"; }
    std::string openFile(const std::string&, const std::string&) override { return {}; }
    std::string saveFile(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

}  // namespace ca::cli
