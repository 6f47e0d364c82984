// Linux: arguments and console as they come; there is no desktop with the customs client.
#include <filesystem>

#include "CliPlatform.h"
#include "CliRegistry.h"

namespace ca::cli {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void prepareConsole() {}

std::string executableDir() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return p.parent_path().string();
}

std::shared_ptr<automation::Desktop> openClientDesktop() {
    return nullptr;
}

InterruptStops::InterruptStops(download::StopFlag&) {}
InterruptStops::~InterruptStops() = default;

}  // namespace ca::cli
