// Figures of several desks on one database server (CA_BENCH_PG: the server's connection string, a
// Unix socket), on 100,000 declarations with 5 goods lines each, copied once from the reports
// benchmarks' database with migrate (the time it took is the counter migrate_s of the first run):
//   BM_StoreDeclaration   one declaration stored as the download stores it (header with its two fee
//                         rows, 5 goods lines); counter median_ms over the iterations. Arg 0: the
//                         SQLite file of the same size for comparison, arg 1: the server
//   BM_DocumentQuery      "查询" for one month (5,000 declarations) on the server
//   BM_BusinessExport     "生成EXCEL" for one month (5,000 declarations) on the server, whole command
//   BM_ConcurrentStores   storage only: one desk storing 500 declarations, then two desks storing
//                         500 each at the same time (threads, a connection each); arg 0: different
//                         declarations, arg 1: the same ones. Counter ratio = two desks / one desk
//   BM_ConcurrentDownloads  the same with whole downloads from two stand-in clients (also reading
//                         the client, which on a machine with few cores competes for the processor)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "../download/GeneralTrade.h"
#include "../reports/ReportsDatabase.h"
#include "StoredDeclarations.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/download/DownloadDriver.h"
#include "ca/migrate/DatabaseMigration.h"
#include "ca/reports/BusinessExport.h"
#include "ca/reports/DocumentQuery.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"

namespace fs = std::filesystem;
using ca::db::TADOQuery;
using ca::db::TDM;
using namespace ca::download;
using ca::bench::Declaration;
using ca::bench::declarations;
using ca::bench::store;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

const char* serverAddress() {
    const char* s = std::getenv("CA_BENCH_PG");
    return s && *s ? s : nullptr;
}

fs::path benchDir() {
    return CA_SERVER_BENCH_DIR;
}

double migrateSeconds = 0;

// The server database, filled from the reports database the first time.
TDM& server() {
    static std::unique_ptr<TDM> dm = [] {
        auto d = std::make_unique<TDM>(serverAddress());
        TADOQuery q(*d);
        q.SetSQL("select count(*) from LoadData");
        q.Open();
        if (q.Fields(0).AsInteger() < ca::bench::kDeclarations) {
            TDM source(ca::bench::reportsDatabase(benchDir()).string());
            const auto start = Clock::now();
            ca::migrate::DatabaseMigration(source, *d).run(true);
            migrateSeconds = msSince(start) / 1000;
        }
        return d;
    }();
    return *dm;
}

TDM& sqliteFile() {
    static std::unique_ptr<TDM> dm = std::make_unique<TDM>(ca::bench::reportsDatabase(benchDir()).string());
    return *dm;
}

void exec(TDM& dm, const std::string& sql) {
    TADOQuery q(dm);
    q.SetSQL(sql);
    q.ExecSQL();
}

// Removes what a benchmark stored (its keys start with "BENCH").
void removeBenchRows(TDM& dm) {
    exec(dm, "delete from subData where Pid like 'BENCH%'");
    exec(dm, "delete from T_fee where ty_no like 'BENCH%'");
    exec(dm, "delete from T_fee1 where ty_no like 'BENCH%'");
    exec(dm, "delete from LoadData where TY_No like 'BENCH%'");
}

bool skipWithoutServer(benchmark::State& state) {
    if (serverAddress()) return false;
    state.SkipWithError("CA_BENCH_PG is not set (the server's connection string)");
    return true;
}

void BM_StoreDeclaration(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    TDM& dm = state.range(0) ? server() : sqliteFile();
    removeBenchRows(dm);
    ca::VectorLog log;
    DatabaseCapture capture(dm, log);
    const auto all =
        declarations(static_cast<int>(state.max_iterations), "BENCH" + std::to_string(::getpid()));
    std::vector<double> ms;
    size_t n = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        store(capture, all[n++ % all.size()]);
        ms.push_back(msSince(start));
        state.SetIterationTime(ms.back() / 1000);
    }
    removeBenchRows(dm);
    state.counters["median_ms"] = median(ms);
    if (state.range(0)) state.counters["migrate_s"] = migrateSeconds;
}
BENCHMARK(BM_StoreDeclaration)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_DocumentQuery(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    TDM& dm = server();
    ca::reports::DocumentFilter f;
    f.entryFrom = {2011, 1, 1};
    f.entryTo = {2011, 1, 31};
    TADOQuery ADOQuery1(dm);
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = Clock::now();
        ADOQuery1.SetSQL(ca::reports::documentStatement(f));
        ADOQuery1.Open();
        benchmark::DoNotOptimize(ADOQuery1.RecordCount());
        ms.push_back(msSince(start));
    }
    state.counters["rows"] = ADOQuery1.RecordCount();
    state.counters["median_ms"] = median(ms);
}
BENCHMARK(BM_DocumentQuery)->Unit(benchmark::kMillisecond);

