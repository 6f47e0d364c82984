// customs-assistant-cli --version: the program's version and the SQLite it runs on.
#include <sqlite3.h>

#include <iostream>

#include "CliRegistry.h"

namespace {

int printVersion(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::cerr << "错误：--version 不带参数\n";
        return 1;
    }
#ifdef _WIN32
    const char* platform = sizeof(void*) == 8 ? "Windows x64" : "Windows x86";
#else
    const char* platform = "Linux";
#endif
    std::cout << "customs-assistant-cli " << CA_VERSION << " (" << platform << ", SQLite "
              << sqlite3_libversion() << ")\n";
    return std::cout.good() ? 0 : 1;
}

const ca::cli::Registrar reg{
    {"--version", "--version\n      显示版本、平台和程序内置（或所用）的 SQLite 版本", printVersion}};

}  // namespace
