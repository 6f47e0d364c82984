#pragma once
// The prompt seam: every message box, file dialog and input box the procedures show goes through
// this interface. The windows use the Qt implementation; tests queue answers on ScriptedPrompts.
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ca {

// Button codes as the platform's message box returns them.
enum class Button { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class Prompts {
public:
    virtual ~Prompts() = default;
    // Modal box with the information icon and OK (flags 64). An empty caption means the app title.
    virtual void info(const std::string& text, const std::string& caption) = 0;
    // The same with the exclamation icon (flags 48).
    virtual void warning(const std::string& text, const std::string& caption) = 0;
    // Yes and No, question icon, No the default (flags 292). Returns Yes or No.
    virtual Button question(const std::string& text, const std::string& caption) = 0;
    // The application's own message dialog: OK, no icon, the application title as caption.
    virtual void plainMessage(const std::string& text) = 0;
    // The application's default error box: the error's text, OK, the application title.
    virtual void errorBox(const std::string& text) = 0;
    // Open-file dialog; an empty result means cancelled.
    virtual std::string openFile(const std::string& title, const std::string& filter) = 0;
    // Save-file dialog; an empty result means cancelled. A name typed without a suffix gets
    // defaultSuffix (without the dot; empty adds none). The dialog never asks about replacing an
    // existing file: what happens to it is the business of the step that writes.
    virtual std::string saveFile(const std::string& title, const std::string& filter,
                                 const std::string& defaultSuffix) = 0;
    // Text input box; nullopt means cancelled.
    virtual std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) = 0;
};

// Test implementation: records every prompt shown and answers from queues. An unscripted question
// answers No, an unscripted dialog is cancelled: a test never blocks on a missing answer.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        std::string kind;  // "info", "warning", "question", "plain", "error", "open", "save", "input"
        std::string text;
        std::string caption;  // for "save": the default suffix
    };

    void info(const std::string& text, const std::string& caption) override;
    void warning(const std::string& text, const std::string& caption) override;
    Button question(const std::string& text, const std::string& caption) override;
    void plainMessage(const std::string& text) override;
    void errorBox(const std::string& text) override;
    std::string openFile(const std::string& title, const std::string& filter) override;
    std::string saveFile(const std::string& title, const std::string& filter,
                         const std::string& defaultSuffix) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& initial) override;

    // Open and save dialogs answer from separate queues: a stray open dialog never takes the
    // answer meant for a save dialog.
    void answerQuestion(Button b) { questions_.push_back(b); }
    void answerOpen(std::string path) { openFiles_.push_back(std::move(path)); }
    void answerSave(std::string path) { saveFiles_.push_back(std::move(path)); }
    void answerInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

    const std::vector<Shown>& shown() const { return shown_; }
    // Texts of the prompts of one kind, in order.
    std::vector<std::string> texts(const std::string& kind) const;
    void clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
    std::deque<Button> questions_;
    std::deque<std::string> openFiles_;
    std::deque<std::string> saveFiles_;
    std::deque<std::optional<std::string>> inputs_;
};

}  // namespace ca
