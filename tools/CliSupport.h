#pragma once
// What the subcommands share: prompts on the console, the common options and tab-separated output.
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ca/util/Prompts.h"
#include "ca/util/Settings.h"

namespace ca::cli {

// Message boxes become lines: texts on standard output, the error box on standard error. Nobody is
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

// A command line the subcommand cannot use; the text says why and ends with the usage line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Arguments {
    std::string db = settings::kDatabaseFileName;  // --db: the database file or a server's connection string
    std::string out;                               // --out FILE: the file a save dialog is answered with
    // The other "--name VALUE" options the subcommand accepts (key with the dashes), as given.
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;

    // The option's value, or nullopt when it was not given.
    std::optional<std::string> option(const std::string& name) const;
};

// Splits the arguments of a subcommand: --db and --out, the options named in `valued` (each takes a
// value), and everything else that does not start with "--" as positional. Throws UsageError for an
// unknown option or an option without its value.
Arguments parseArguments(const std::vector<std::string>& args, std::string_view usage,
                         std::initializer_list<std::string_view> valued = {});

// Prints rows as tab-separated lines; every text goes through escapeTabText so each row stays one
// line with its columns intact.
void printRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace ca::cli
