// entry-preview: every write an import or export entry would make for a spreadsheet, without a client.
// entry (Windows): the window's "进口导入" / "出口导入" typed into the running customs client.
#include <filesystem>
#include <iostream>

#include "CliPlatform.h"
#include "CliRegistry.h"
#include "CliSupport.h"
#include "CliWindowSettings.h"
#include "ConsoleEntryHost.h"
#include "InputFiles.h"
#include "ca/entry/AutomationEntryClient.h"
#include "ca/entry/DeclarationEntry.h"
#include "ca/entry/EntryPreview.h"
#include "ca/entry/WorkbookServer.h"
#include "ca/util/Clock.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace {

constexpr const char* kPreviewUsage = "entry-preview --kind import|export [--config config.ini] 文件";
constexpr const char* kEntryUsage = "entry --kind import|export [--config config.ini] 表格.xls";

struct EntryArguments {
    ca::entry::DeclarationKind kind = ca::entry::DeclarationKind::Import;
    std::string config;
    std::string file;
};

int usageError(const std::string& what, const char* usage) {
    std::cerr << "错误：" << what << "\n用法：customs-assistant-cli " << usage << "\n";
    return 1;
}

// Both commands take the same arguments. Returns the exit status of a refused command line.
std::optional<int> parseEntryArguments(const std::vector<std::string>& args, const char* usage,
                                       EntryArguments& out) {
    std::string kind;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--kind" || a == "--config") && i + 1 < args.size()) {
            (a == "--kind" ? kind : out.config) = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return usageError("未知或不完整的选项“" + a + "”", usage);
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            return usageError("给出了不止一个文件", usage);
        }
    }
    if (kind != "import" && kind != "export") return usageError("--kind 必须是 import 或 export", usage);
    if (out.file.empty()) return usageError("没有给出文件", usage);
    out.kind = kind == "import" ? ca::entry::DeclarationKind::Import : ca::entry::DeclarationKind::Export;
    return std::nullopt;
}

int entryPreview(const std::vector<std::string>& args) {
    EntryArguments a;
    if (auto refused = parseEntryArguments(args, kPreviewUsage, a)) return *refused;
    const std::string& config = a.config;
    const std::string& file = a.file;

    if (!config.empty()) ca::cli::requireInputFile(config, "设置文件");
    const std::filesystem::path configPath =
        config.empty() ? ca::settings::configPathFor(ca::cli::executableDir()) : ca::pathFromUtf8(config);
    const ca::IniFile ini(configPath);
    const ca::entry::SettingReader readSetting = [&ini](const std::string& key) {
        return ini.ReadString(ca::settings::kSection, key, "");
    };

    ca::entry::WorkbookServer server;
    server.open(file);
    for (const std::string& line : ca::entry::previewLines(a.kind, server, readSetting))
        std::cout << line << '\n';
    return std::cout.good() ? 0 : 1;
}

// The file on the command line is taken as the window takes a dropped file: its full path becomes
// the pending spreadsheet and is logged, or a path without "xls" is logged as refused.
int entry(const std::vector<std::string>& args) {
    std::shared_ptr<ca::automation::Desktop> desktop = ca::cli::openClientDesktop();
    if (!desktop) {
        std::cerr << "错误：entry 把报关单录入正在运行的海关录入程序，只能在 Windows 桌面上使用。\n"
                     "在 Linux 上请用 entry-preview 查看这张表格会录入哪些内容。\n";
        return 1;
    }
    EntryArguments a;
    if (auto refused = parseEntryArguments(args, kEntryUsage, a)) return *refused;
    ca::cli::ConsolePrompts prompts;
    const ca::cli::WindowSettings settings = ca::cli::loadWindowSettings(a.config, prompts);

    ca::cli::ConsoleEntryHost host(settings, prompts);
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(ca::pathFromUtf8(a.file), ec);
    const std::string path = ec ? a.file : ca::pathToUtf8(full);
    if (path.find("xls") == std::string::npos) {
        host.log().append(path + " 不是一个有效的EXCEL文件，无法导入！");
        return 1;
    }
    host.setPendingFile(path);
    host.log().append(path);

    ca::SteadyClock clock;
    ca::entry::AutomationEntryClient client(*desktop, clock);
    ca::entry::EntryRun run{client, host, clock, ca::entry::WorkbookServer::factory()};
    const bool ended = ca::CommandGuard::run(prompts, [&] { ca::entry::EnterDeclaration(a.kind, run); });
    return ended && host.succeeded() ? 0 : 1;
}

const ca::cli::Registrar previewReg{
    {"entry-preview",
     std::string(kPreviewUsage) + "\n      列出录入这份电子表格时要写入的每一项，不需要海关录入程序",
     entryPreview}};
const ca::cli::Registrar entryReg{
    {"entry",
     std::string(kEntryUsage) +
         "\n      （Windows）进口导入/出口导入：把表格录入正在运行的海关录入程序，成功后移到已导入文件目录",
     entry}};

}  // namespace
