#pragma once
// The command base of customs-assistant-cli. Every subcommand declares its options and arguments;
// one parser reads the command line against that declaration and makes the usage text from it. A
// command line the subcommand cannot use is a usage error (status 2), anything else that goes wrong
// is a failure (status 1). A command that works on the office's data declares so, and its database
// is opened once: the one --db names, else the one the window program would use (the server of the
// config.ini given with --config or lying beside the program, else DB.sqlite).
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ca/util/Convert.h"

namespace ca::db {
class TDM;
}

namespace ca::cli {

// A command line the subcommand cannot use. The text says why and ends with the usage line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value that names a file the command writes. Every such file is checked, whatever the command,
// before the command runs: it must not be the database or one of its companion files (nor any other
// SQLite database), and an exported workbook must not carry the .xlsx extension.
enum class Output { None, File, Workbook };

struct Option {
    std::string name;   // with its dashes: "--from"
    std::string value;  // what the value is, for the usage text ("日期"); empty for a flag
    bool required = false;
    Output output = Output::None;
};

struct Argument {
    std::string name;  // for the usage text: "编码"
    bool optional = false;
    Output output = Output::None;
};

// How a command uses the database. Only commands that may set up a new office's data create a
// database file that does not exist (and say so); the others refuse a missing file with its path.
// A command that only reads opens the file read-only; one that changes it (Changes, MayCreate) finds
// a damaged file refused before anything is written, and a read-only location named as such.
enum class DatabaseUse { None, Existing, Changes, MayCreate };

class Invocation;

struct Command {
    std::string name;  // the subcommand, or two words for one action of it: "user add"
    std::vector<Option> options;
    std::vector<Argument> arguments;
    DatabaseUse database = DatabaseUse::None;
    std::string help;  // what the command does: shown after the usage line in --help
    std::function<int(Invocation&)> run;
};

// The usage line made from the declaration, e.g. "fee-item add 编码 名称 [--db 数据库] [--config 设置文件]".
std::string usageLine(const Command& command);

// The database a command works on: `dbOption` when given, else what the settings file names
// (its 数据库服务器, else "DB.sqlite").
std::string databaseTargetFor(const std::optional<std::string>& dbOption,
                              const std::filesystem::path& config);

// One run of a command: the command line as parsed, and the database, opened on first use.
class Invocation {
public:
    // Parses `args` (the words after the command's name). Throws UsageError for an unknown option,
    // an option without its value, a missing required option or argument, or one argument too many.
    Invocation(const Command& command, std::vector<std::string> args);
    ~Invocation();
    Invocation(const Invocation&) = delete;
    Invocation& operator=(const Invocation&) = delete;

    const Command& command() const { return command_; }

    bool has(std::string_view option) const;
    std::optional<std::string> option(std::string_view name) const;
    std::string value(std::string_view option, const std::string& fallback = {}) const;
    // The option as a date (YYYY-MM-DD), `fallback` when it is not given; a usage error when it is
    // not a date.
    Date date(std::string_view option, const Date& fallback) const;

    const std::vector<std::string>& arguments() const { return positional_; }
    // The argument at `index`, or the empty text for an optional one that was not given.
    const std::string& argument(std::size_t index) const;

    // Throws UsageError with `why` and the usage line.
    [[noreturn]] void usageError(const std::string& why) const;

    // The settings file the window program would read: --config (which must exist), else config.ini
    // beside the program.
    std::filesystem::path configFile() const;
    // --db, else the database of configFile().
    std::string databaseTarget() const;
    // The database, checked and opened on first use (see DatabaseUse); the same one afterwards.
    db::TDM& database();

    // Throws std::runtime_error when a file the command would write (Output) is refused.
    void checkOutputs();

private:
    // The database file the outputs must spare, links resolved; empty for a server or none.
    std::string protectedDatabase();

    const Command& command_;
    std::vector<std::pair<std::string, std::string>> options_;
    std::vector<std::string> positional_;
    std::unique_ptr<db::TDM> database_;
};

}  // namespace ca::cli
