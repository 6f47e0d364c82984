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

constexpr const char* kUsage = "entry-preview --kind import|export [--config config.ini] 文件";

int usageError(const std::string& what) {
    std::cerr << "错误：" << what << "\n用法：customs-assistant-cli " << kUsage << "\n";
    return 1;
}

int entryPreview(const std::vector<std::string>& args) {
    std::string kind, config, file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--kind" || a == "--config") && i + 1 < args.size()) {
            (a == "--kind" ? kind : config) = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return usageError("未知或不完整的选项“" + a + "”");
        } else if (file.empty()) {
            file = a;
        } else {
            return usageError("给出了不止一个文件");
        }
    }
    if (kind != "import" && kind != "export") return usageError("--kind 必须是 import 或 export");
    if (file.empty()) return usageError("没有给出文件");

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

ca::cli::Registrar reg{
    {"entry-preview",
     std::string(kUsage) + "\n      列出录入这份电子表格时要写入的每一项，不需要海关录入程序", entryPreview}};

}  // namespace
