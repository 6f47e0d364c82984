#include "CliRegistry.h"

#include <filesystem>

namespace ca::cli {

std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

std::string executableDir() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return p.parent_path().string();
}

}  // namespace ca::cli
