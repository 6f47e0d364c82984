#pragma once
// The settings the main window holds after start-up, for the commands that do the window's jobs:
// read from the file given with --config, or from config.ini next to the executable.
#include <filesystem>
#include <string>

#include "ca/util/Prompts.h"
#include "ca/util/Settings.h"

namespace ca::cli {

struct WindowSettings {
    std::filesystem::path file;  // where later reads (entry defaults) go
    settings::LoadedSettings values;
};

// Loads both groups as the window does at start and shows its two messages about empty class
// names. A missing config.ini next to the executable gives the defaults, as for the window; a file
// named with --config that does not exist is refused (std::runtime_error naming it).
WindowSettings loadWindowSettings(const std::string& configOption, Prompts& prompts);

}  // namespace ca::cli
