// config get / config set: the settings in config.ini, as the program reads and writes them.
#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "CliRegistry.h"
#include "InputFiles.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace {

namespace st = ca::settings;

int config(const std::vector<std::string>& args) {
    std::vector<std::string> words;
    std::string file;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--file") {
            if (i + 1 >= args.size()) throw std::runtime_error("--file needs a path");
            file = args[++i];
        } else {
            words.push_back(args[i]);
        }
    }
    bool get = words.size() == 2 && words[0] == "get";
    bool set = words.size() == 3 && words[0] == "set";
    if (!get && !set) {
        std::cerr << "usage: customs-assistant-cli config get KEY [--file PATH]\n"
                     "       customs-assistant-cli config set KEY VALUE [--file PATH]\n";
        return 1;
    }
    const std::string& key = words[1];
    const auto& keys = st::allKeys();
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
        std::cerr << "error: unknown settings key '" << key << "'; the keys are:\n";
        for (const auto& k : keys)
            std::cerr << "  " << k << "\n";
        return 1;
    }
    if (!file.empty()) ca::cli::refuseFolder(file, "设置文件");
    ca::IniFile ini(file.empty() ? st::configPathFor(ca::pathFromUtf8(ca::cli::executableDir()))
                                 : ca::pathFromUtf8(file));
    if (get) {
        std::cout << ini.ReadString(st::kSection, key, st::defaultText(key)) << "\n";
    } else {
        ini.WriteString(st::kSection, key, words[2]);
    }
    return 0;
}

ca::cli::Registrar reg{
    {"config",
     "config get KEY [--file PATH]         print a setting of config.ini (default: next to "
     "this program)\n"
     "  config set KEY VALUE [--file PATH]   store a setting",
     config}};

}  // namespace
