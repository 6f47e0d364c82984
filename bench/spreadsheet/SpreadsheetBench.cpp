// Writing the 10,000 x 31 export table as text cells, reading it back, python3-xlwt writing the
// same table, and appending to a workbook of 65,000 rows against writing it anew. Peak memory: run one
// benchmark per process (--benchmark_filter) and read the peak_rss_MB counter, the process's high-water mark.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ca/spreadsheet/TextGrid.h"
#include "ca/spreadsheet/Workbook.h"

namespace {

using ca::spreadsheet::TextRows;

constexpr int kRows = 10000, kCols = 31;

// Texts like those of the business-data export: phone numbers, company names, amounts, dates,
// single blanks for empty fields and declaration numbers. Keep in step with xlwt_write_table.py.
std::string cellText(int r, int c) {
    char buf[64];
    if (r == 0) return "列" + std::to_string(c);
    switch (c % 6) {
        case 0:
            std::snprintf(buf, sizeof buf, "0755-%08d", r * 7919 % 100000000);
            return buf;
        case 1:
            return "深圳市第" + std::to_string(r % 500) + "贸易有限公司";
        case 2:
            std::snprintf(buf, sizeof buf, "%d.%02d", r * 13 % 100000, r % 100);
            return buf;
        case 3:
            std::snprintf(buf, sizeof buf, "2011-%02d-%02d", r % 12 + 1, r % 28 + 1);
            return buf;
        case 4:
            return " ";
        default:
            std::snprintf(buf, sizeof buf, "5300%014lld", static_cast<long long>(r) * 104729 + c);
            return buf;
    }
}

const TextRows& table() {
    static const TextRows rows = [] {
        TextRows t(kRows);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                t[r].push_back(cellText(r, c));
        return t;
    }();
    return rows;
}

std::string tablePath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

double peakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void BM_WriteTable(benchmark::State& state) {
    const TextRows& rows = table();
    const std::string path = tablePath("ca_bench_write.xls");
    for (auto _ : state)
        ca::spreadsheet::saveTextRows(path, "StringGrid1", rows, true);
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}
BENCHMARK(BM_WriteTable)->Unit(benchmark::kMillisecond);

void BM_ReadTable(benchmark::State& state) {
    const std::string path = tablePath("ca_bench_read.xls");
    ca::spreadsheet::saveTextRows(path, "StringGrid1", table(), true);
    for (auto _ : state) {
        const auto book = ca::spreadsheet::Workbook::open(path);
        benchmark::DoNotOptimize(book.cellText(kRows, kCols));
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_ReadTable)->Unit(benchmark::kMillisecond);

// Appending a block of 500 rows to a workbook of 65,000 rows (the export table repeated), against
// writing the resulting 65,500 rows anew: the append copies the old records instead of rebuilding
// them, so it should take no longer than a write of the whole.
TextRows bigTable(int rows) {
    TextRows t;
    t.reserve(static_cast<size_t>(rows));
    while (static_cast<int>(t.size()) < rows)
        t.push_back(table()[t.size() % kRows]);
    return t;
}

void BM_WriteBigTable(benchmark::State& state) {
    const TextRows rows = bigTable(65500);
    const std::string path = tablePath("ca_bench_write_big.xls");
    for (auto _ : state)
        ca::spreadsheet::saveTextRows(path, "StringGrid1", rows, true);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}
BENCHMARK(BM_WriteBigTable)->Unit(benchmark::kMillisecond);

void BM_AppendToBigTable(benchmark::State& state) {
    const std::string base = tablePath("ca_bench_append_base.xls");
    const std::string path = tablePath("ca_bench_append.xls");
    ca::spreadsheet::saveTextRows(base, "StringGrid1", bigTable(65000), true);
    const TextRows block(table().begin(), table().begin() + 499);  // headings and 498 rows
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(base, path, std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        ca::spreadsheet::appendTextRows(path, block);
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
}
BENCHMARK(BM_AppendToBigTable)->Unit(benchmark::kMillisecond);

// python3-xlwt writing the same table; the time is the script's own measurement of filling and
// saving the workbook (interpreter start and building the table excluded).
void BM_XlwtWriteTable(benchmark::State& state) {
    const std::string path = tablePath("ca_bench_xlwt.xls");
    const std::string command = "/usr/bin/python3 '" CA_XLWT_SCRIPT "' '" + path + "' " +
                                std::to_string(kRows) + " " + std::to_string(kCols);
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        double seconds = -1;
        if (!pipe || std::fscanf(pipe, "%lf", &seconds) != 1 || pclose(pipe) != 0 || seconds < 0) {
            state.SkipWithError("python3-xlwt is not available");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_XlwtWriteTable)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
