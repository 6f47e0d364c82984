#include "CliCommand.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "CliRegistry.h"
#include "InputFiles.h"
#include "ca/db/DatabaseFile.h"
#include "ca/db/DatabaseFiles.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/db/TDM.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/OutputTarget.h"
#include "ca/util/Settings.h"

namespace ca::cli {

namespace {

const Option kDbOption{"--db", "数据库"};
const Option kConfigOption{"--config", "config.ini"};

// The options a command accepts: its own, and --db and --config when it works on the database.
std::vector<Option> acceptedOptions(const Command& c) {
    std::vector<Option> all = c.options;
    if (c.database != DatabaseUse::None) {
        for (const Option& o : {kDbOption, kConfigOption})
            if (std::none_of(all.begin(), all.end(), [&](const Option& x) { return x.name == o.name; }))
                all.push_back(o);
    }
    return all;
}

std::string optionText(const Option& o) {
    return o.value.empty() ? o.name : o.name + " " + o.value;
}

}  // namespace

std::string usageLine(const Command& c) {
    std::string line = c.name;
    for (const Argument& a : c.arguments)
        line += a.optional ? " [" + a.name + "]" : " " + a.name;
    for (const Option& o : acceptedOptions(c))
        line += o.required ? " " + optionText(o) : " [" + optionText(o) + "]";
    return line;
}

std::string databaseTargetFor(const std::optional<std::string>& dbOption,
                              const std::filesystem::path& config) {
    if (dbOption) return *dbOption;
    return db::DatabaseTarget(IniFile(config));
}

Invocation::Invocation(const Command& command, std::vector<std::string> args) : command_(command) {
    const std::vector<Option> accepted = acceptedOptions(command);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!a.starts_with("--")) {
            positional_.push_back(a);
            continue;
        }
        const auto known =
            std::find_if(accepted.begin(), accepted.end(), [&](const Option& o) { return o.name == a; });
        if (known == accepted.end()) usageError("未知的参数 '" + a + "'");
        std::string value;
        if (!known->value.empty()) {
            if (i + 1 >= args.size()) usageError("参数 " + a + " 缺少值");
            value = args[++i];
        }
        // The last of a repeated option counts.
        std::erase_if(options_, [&](const auto& o) { return o.first == a; });
        options_.emplace_back(a, std::move(value));
    }
    for (const Option& o : accepted)
        if (o.required && !has(o.name)) usageError("缺少 " + optionText(o));
    if (positional_.size() > command.arguments.size())
        usageError("多余的参数“" + positional_[command.arguments.size()] +
                   "”（含空格的值请用引号括成一个参数）");
    for (std::size_t i = positional_.size(); i < command.arguments.size(); ++i)
        if (!command.arguments[i].optional) usageError("缺少" + command.arguments[i].name);
}

Invocation::~Invocation() = default;

bool Invocation::has(std::string_view option) const {
    return std::any_of(options_.begin(), options_.end(), [&](const auto& o) { return o.first == option; });
}

std::optional<std::string> Invocation::option(std::string_view name) const {
    for (const auto& [n, v] : options_)
        if (n == name) return v;
    return std::nullopt;
}

std::string Invocation::value(std::string_view name, const std::string& fallback) const {
    return option(name).value_or(fallback);
}

Date Invocation::date(std::string_view name, const Date& fallback) const {
    const std::optional<std::string> text = option(name);
    if (!text) return fallback;
    const std::optional<Date> d = parseDate(*text);
    if (!d) usageError(std::string(name) + " 不是有效的日期（应为 YYYY-MM-DD）：" + *text);
    return *d;
}

const std::string& Invocation::argument(std::size_t index) const {
    static const std::string none;
    return index < positional_.size() ? positional_[index] : none;
}

void Invocation::usageError(const std::string& why) const {
    throw UsageError(why + "\n用法：" + usageLine(command_));
}

std::filesystem::path Invocation::configFile() const {
    if (const auto given = option("--config")) {
        requireInputFile(*given, "设置文件");
        return pathFromUtf8(*given);
    }
    return settings::configPathFor(pathFromUtf8(executableDir()));
}

std::string Invocation::databaseTarget() const {
    const std::optional<std::string> given = option("--db");
    return databaseTargetFor(given, given ? std::filesystem::path() : configFile());
}

db::TDM& Invocation::database() {
    if (database_) return *database_;
    const std::string target = databaseTarget();
    if (const std::string why = db::TargetRefusal(target); !why.empty()) throw std::runtime_error(why);
    bool created = false;
    if (!db::IsServerTarget(target) && target != ":memory:") {
        // Looked at before the engine opens it: a file of another program is refused unchanged, and
        // only a command that sets up a new office's data creates a missing one.
        const db::FileCheck check = db::CheckDatabaseFile(target);
        created = command_.database == DatabaseUse::MayCreate &&
                  (check.state == db::FileState::Missing || check.state == db::FileState::Empty);
        if (check.state != db::FileState::Ours && !created)
            throw std::runtime_error(db::DatabaseFileProblem(check, "数据库", target));
    }
    auto dm = std::make_unique<db::TDM>(target);
    const bool changes = command_.database != DatabaseUse::Existing;
    dm->ADOConnection1.SetOpenMode(changes ? db::OpenMode::Writable : db::OpenMode::ReadOnly);
    dm->ADOConnection1.Open();
    // A damaged file is refused before a command changes anything in it: writing on would spread
    // the damage. A command that only reads says so when the engine meets the damage.
    if (changes && !created)
        if (const std::optional<std::string> damage = dm->ADOConnection1.Damage())
            throw std::runtime_error("数据库文件已损坏：“" + dm->ADOConnection1.OpenedPath() + "”（" +
                                     *damage + "），没有做任何改动。请用备份恢复数据库");
    if (created) std::cerr << "已新建数据库“" << dm->ADOConnection1.OpenedPath() << "”\n";
    database_ = std::move(dm);
    return *database_;
}

std::string Invocation::protectedDatabase() {
    if (database_) return db::DatabaseFilePath(database_->ADOConnection1);
    std::string target;
    try {
        target = databaseTarget();
    } catch (const std::exception&) {
        // No database can be named (an unreadable settings file): the command says so when it
        // opens one; the outputs are still checked against every other database file.
        return {};
    }
    if (db::IsServerTarget(target) || target == ":memory:") return {};
    return pathToUtf8(realFilePath(pathFromUtf8(target)));
}

void Invocation::checkOutputs() {
    std::vector<std::pair<std::string, Output>> outputs;
    for (const Option& o : acceptedOptions(command_))
        if (const auto given = option(o.name); o.output != Output::None && given && !given->empty())
            outputs.emplace_back(*given, o.output);
    for (std::size_t i = 0; i < command_.arguments.size() && i < positional_.size(); ++i)
        if (command_.arguments[i].output != Output::None && !positional_[i].empty())
            outputs.emplace_back(positional_[i], command_.arguments[i].output);
    if (outputs.empty()) return;
    const std::string database = protectedDatabase();
    for (const auto& [path, kind] : outputs) {
        std::string problem = kind == Output::Workbook ? xlsOutputProblem(path) : std::string();
        if (problem.empty()) problem = databaseOutputProblem(path, database);
        if (!problem.empty()) throw std::runtime_error(problem);
    }
}

}  // namespace ca::cli
