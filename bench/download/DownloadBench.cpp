// Download throughput against the stand-in customs client.
//
// VirtualDownload: 1,000 general-trade declarations of 5 goods lines each into an empty database,
// on virtual time, so the figure is the program's own work (reading the client, storing).
// RealClockOverhead: 50 such declarations on real time with small delays (main 20 ms, goods
// 10 ms); "overhead_pct" is the wall time beyond the sum of the waits the download asks for.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "GeneralTrade.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/db/TDM.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/download/DownloadDriver.h"
#include "ca/download/RecordingCapture.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"

namespace {

namespace sim = ca::automation::sim;
using namespace ca::download;
using ca::bench::generalTrade;

std::filesystem::path freshDatabase(const char* name) {
    auto file =
        std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()) + ".sqlite");
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(file.string() + suffix);
    return file;
}

// Sums the waits the download asks for, and sleeps them on real time.
class CountingClock : public ca::Clock {
public:
    explicit CountingClock(ca::SteadyClock& real) : real_(real) {}
    void sleepMs(std::int64_t ms) override {
        asked += ms > 0 ? ms : 0;
        const auto start = std::chrono::steady_clock::now();
        real_.sleepMs(ms);
        slept += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    std::int64_t nowMs() const override { return real_.nowMs(); }
    std::int64_t asked = 0;
    double slept = 0;  // wall time spent inside the waits, lateness of the wake-ups included

private:
    ca::SteadyClock& real_;
};

DownloadSettings settingsFor(const sim::StandInConfig& config, std::int64_t mainMs, std::int64_t goodsMs) {
    const auto& c = config.classes;
    return {c.container, c.edit, c.list, c.button, c.combo, mainMs, goodsMs};
}

void VirtualDownload(benchmark::State& state) {
    const int declarations = static_cast<int>(state.range(0));
    const sim::ClientFixture fixture = generalTrade(declarations, 5);
    for (auto _ : state) {
        state.PauseTiming();
        const auto file = freshDatabase("ca_bench_download_virtual");
        {
            ca::VirtualClock clock;
            sim::SimDesktop desktop(clock);
            sim::StandInConfig config;
            sim::StandInClient client(desktop, config, fixture);
            ca::db::TDM dm(file.string());
            ca::VectorLog log;
            ca::ScriptedPrompts prompts;
            DatabaseCapture capture(dm, log);
            DownloadDriver driver(desktop, clock, log, prompts, capture, settingsFor(config, 300, 160));
            state.ResumeTiming();
            driver.MainLoadData();
            state.PauseTiming();
            if (driver.progress().declarations != declarations ||
                driver.progress().goodsLines != 5 * declarations)
                state.SkipWithError("not every declaration was stored");
        }
        std::filesystem::remove(file);
        state.ResumeTiming();
    }
    state.counters["declarations"] = declarations;
}
// The same walk with a recording capture: the share of reading the client alone.
void VirtualDownloadWithoutDatabase(benchmark::State& state) {
    const int declarations = static_cast<int>(state.range(0));
    const sim::ClientFixture fixture = generalTrade(declarations, 5);
    for (auto _ : state) {
        state.PauseTiming();
        {
            ca::VirtualClock clock;
            sim::SimDesktop desktop(clock);
            sim::StandInConfig config;
            sim::StandInClient client(desktop, config, fixture);
            ca::VectorLog log;
            ca::ScriptedPrompts prompts;
            RecordingCapture capture;
            DownloadDriver driver(desktop, clock, log, prompts, capture, settingsFor(config, 300, 160));
            state.ResumeTiming();
            driver.MainLoadData();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(VirtualDownloadWithoutDatabase)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

BENCHMARK(VirtualDownload)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void RealClockOverhead(benchmark::State& state) {
    const int declarations = static_cast<int>(state.range(0));
    const sim::ClientFixture fixture = generalTrade(declarations, 5);
    double overheadPct = 0, askedMs = 0, wallMs = 0, workMs = 0;
    for (auto _ : state) {
        const auto file = freshDatabase("ca_bench_download_real");
        ca::SteadyClock steady;
        sim::SimDesktop desktop(steady);
        steady.setIdleHook([&] { desktop.pump(); });
        sim::StandInConfig config;
        config.timings = {2, 10, 10, 0};  // the client acts well within the small delays
        sim::StandInClient client(desktop, config, fixture);
        ca::db::TDM dm(file.string());
        dm.ADOConnection1.Open();
        ca::VectorLog log;
        ca::ScriptedPrompts prompts;
        DatabaseCapture capture(dm, log);
        CountingClock clock(steady);
        DownloadDriver driver(desktop, clock, log, prompts, capture, settingsFor(config, 20, 10));
        const auto start = std::chrono::steady_clock::now();
        driver.MainLoadData();
        const auto wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (driver.progress().declarations != declarations)
            state.SkipWithError("not every declaration was stored");
        askedMs = static_cast<double>(clock.asked);
        wallMs = wall;
        overheadPct = 100.0 * (wall - askedMs) / askedMs;
        workMs = wall - clock.slept;
        state.SetIterationTime(wall / 1000.0);
        std::filesystem::remove(file);
    }
    state.counters["waits_ms"] = askedMs;
    state.counters["wall_ms"] = wallMs;
    state.counters["overhead_pct"] = overheadPct;
    // The download's own work between the waits; the rest of the overhead is the operating system
    // waking the thread late (it grows with the machine's load).
    state.counters["work_ms"] = workMs;
}
BENCHMARK(RealClockOverhead)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
