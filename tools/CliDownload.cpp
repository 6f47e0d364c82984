// customs-assistant-cli download-sim: the whole download against the stand-in customs client loaded
// from a fixture, on virtual time, into a database file.
// download (Windows): the window's "下载详细数据" from the running customs client into a database file.
#include <filesystem>
#include <iostream>

#include "CliPlatform.h"
#include "CliRegistry.h"
#include "CliSupport.h"
#include "CliWindowSettings.h"
#include "InputFiles.h"
#include "ca/automation/DesktopCallTally.h"
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
            return 0;
        case DownloadDriver::Outcome::NotStarted:
            std::cerr << "错误：下载没有开始（见上面的记录）\n";
            return 1;
        case DownloadDriver::Outcome::ClientLost:
            std::cerr << "错误：下载过程中海关录入程序已关闭，此前存入的报关单保留在数据库中\n";
            return 1;
    }
    return 1;
}

int runDownloadSim(ca::cli::Invocation& in) {
    const std::string fixtureFile = in.value("--fixture"), configFile = in.value("--config");
    ca::cli::requireInputFile(fixtureFile, "模拟数据文件");
    if (!configFile.empty()) ca::cli::requireInputFile(configFile, "设置文件");
    sim::ClientFixture fixture = sim::loadFixture(fixtureFile);
    sim::StandInConfig config;
    fixture.applyTo(config);

    // Without a settings file the class names are the stand-in's own, with the default delays.
    ca::download::DownloadSettings settings{config.classes.container, config.classes.edit,
                                            config.classes.list, config.classes.button, config.classes.combo};
    if (!configFile.empty()) {
        ca::settings::LoadedSettings loaded;
        ca::settings::loadCreateGroup(ca::IniFile(configFile), loaded);
        settings = ca::download::DownloadSettings::from(loaded);
    }

    ca::VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::StandInClient client(desktop, config, std::move(fixture));
    ca::db::TDM& dm = in.database();
    ca::StreamLog log(std::cout);
    ca::cli::ConsolePrompts prompts;
    ca::download::DatabaseCapture capture(dm, log);
    ca::automation::DesktopCallTally tally(desktop, "download-sim", ca::automation::kDownloadActingSends);
    DownloadDriver driver(tally.desktop(), clock, log, prompts, capture, settings);
    driver.MainLoadData();
    return exitStatus(driver.outcome());
}

int runDownload(ca::cli::Invocation& in) {
    std::shared_ptr<ca::automation::Desktop> desktop = ca::cli::openClientDesktop();
    if (!desktop) {
        std::cerr << "错误：download 从正在运行的海关录入程序下载报关单，只能在 Windows 桌面上使用。\n"
                     "在 Linux 上请用 download-sim 从模拟的海关录入程序（模拟数据文件）下载。\n";
        return 1;
    }
    ca::cli::ConsolePrompts prompts;
    const ca::cli::WindowSettings settings = ca::cli::loadWindowSettings(in.value("--config"), prompts);

    ca::SteadyClock clock;
    ca::StreamLog log(std::cout);
    ca::download::StopFlag stop;
    const ca::cli::InterruptStops interrupts(stop);
    DownloadDriver::Outcome outcome = DownloadDriver::Outcome::NotStarted;
    // A database that cannot be opened or written ends the download like any error of the window's
    // command: the error box (standard error), and what was stored before stays stored.
    // CA_DESKTOP_CALLS: where the download spends its time besides the waits (DesktopCallTally.h).
    ca::automation::DesktopCallTally tally(*desktop, "download", ca::automation::kDownloadActingSends);
    const bool ended = ca::CommandGuard::run(prompts, [&] {
        ca::download::DatabaseCapture capture(in.database(), log);
        DownloadDriver driver(tally.desktop(), clock, log, prompts, capture,
                              ca::download::DownloadSettings::from(settings.values));
        driver.setStopFlag(&stop);
        driver.MainLoadData();
        outcome = driver.outcome();
    });
    if (!ended) return 1;
    if (outcome == DownloadDriver::Outcome::Stopped) std::cout << "已按 Ctrl+C 停止下载\n";
    return exitStatus(outcome);
}

const ca::cli::Registrar reg{
    {"download-sim",
     {{"--fixture", "数据文件.json", true}},
     {},
     ca::cli::DatabaseUse::MayCreate,
     "在模拟海关录入程序上完整下载一次，存入数据库（--config 给出录入程序的类名和延迟）",
     runDownloadSim}};
const ca::cli::Registrar desktopReg{
    {"download",
     {},
     {},
     ca::cli::DatabaseUse::MayCreate,
     "（Windows）下载详细数据：从正在运行的海关录入程序的查询列表下载到数据库，Ctrl+C 停止",
     runDownload}};

}  // namespace