void BM_BusinessExport(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    TDM& dm = server();
    ca::reports::BusinessFilter f;  // January 2011, customs office 5201
    f.unitCode = "5201980001";
    const std::string out = (benchDir() / "server-business-2011-01.xls").string();
    ca::reports::ExportTable table;
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(out);
        ca::ScriptedPrompts prompts;
        prompts.answerSave(out);
        state.ResumeTiming();
        const auto start = Clock::now();
        const auto r =
            ca::reports::runBusinessExport(dm, prompts, f, ca::reports::BusinessList::WithGoods, table);
        ms.push_back(msSince(start));
        if (r.outcome != ca::reports::ExportOutcome::Written) state.SkipWithError("the list was not written");
    }
    state.counters["declarations"] = table.declarationCount();
    state.counters["median_ms"] = median(ms);
}
BENCHMARK(BM_BusinessExport)->Unit(benchmark::kMillisecond)->Iterations(5);

// Runs `desk(i)` for each desk on a thread of its own; the wall time in milliseconds.
template <class Desk>
double atOnce(int desks, Desk desk) {
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int i = 0; i < desks; ++i)
        threads.emplace_back([&desk, i] { desk(i); });
    for (auto& t : threads)
        t.join();
    return msSince(start);
}

// One desk, then two at once, three times; the medians and their ratio.
template <class Desk>
void compareDesks(benchmark::State& state, Desk desk) {
    std::vector<double> one, two;
    for (auto _ : state) {
        removeBenchRows(server());
        one.push_back(atOnce(1, desk));
        removeBenchRows(server());
        two.push_back(atOnce(2, desk));
        state.SetIterationTime(two.back() / 1000);
    }
    removeBenchRows(server());
    state.counters["one_desk_ms"] = median(one);
    state.counters["two_desks_ms"] = median(two);
    state.counters["ratio"] = median(two) / median(one);
}

void BM_ConcurrentStores(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    server();
    const bool same = state.range(0) != 0;
    const std::vector<std::vector<Declaration>> lists = {declarations(500, "BENCHA"),
                                                         declarations(500, same ? "BENCHA" : "BENCHB")};
    compareDesks(state, [&](int desk) {
        TDM dm(serverAddress());
        ca::VectorLog log;
        DatabaseCapture capture(dm, log);
        for (const auto& d : lists[static_cast<size_t>(desk)])
            store(capture, d);
    });
}
BENCHMARK(BM_ConcurrentStores)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ConcurrentDownloads(benchmark::State& state) {
    if (skipWithoutServer(state)) return;
    server();
    const std::vector<ca::automation::sim::ClientFixture> lists = {ca::bench::generalTrade(500, 5, "BENCHA"),
                                                                   ca::bench::generalTrade(500, 5, "BENCHB")};
    compareDesks(state, [&](int desk) {
        TDM dm(serverAddress());
        ca::VirtualClock clock;
        ca::automation::sim::SimDesktop desktop(clock);
        ca::automation::sim::StandInConfig config;
        ca::automation::sim::StandInClient client(desktop, config, lists[static_cast<size_t>(desk)]);
        ca::VectorLog log;
        ca::ScriptedPrompts prompts;
        DatabaseCapture capture(dm, log);
        const auto& c = config.classes;
        DownloadDriver driver(desktop, clock, log, prompts, capture,
                              {c.container, c.edit, c.list, c.button, c.combo, 300, 160});
        driver.MainLoadData();
    });
}
BENCHMARK(BM_ConcurrentDownloads)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
