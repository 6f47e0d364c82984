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
            if (i + 1 >= args.size()) throw std::runtime_error("--file 后面缺少文件路径");
            file = args[++i];
        } else {
            words.push_back(args[i]);
        }
    }
    bool get = words.size() == 2 && words[0] == "get";
    bool set = words.size() == 3 && words[0] == "set";
    if (!get && !set) {
        std::cerr << "用法：customs-assistant-cli config get 键名 [--file 路径]\n"
                     "      customs-assistant-cli config set 键名 值 [--file 路径]\n";
        return 1;
    }
    const std::string& key = words[1];
    const auto& keys = st::allKeys();
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
        std::cerr << "错误：未知的设置项“" << key << "”；设置项有：\n";
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
     "config get 键名 [--file 路径]         显示 config.ini 中的一项设置（默认为本程序旁边的 "
     "config.ini）\n"
     "  config set 键名 值 [--file 路径]     保存一项设置",
     config}};

}  // namespace
