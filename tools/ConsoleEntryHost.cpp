#include "ConsoleEntryHost.h"

#include <iostream>

#include "ca/util/Settings.h"

namespace ca::cli {

namespace {
constexpr const char* kEntrySucceeded = "恭喜，录入成功！";
}

ConsoleEntryHost::ConsoleEntryHost(const WindowSettings& settings, Prompts& prompts)
    : prompts_(prompts), ini_(settings.file) {
    const settings::LoadedSettings& s = settings.values;
    settings_.processName = s.processName;
    settings_.containerClass = s.containerClass;
    settings_.editClass = s.editClass;
    settings_.importedFolder = s.importedDir;
    settings_.postEntryDelay = s.postEntryDelay;
}

std::map<std::string, std::string> ConsoleEntryHost::readSettings(const std::vector<std::string>& keys) {
    return ini_.ReadStrings(settings::kSection, keys, "");
}

void ConsoleEntryHost::ConsoleLog::append(const std::string& line) {
    // Flushed at once: the clerk watches the entry advance.
    std::cout << line << std::endl;
    if (line == kEntrySucceeded) succeeded = true;
}

}  // namespace ca::cli
