#include "ca/util/Prompts.h"

namespace ca {

void ScriptedPrompts::info(const std::string& text, const std::string& caption) {
    shown_.push_back({"info", text, caption});
}
void ScriptedPrompts::warning(const std::string& text, const std::string& caption) {
    shown_.push_back({"warning", text, caption});
}
Button ScriptedPrompts::question(const std::string& text, const std::string& caption) {
    shown_.push_back({"question", text, caption});
    if (questions_.empty()) return Button::No;
    Button b = questions_.front();
    questions_.pop_front();
    return b;
}
void ScriptedPrompts::plainMessage(const std::string& text) {
    shown_.push_back({"plain", text, {}});
}
void ScriptedPrompts::errorBox(const std::string& text) {
    shown_.push_back({"error", text, {}});
}

namespace {

std::string takeFirst(std::deque<std::string>& answers) {
    if (answers.empty()) return {};
    std::string f = std::move(answers.front());
    answers.pop_front();
    return f;
}

}  // namespace

std::string ScriptedPrompts::openFile(const std::string& title, const std::string&) {
    shown_.push_back({"open", title, {}});
    return takeFirst(openFiles_);
}
std::string ScriptedPrompts::saveFile(const std::string& title, const std::string&,
                                      const std::string& defaultSuffix) {
    shown_.push_back({"save", title, defaultSuffix});
    return takeFirst(saveFiles_);
}
std::optional<std::string> ScriptedPrompts::input(const std::string& caption, const std::string& prompt,
                                                  const std::string&) {
    shown_.push_back({"input", prompt, caption});
    if (inputs_.empty()) return std::nullopt;
    auto t = inputs_.front();
    inputs_.pop_front();
    return t;
}

std::vector<std::string> ScriptedPrompts::texts(const std::string& kind) const {
    std::vector<std::string> out;
    for (const auto& s : shown_)
        if (s.kind == kind) out.push_back(s.text);
    return out;
}

}  // namespace ca
