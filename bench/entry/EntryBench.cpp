// An import of a declaration with 50 goods lines against the stand-in client: on virtual time
// (the procedure's own cost) and on the real clock (how far it stays above its mandated pauses).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/entry/AutomationEntryClient.h"
#include "ca/entry/DeclarationEntry.h"
#include "ca/entry/SimpleEntryHost.h"

namespace {

using namespace ca::entry;
namespace sim = ca::automation::sim;

MapCellSource declarationSheet(int goodsLines) {
    MapCellSource s;
    for (int r = 1; r <= 5; ++r)
        for (int c : {2, 5, 8, 11, 17})
            s.set(r, c, "头" + std::to_string(r) + "-" + std::to_string(c));
    for (int r = 3; r <= 6; ++r)
        for (int c = 19; c <= 23; ++c)
            s.set(r, c, "L" + std::to_string(r * 100 + c));
    const int t = 7 + goodsLines;
    for (int r = 7; r < t; ++r) {
        s.set(r, 1, std::to_string(r - 6));
        s.set(r, 2, "规格型号 " + std::to_string(r));
        s.set(r, 4, "商品名称");
        s.set(r, 5, "8471300000");
        s.set(r, 6, r % 3 ? "日本" : "台湾");
        for (int c : {7, 9, 10, 11, 12, 13})
            s.set(r, c, std::to_string(r * c));
        s.set(r, 8, "个");
        s.set(r, 14, "厂商");
    }
    s.set(t, 14, "USD123456.00");
    for (int c : {15, 16, 17})
        s.set(t, c, std::to_string(c * 11));
    return s;
}

class SheetServer : public SpreadsheetServer {
public:
    explicit SheetServer(const MapCellSource& sheet) : sheet_(sheet) {}
    void open(const std::string&) override {}
    std::string cell(int row, int col) override { return sheet_.cell(row, col); }
    void quit() override {}

private:
    MapCellSource sheet_;
};

int mandatedPauses(const MapCellSource& sheet) {
    MapCellSource copy = sheet;
    int ms = 0;
    for (const Write& w : buildWrites(DeclarationKind::Import, copy))
        ms += pauseMs(w.method);
    return ms;
}

// One import into a fresh entry form. The file does not exist, so the move fails and is logged;
// the post-entry delay is 0 so that only the typing counts.
void runImport(ca::Clock& clock, sim::SimDesktop& desktop, const MapCellSource& sheet) {
    sim::StandInConfig config;
    config.startScreen = sim::Screen::Entry;
    sim::StandInClient client(desktop, config);
    ca::ScriptedPrompts prompts;
    SimpleEntryHost host(prompts);
    host.mutableSettings() = {config.processName, config.classes.container, config.classes.edit,
                              "/nonexistent", "0"};
    host.setPendingFile("/nonexistent/bench.xls");
    host.fileSettings = {{"申报单位", "3302980001"}, {"报关单类型", "0"}, {"商品征免", "照章征税"}};
    AutomationEntryClient entryClient(desktop, clock);
    EntryRun run{entryClient, host, clock, [&sheet] { return std::make_unique<SheetServer>(sheet); }};
    EnterImportDeclaration(run);
    if (client.goodsLines().size() != 50) throw std::runtime_error("goods lines missing");
}

void BM_Import50GoodsLinesVirtualClock(benchmark::State& state) {
    const MapCellSource sheet = declarationSheet(50);
    for (auto _ : state) {
        ca::VirtualClock clock;
        sim::SimDesktop desktop(clock);
        runImport(clock, desktop, sheet);
        benchmark::DoNotOptimize(clock.nowMs());
    }
    state.counters["mandated_ms"] = mandatedPauses(sheet);
}
BENCHMARK(BM_Import50GoodsLinesVirtualClock)->Unit(benchmark::kMillisecond);

void BM_Import50GoodsLinesRealClock(benchmark::State& state) {
    const MapCellSource sheet = declarationSheet(50);
    const double mandated = mandatedPauses(sheet);
    double overhead = 0;
    for (auto _ : state) {
        ca::SteadyClock clock;
        sim::SimDesktop desktop(clock);
        clock.setIdleHook([&desktop] { desktop.pump(); });
        const auto start = std::chrono::steady_clock::now();
        runImport(clock, desktop, sheet);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        overhead = (ms - mandated) / mandated * 100.0;
    }
    state.counters["mandated_ms"] = mandated;
    state.counters["overhead_pct"] = overhead;
}
BENCHMARK(BM_Import50GoodsLinesRealClock)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
