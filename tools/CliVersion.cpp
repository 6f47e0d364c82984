// customs-assistant-cli --version: the program's version and the SQLite it runs on.
#include <sqlite3.h>

#include <iostream>

#include "CliRegistry.h"

namespace {

int printVersion(ca::cli::Invocation&) {
#ifdef _WIN32
    const char* platform = sizeof(void*) == 8 ? "Windows x64" : "Windows x86";
#else
    const char* platform = "Linux";
#endif
    std::cout << "customs-assistant-cli " << CA_VERSION << " (" << platform << ", SQLite "
              << sqlite3_libversion() << ")\n";
    return std::cout.good() ? 0 : 1;
}

const ca::cli::Registrar reg{{"--version",
                              {},
                              {},
                              ca::cli::DatabaseUse::None,
                              "显示版本、平台和程序内置（或所用）的 SQLite 版本",
                              printVersion}};

}  // namespace
