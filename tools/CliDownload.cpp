// customs-assistant-cli download-sim: the whole download against the stand-in customs client loaded
// from a fixture, on virtual time, into a database file.
#include <filesystem>
#include <iostream>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "InputFiles.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/db/TDM.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/download/DownloadDriver.h"
#include "ca/util/Clock.h"
#include "ca/util/IniFile.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"
#include "ca/util/Settings.h"

namespace {

namespace sim = ca::automation::sim;
using ca::download::DownloadDriver;

constexpr const char* kUsage = "download-sim --fixture 数据文件.json [--db DB.sqlite] [--config config.ini]";

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
            std::cerr << "错误：多余的参数“" << args[i] << "”\n用法：" << kUsage << "\n";
            return 1;
        }
    }
    if (fixtureFile.empty()) {
        std::cerr << "用法：" << kUsage << "\n";
        return 1;
    }
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
    ca::db::TDM dm(dbFile);
    ca::StreamLog log(std::cout);
    ca::cli::ConsolePrompts prompts;
    ca::download::DatabaseCapture capture(dm, log);
    DownloadDriver driver(desktop, clock, log, prompts, capture, settings);
    driver.MainLoadData();
    std::cout.flush();
    switch (driver.outcome()) {
        case DownloadDriver::Outcome::Completed:
        case DownloadDriver::Outcome::EmptyList:
        case DownloadDriver::Outcome::Stopped:
            return 0;
        case DownloadDriver::Outcome::NotStarted:
            std::cerr << "错误：下载没有开始（见上面的记录）\n";
            return 1;
        case DownloadDriver::Outcome::ClientLost:
            std::cerr << "错误：下载过程中海关录入程序已关闭\n";
            return 1;
    }
    return 1;
}

const ca::cli::Registrar reg{
    {"download-sim", std::string(kUsage) + "\n      在模拟海关录入程序上完整下载一次，存入数据库文件",
     runDownloadSim}};

}  // namespace
