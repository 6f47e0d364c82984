// entry-preview: every write an import or export entry would make for a spreadsheet, without a client.
#include <filesystem>
#include <iostream>

#include "CliRegistry.h"
#include "InputFiles.h"
#include "ca/entry/EntryPreview.h"
#include "ca/entry/WorkbookServer.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace {

constexpr const char* kUsage = "entry-preview --kind import|export [--config config.ini] FILE";

int usageError(const std::string& what) {
    std::cerr << "error: " << what << "\nusage: customs-assistant-cli " << kUsage << "\n";
    return 1;
}

int entryPreview(const std::vector<std::string>& args) {
    std::string kind, config, file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--kind" || a == "--config") && i + 1 < args.size()) {
            (a == "--kind" ? kind : config) = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return usageError("unknown or incomplete option '" + a + "'");
        } else if (file.empty()) {
            file = a;
        } else {
            return usageError("more than one FILE");
        }
    }
    if (kind != "import" && kind != "export") return usageError("--kind must be import or export");
    if (file.empty()) return usageError("no FILE given");

    if (!config.empty()) ca::cli::requireInputFile(config, "设置文件");
    const std::filesystem::path configPath =
        config.empty() ? ca::settings::configPathFor(ca::cli::executableDir()) : ca::pathFromUtf8(config);
    const ca::IniFile ini(configPath);
    const ca::entry::SettingReader readSetting = [&ini](const std::string& key) {
        return ini.ReadString(ca::settings::kSection, key, "");
    };

    ca::entry::WorkbookServer server;
    server.open(file);
    const auto kindValue =
        kind == "import" ? ca::entry::DeclarationKind::Import : ca::entry::DeclarationKind::Export;
    for (const std::string& line : ca::entry::previewLines(kindValue, server, readSetting))
        std::cout << line << '\n';
    return std::cout.good() ? 0 : 1;
}

ca::cli::Registrar reg{{"entry-preview", kUsage, entryPreview}};

}  // namespace
