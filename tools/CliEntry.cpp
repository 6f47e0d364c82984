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
#include "ca/automation/DesktopCallTally.h"
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

// Both commands take the same arguments: the kind of declaration, the settings file and the workbook.
ca::entry::DeclarationKind kindOf(const ca::cli::Invocation& in) {
    const std::string kind = in.value("--kind");
    if (kind != "import" && kind != "export") in.usageError("--kind 必须是 import 或 export");
    return kind == "import" ? ca::entry::DeclarationKind::Import : ca::entry::DeclarationKind::Export;
}

int entryPreview(ca::cli::Invocation& in) {
    const ca::entry::DeclarationKind kind = kindOf(in);
    const std::string config = in.value("--config");
    const std::string& file = in.argument(0);

    if (!config.empty()) ca::cli::requireInputFile(config, "设置文件");
    const std::filesystem::path configPath =
        config.empty() ? ca::settings::configPathFor(ca::cli::executableDir()) : ca::pathFromUtf8(config);
    const ca::IniFile ini(configPath);
    const ca::entry::SettingReader readSetting = [&ini](const std::string& key) {
        return ini.ReadString(ca::settings::kSection, key, "");
    };

    ca::entry::WorkbookServer server;
    server.open(file);
    for (const std::string& line : ca::entry::previewLines(kind, server, readSetting))
        std::cout << line << '\n';
    return std::cout.good() ? 0 : 1;
}

// The file on the command line is taken as the window takes a dropped file: its full path becomes
// the pending spreadsheet and is logged, or a path without "xls" is logged as refused.
int entry(ca::cli::Invocation& in) {
    std::shared_ptr<ca::automation::Desktop> desktop = ca::cli::openClientDesktop();
    if (!desktop) {
        std::cerr << "错误：entry 把报关单录入正在运行的海关录入程序，只能在 Windows 桌面上使用。\n"
                     "在 Linux 上请用 entry-preview 查看这张表格会录入哪些内容。\n";
        return 1;
    }
    const ca::entry::DeclarationKind kind = kindOf(in);
    ca::cli::ConsolePrompts prompts;
    const ca::cli::WindowSettings settings = ca::cli::loadWindowSettings(in.value("--config"), prompts);

    ca::cli::ConsoleEntryHost host(settings, prompts);
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(ca::pathFromUtf8(in.argument(0)), ec);
    const std::string path = ec ? in.argument(0) : ca::pathToUtf8(full);
    if (path.find("xls") == std::string::npos) {
        host.log().append(path + " 不是一个有效的EXCEL文件，无法导入！");
        return 1;
    }
    host.setPendingFile(path);
    host.log().append(path);

    ca::SteadyClock clock;
    // CA_DESKTOP_CALLS: where the entry spends its time besides its pauses (DesktopCallTally.h).
    ca::automation::DesktopCallTally tally(*desktop, "entry", ca::automation::kEntryActingSends);
    ca::entry::AutomationEntryClient client(tally.desktop(), clock);
    ca::entry::EntryRun run{client, host, clock, ca::entry::WorkbookServer::factory()};
    const bool ended = ca::CommandGuard::run(prompts, [&] { ca::entry::EnterDeclaration(kind, run); });
    return ended && host.succeeded() ? 0 : 1;
}

const std::vector<ca::cli::Option> kEntryOptions{{"--kind", "import|export", true},
                                                 {"--config", "config.ini"}};

const ca::cli::Registrar previewReg{{"entry-preview",
                                     kEntryOptions,
                                     {{"文件"}},
                                     ca::cli::DatabaseUse::None,
                                     "列出录入这份电子表格时要写入的每一项，不需要海关录入程序",
                                     entryPreview}};
const ca::cli::Registrar entryReg{
    {"entry",
     kEntryOptions,
     {{"表格.xls"}},
     ca::cli::DatabaseUse::None,
     "（Windows）进口导入/出口导入：把表格录入正在运行的海关录入程序，成功后移到已导入文件目录",
     entry}};

}  // namespace
