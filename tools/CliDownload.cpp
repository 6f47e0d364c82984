// customs-assistant-cli download-sim: the whole download against the stand-in customs client loaded
// from a fixture, on virtual time, into a database file.
// download (Windows): the window's "下载详细数据" from the running customs client into a database file.
#include <filesystem>
#include <iostream>

#include "CliPlatform.h"
#include "CliRegistry.h"
#include "CliWindowSettings.h"
#include "ConsolePrompts.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/db/TDM.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/download/DownloadDriver.h"
#include "ca/util/Clock.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/IniFile.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"
#include "ca/util/Settings.h"

namespace {

namespace sim = ca::automation::sim;
using ca::download::DownloadDriver;

// The exit status of a download: 0 when it went through (or found nothing to do, or was stopped).
int exitStatus(DownloadDriver::Outcome outcome) {
    std::cout.flush();
    switch (outcome) {
        case DownloadDriver::Outcome::Completed:
        case DownloadDriver::Outcome::EmptyList:
        case DownloadDriver::Outcome::Stopped:
            return std::cout.good() ? 0 : 1;
        case DownloadDriver::Outcome::NotStarted:
            std::cerr << "错误：下载没有开始（原因见上面几行）\n";
            return 1;
        case DownloadDriver::Outcome::ClientLost:
            std::cerr << "错误：下载途中海关录入程序已关闭，此前存入的报关单保留在数据库中\n";
            return 1;
    }
    return 1;
}

constexpr const char* kUsage = "download-sim --fixture FILE.json [--db DB.sqlite] [--config config.ini]";

int runDownloadSim(const std::vector<std::string>& args) {
    std::string fixtureFile, dbFile = "DB.sqlite", configFile;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--fixture" && hasValue)
            fixtureFile = args[++i];
        else if (args[i] == "--db" && hasValue)
            dbFile = args[++i];
        else if (args[i] == "--config" && hasValue)
            configFile = args[++i];
        else {
            std::cerr << "error: unexpected argument '" << args[i] << "'\nusage: " << kUsage << "\n";
            return 1;
        }
    }
    if (fixtureFile.empty()) {
        std::cerr << "usage: " << kUsage << "\n";
        return 1;
    }
    sim::ClientFixture fixture = sim::loadFixture(fixtureFile);
    sim::StandInConfig config;
    fixture.applyTo(config);

    // Without a settings file the class names are the stand-in's own, with the default delays.
    ca::download::DownloadSettings settings{config.classes.container, config.classes.edit,
                                            config.classes.list, config.classes.button, config.classes.combo};
    if (!configFile.empty()) {
        if (!std::filesystem::is_regular_file(configFile)) {
            std::cerr << "error: settings file '" << configFile << "' does not exist\n";
            return 1;
        }
        ca::settings::LoadedSettings loaded;
        ca::settings::loadCreateGroup(ca::IniFile(configFile), loaded);
        settings = ca::download::DownloadSettings::from(loaded);
    }

    ca::VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::StandInClient client(desktop, config, std::move(fixture));
    ca::db::TDM dm(dbFile);
    ca::StreamLog log(std::cout);
    ca::cli::ConsolePrompts prompts;
    ca::download::DatabaseCapture capture(dm, log);
    DownloadDriver driver(desktop, clock, log, prompts, capture, settings);
    driver.MainLoadData();
    return exitStatus(driver.outcome());
}

constexpr const char* kDesktopUsage = "download [--db DB.sqlite] [--config config.ini]   (Windows)";

int runDownload(const std::vector<std::string>& args) {
    std::shared_ptr<ca::automation::Desktop> desktop = ca::cli::openClientDesktop();
    if (!desktop) {
        std::cerr << "错误：download 从正在运行的海关录入程序下载报关单，只能在 Windows 桌面上使用。\n"
                     "在 Linux 上请用 download-sim 从模拟的录入程序（JSON 夹具）下载。\n";
        return 1;
    }
    std::string dbFile = "DB.sqlite", configFile;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--db" && hasValue)
            dbFile = args[++i];
        else if (args[i] == "--config" && hasValue)
            configFile = args[++i];
        else {
            std::cerr << "error: unexpected argument '" << args[i] << "'\nusage: " << kDesktopUsage << "\n";
            return 1;
        }
    }
    ca::cli::ConsolePrompts prompts;
    const auto settings = ca::cli::loadWindowSettings(configFile, prompts);
    if (!settings) return 1;

    ca::SteadyClock clock;
    ca::StreamLog log(std::cout);
    ca::download::StopFlag stop;
    const ca::cli::InterruptStops interrupts(stop);
    DownloadDriver::Outcome outcome = DownloadDriver::Outcome::NotStarted;
    // A database that cannot be opened or written ends the download like any error of the window's
    // command: the error box (standard error), and what was stored before stays stored.
    const bool ended = ca::CommandGuard::run(prompts, [&] {
        ca::db::TDM dm(dbFile);
        ca::download::DatabaseCapture capture(dm, log);
        DownloadDriver driver(*desktop, clock, log, prompts, capture,
                              ca::download::DownloadSettings::from(settings->values));
        driver.setStopFlag(&stop);
        driver.MainLoadData();
        outcome = driver.outcome();
    });
    if (!ended) {
        std::cout.flush();
        return 1;
    }
    if (outcome == DownloadDriver::Outcome::Stopped) std::cout << "已按 Ctrl+C 停止下载\n";
    return exitStatus(outcome);
}

const ca::cli::Registrar simReg{{"download-sim", kUsage, runDownloadSim}};
const ca::cli::Registrar desktopReg{{"download", kDesktopUsage, runDownload}};

}  // namespace
