#pragma once
// Subcommands of customs-assistant-cli register themselves here, one source file per layer.
#include <functional>
#include <string>
#include <vector>

namespace ca::cli {

struct Command {
    std::string name;
    std::string usage;  // one or more lines shown by --help
    // Arguments after the subcommand name. Returns the exit status; errors go to standard error.
    std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& registry();

struct Registrar {
    explicit Registrar(Command c) { registry().push_back(std::move(c)); }
};

// The directory of the running executable (config.ini lives there), UTF-8; CliPlatform*.cpp.
std::string executableDir();

}  // namespace ca::cli
