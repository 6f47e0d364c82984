#pragma once
// What the subcommands share: prompts on the console and tab-separated output.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ca/util/Prompts.h"

namespace ca::cli {

// Message boxes become lines: texts on standard output, the error box on standard error, control
// characters in them escaped (escapeControls). Nobody is
// there to answer, so questions answer No, open dialogs and input boxes are cancelled, and a save
// dialog answers with the file given on the command line (--out), or is cancelled without one.
class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(std::string saveAnswer = {}) : saveAnswer_(std::move(saveAnswer)) {}

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

private:
    std::string saveAnswer_;
};

// Prints rows as tab-separated lines; every text goes through escapeTabText so each row stays one
// line with its columns intact.
void printRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace ca::cli
