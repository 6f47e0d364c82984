// customs-assistant-cli: administrators' and black-box tests' door to the program's core.
#include <algorithm>
#include <exception>
#include <iostream>

#include "CliPlatform.h"
#include "CliRegistry.h"

namespace {

void printHelp(std::ostream& out) {
    out << "Usage: customs-assistant-cli COMMAND [ARGS...]\n\nCommands:\n";
    auto commands = ca::cli::registry();
    std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
    for (const auto& c : commands)
        out << "  " << c.usage << "\n";
    out << "  --help\n";
}

}  // namespace

int main(int argc, char** argv) {
    ca::cli::prepareConsole();
    const std::vector<std::string> args = ca::cli::commandLineArguments(argc, argv);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 1 : 0;
    }
    for (const auto& c : ca::cli::registry()) {
        if (c.name != args[0]) continue;
        try {
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
        } catch (const std::exception& e) {
            std::cerr << "error: " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "error: unknown command '" << args[0] << "' (see --help)\n";
    return 1;
}
