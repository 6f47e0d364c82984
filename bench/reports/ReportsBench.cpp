// Figures of the reports on a database of 100,000 declarations with 5 goods lines each (5,000 per
// month, by entry and by declaration date, from 2010-01 on):
//   BM_DocumentQuery    "查询" for one month: the statement built from the filter, opened, and the
//                       row count the grid's model reports (the model reads cells only as they show)
//   BM_DocumentQueryAllCells  the same, then every cell's text of every row, as a listing does
//   BM_BusinessExport   "生成EXCEL" for one month, the whole command: statement, the goods query of
//                       each of the 5,000 declarations, the export table, the .xls file written
//   BM_XlsWriteProcess  customs-assistant-cli xls-write as a whole process on a 10,000 x 31 TSV file,
//                       paired with python3-xlwt writing the same TSV (also a whole process) in the
//                       same iterations; counter xlwt_ms is python's median, speedup the ratio
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "ReportsDatabase.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/reports/BusinessExport.h"
#include "ca/reports/CellText.h"
#include "ca/reports/DocumentColumns.h"
#include "ca/reports/DocumentQuery.h"

namespace fs = std::filesystem;
using ca::db::TADOQuery;
using ca::db::TDM;

namespace {

fs::path benchDir() {
    return CA_REPORTS_BENCH_DIR;
}

TDM& database() {
    static std::unique_ptr<TDM> dm = std::make_unique<TDM>(ca::bench::reportsDatabase(benchDir()).string());
    return *dm;
}

ca::reports::DocumentFilter january2011() {
    ca::reports::DocumentFilter f;
    f.entryFrom = {2011, 1, 1};
    f.entryTo = {2011, 1, 31};
    return f;
}

void BM_DocumentQuery(benchmark::State& state) {
    TDM& dm = database();
    TADOQuery ADOQuery1(dm);
    for (auto _ : state) {
        ADOQuery1.SetSQL(ca::reports::documentStatement(january2011()));
        ADOQuery1.Open();
        benchmark::DoNotOptimize(ADOQuery1.RecordCount());
    }
    state.counters["rows"] = ADOQuery1.RecordCount();
}
BENCHMARK(BM_DocumentQuery)->Unit(benchmark::kMillisecond);

void BM_DocumentQueryAllCells(benchmark::State& state) {
    TDM& dm = database();
    TADOQuery ADOQuery1(dm);
    const auto& columns = ca::reports::headerColumns();
    size_t bytes = 0;
    for (auto _ : state) {
        ADOQuery1.SetSQL(ca::reports::documentStatement(january2011()));
        ADOQuery1.Open();
        std::vector<ca::db::TField> fields;
        for (const auto& c : columns)
            fields.push_back(ADOQuery1.FieldByName(c.field));
        bytes = 0;
        for (ADOQuery1.First(); !ADOQuery1.Eof(); ADOQuery1.Next())
            for (size_t i = 0; i < columns.size(); ++i)
                bytes += ca::reports::cellText(fields[i].AsString(), columns[i].kind).size();
    }
    state.counters["rows"] = ADOQuery1.RecordCount();
    state.counters["text_MB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(BM_DocumentQueryAllCells)->Unit(benchmark::kMillisecond);

void BM_BusinessExport(benchmark::State& state) {
    TDM& dm = database();
    ca::reports::BusinessFilter f;  // January 2011, customs office 5201
    f.unitCode = "5201980001";
    const std::string out = (benchDir() / "business-2011-01.xls").string();
    ca::reports::ExportTable table;
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(out);
        ca::ScriptedPrompts prompts;
        prompts.answerSave(out);
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        const auto r =
            ca::reports::runBusinessExport(dm, prompts, f, ca::reports::BusinessList::WithGoods, table);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        if (r.outcome != ca::reports::ExportOutcome::Written) state.SkipWithError("the list was not written");
    }
    std::sort(ms.begin(), ms.end());
    state.counters["declarations"] = table.declarationCount();
    state.counters["median_ms"] = ms[ms.size() / 2];
}
BENCHMARK(BM_BusinessExport)->Unit(benchmark::kMillisecond)->Iterations(7);

// The TSV of a 10,000 x 31 export table, texts like the business lists'.
fs::path tsvFile() {
    const fs::path file = benchDir() / "table-10000x31.tsv";
    if (fs::exists(file)) return file;
    std::ofstream out(file, std::ios::binary);
    for (int r = 0; r < 10000; ++r) {
        for (int c = 0; c < 31; ++c) {
            if (c) out << '\t';
            if (r == 0)
                out << "列" << c;
            else if (c % 5 == 0)
                out << "深圳市第" << r % 500 << "贸易有限公司";
            else if (c % 5 == 1)
                out << "5201201000" << 10000000 + r * 31 + c;
            else if (c % 5 == 2)
                out << "2011-01-" << 10 + r % 18;
            else if (c % 5 == 3)
                out << ' ';
            else
                out << r * 13 % 100000 << '.' << r % 100;
        }
        out << '\n';
    }
    return file;
}

double runMs(const std::string& command) {
    const auto t0 = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void BM_XlsWriteProcess(benchmark::State& state) {
    const std::string tsv = tsvFile().string();
    const std::string cli =
        std::string("'") + CA_CLI + "' xls-write '" + (benchDir() / "cli.xls").string() + "' < '" + tsv + "'";
    const std::string xlwt = std::string("/usr/bin/python3 '") + CA_XLWT_TSV_SCRIPT + "' '" +
                             (benchDir() / "xlwt.xls").string() + "' < '" + tsv + "'";
    std::vector<double> ours, theirs;
    for (auto _ : state) {
        const double a = runMs(cli), b = runMs(xlwt);
        if (a < 0 || b < 0) {
            state.SkipWithError(a < 0 ? "xls-write failed" : "python3-xlwt is not available");
            return;
        }
        ours.push_back(a);
        theirs.push_back(b);
        state.SetIterationTime(a / 1000.0);
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    const double mine = ours[ours.size() / 2], python = theirs[theirs.size() / 2];
    state.counters["cli_ms"] = mine;
    state.counters["xlwt_ms"] = python;
    state.counters["speedup"] = python / mine;
}
BENCHMARK(BM_XlsWriteProcess)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
