// Reading .xlsx files that declare more than a workbook may hold: how soon a file declaring 5
// million cells is refused, and what a sheet at the cell bound costs when its cells come right to
// left or in order. Peak memory: one benchmark per process, counter peak_rss_MB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zip.h>

#include <filesystem>
#include <string>

#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/spreadsheet/Workbook.h"

namespace {

double peakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

std::string columnName(int col) {
    std::string ref;
    for (int c = col; c > 0; c = (c - 1) / 26)
        ref.insert(ref.begin(), static_cast<char>('A' + (c - 1) % 26));
    return ref;
}

std::string writeXlsx(const char* name, const std::string& sheetData) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::remove(path);
    zipFile z = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    const std::pair<const char*, std::string> members[] = {
        {"xl/workbook.xml", "<workbook><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/worksheet\" Target=\"sheet1.xml\"/>"
         "</Relationships>"},
        {"xl/sheet1.xml", "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
    };
    for (const auto& [member, text] : members) {
        zipOpenNewFileInZip(z, member, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9);
        zipWriteInFileInZip(z, text.data(), static_cast<unsigned>(text.size()));
        zipCloseFileInZip(z);
    }
    zipClose(z, nullptr);
    return path;
}

// 5,000 rows of 1,000 empty cells: 5 million cells in a file of about 30 KB.
void BM_RefuseFiveMillionCells(benchmark::State& state) {
    std::string row = "<row>";
    for (int i = 0; i < 1000; ++i)
        row += "<c/>";
    row += "</row>";
    std::string rows;
    for (int r = 0; r < 5000; ++r)
        rows += row;
    const std::string path = writeXlsx("ca_bench_cells5m.xlsx", rows);
    for (auto _ : state) {
        try {
            ca::spreadsheet::Workbook::open(path);
            state.SkipWithError("not refused");
            return;
        } catch (const ca::SpreadsheetError&) {
        }
    }
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024;
}
BENCHMARK(BM_RefuseFiveMillionCells)->Unit(benchmark::kMillisecond);

// 120 rows of 16,384 numbers (1,966,080 cells, just under the bound), right to left or in order.
void readFullRows(benchmark::State& state, bool rightToLeft) {
    std::string rows;
    for (int r = 1; r <= 120; ++r) {
        rows += "<row r=\"" + std::to_string(r) + "\">";
        for (int i = 1; i <= 16384; ++i) {
            const int col = rightToLeft ? 16385 - i : i;
            rows +=
                "<c r=\"" + columnName(col) + std::to_string(r) + "\"><v>" + std::to_string(col) + "</v></c>";
        }
        rows += "</row>";
    }
    const std::string path = writeXlsx(rightToLeft ? "ca_bench_rtl.xlsx" : "ca_bench_ltr.xlsx", rows);
    for (auto _ : state) {
        const auto book = ca::spreadsheet::Workbook::open(path);
        benchmark::DoNotOptimize(book.cellText(120, 16384));
    }
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024;
}
void BM_ReadCellsRightToLeft(benchmark::State& state) {
    readFullRows(state, true);
}
void BM_ReadCellsInOrder(benchmark::State& state) {
    readFullRows(state, false);
}
BENCHMARK(BM_ReadCellsRightToLeft)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReadCellsInOrder)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
