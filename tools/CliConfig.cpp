// config get / config set: the settings in config.ini, as the program reads and writes them.
#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "CliRegistry.h"
#include "InputFiles.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace {

namespace st = ca::settings;

// The settings file: --file, else config.ini next to the program. The key must be one of the
// program's settings, those of the settings dialog or the two written outside it.
ca::IniFile settingsFile(const ca::cli::Invocation& in) {
    const std::string& key = in.argument(0);
    const auto& keys = st::fileKeys();
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
        std::string known;
        for (const auto& k : keys)
            known += "\n  " + k;
        throw std::runtime_error("未知的设置项“" + key + "”；设置项有：" + known);
    }
    const std::string file = in.value("--file");
    if (!file.empty()) ca::cli::refuseFolder(file, "设置文件");
    return ca::IniFile(file.empty() ? st::configPathFor(ca::pathFromUtf8(ca::cli::executableDir()))
                                    : ca::pathFromUtf8(file));
}

int configGet(ca::cli::Invocation& in) {
    const ca::IniFile ini = settingsFile(in);
    std::string value = ini.ReadString(st::kSection, in.argument(0), st::defaultText(in.argument(0)));
    // The server's connection setting may hold a password: shown as ****** unless asked for.
    if (in.argument(0) == st::kDatabaseServer && !in.has("--show-password"))
        value = ca::db::MaskedServerSetting(value);
    std::cout << value << "\n";
    return 0;
}

int configSet(ca::cli::Invocation& in) {
    ca::IniFile ini = settingsFile(in);
    ini.WriteString(st::kSection, in.argument(0), in.argument(1));
    return 0;
}

const ca::cli::Option kFile{"--file", "路径"};
const ca::cli::Option kWrittenFile{"--file", "路径", false, ca::cli::Output::File};

const ca::cli::Registrar getReg{{"config get",
                                 {kFile, {"--show-password", ""}},
                                 {{"键名"}},
                                 ca::cli::DatabaseUse::None,
                                 "显示 config.ini 中的一项设置（默认为本程序旁边的 config.ini）；"
                                 "数据库服务器的密码显示为 ******，加 --show-password 时显示",
                                 configGet}};
const ca::cli::Registrar setReg{{"config set",
                                 {kWrittenFile},
                                 {{"键名"}, {"值"}},
                                 ca::cli::DatabaseUse::None,
                                 "保存一项设置",
                                 configSet}};

}  // namespace
