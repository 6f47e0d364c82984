#pragma once
// Subcommands of customs-assistant-cli register themselves here, one source file per layer.
#include <string>
#include <vector>

#include "CliCommand.h"

namespace ca::cli {

std::vector<Command>& registry();

struct Registrar {
    explicit Registrar(Command c) { registry().push_back(std::move(c)); }
};

// The directory of the running executable (config.ini lives there), UTF-8; CliPlatform*.cpp.
std::string executableDir();

}  // namespace ca::cli
