#include "CliRegistry.h"

namespace ca::cli {

std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

}  // namespace ca::cli
