// Figures for the database layer on a database of 100,000 declarations with 5 goods lines each
// (5,000 declarations per month from 2010-01 on):
//   BM_StoreDeclaration  one more declaration stored as the download does it (existence check,
//                        header insert, two fee rows, five goods-line checks and inserts, each on
//                        its own, no transaction); counter median_ms is the median per declaration.
//                        Argument 0: keys joined into the check and update texts; 1: keys as
//                        parameters (the texts repeat)
//   BM_DocumentQuery     the document query's header statement for one month, opened
//   BM_BusinessData      the "生成EXCEL" statement for one month plus the goods query of each row
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "DownloadStatements.h"
#include "ca/db/TDM.h"

namespace fs = std::filesystem;
using ca::db::TADOQuery;
using ca::db::TDM;

namespace {

constexpr int kDeclarations = 100000;
constexpr int kPerMonth = 5000;

std::string monthOf(int index) {  // 2010-01 for the first 5,000, then one month per 5,000
    int m = index / kPerMonth;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d", 2010 + m / 12, 1 + m % 12);
    return buf;
}

dbtest::Declaration declaration(int i) {
    char key[32], hg[32], day[8];
    std::snprintf(key, sizeof key, "I20100%012d", i);
    std::snprintf(hg, sizeof hg, "520120100%09d", i);
    std::snprintf(day, sizeof day, "-%02d", 1 + (i % kPerMonth) * 28 / kPerMonth);
    dbtest::Declaration d{key, hg, monthOf(i) + day, monthOf(i) + day};
    d.kind = i % 3 ? "出口报关单" : "进口报关单";
    d.phone = std::to_string(13800000000LL + i % 50);
    return d;
}

// The cached database with all declarations, built once (in one transaction: it is only setup).
fs::path cachedDatabase() {
    fs::path dir = CA_DB_BENCH_DIR;
    fs::path file = dir / "declarations-100k.sqlite";
    if (fs::exists(file)) return file;
    fs::path tmp = dir / "declarations-100k.tmp";
    fs::remove(tmp);
    {
        TDM dm(tmp.string());
        TADOQuery check(dm), write(dm);
        dm.ADOConnection1.execRaw("BEGIN");
        for (int i = 0; i < kDeclarations; ++i)
            dbtest::storeDeclaration(check, write, declaration(i));
        dm.ADOConnection1.execRaw("COMMIT");
        dm.ADOConnection1.execRaw("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    fs::remove(dir / "declarations-100k.tmp-wal");
    fs::remove(dir / "declarations-100k.tmp-shm");
    fs::rename(tmp, file);
    return file;
}

// A working copy, so that stored declarations do not pile up in the cache.
TDM& database() {
    static std::unique_ptr<TDM> dm = [] {
        fs::path work = fs::path(CA_DB_BENCH_DIR) / "work.sqlite";
        for (const char* suffix : {"", "-wal", "-shm"})
            fs::remove(work.string() + suffix);
        fs::copy_file(cachedDatabase(), work);
        return std::make_unique<TDM>(work.string());
    }();
    return *dm;
}

void BM_StoreDeclaration(benchmark::State& state) {
    TDM& dm = database();
    TADOQuery check(dm), write(dm);
    static int next = kDeclarations;
    std::vector<double> ms;
    for (auto _ : state) {
        auto d = declaration(next++);
        auto t0 = std::chrono::steady_clock::now();
        dbtest::storeDeclaration(check, write, d, state.range(0) != 0);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
}
BENCHMARK(BM_StoreDeclaration)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2000);

void BM_DocumentQuery(benchmark::State& state) {
    TDM& dm = database();
    TADOQuery q(dm);
    int rows = 0;
    for (auto _ : state) {
        q.SetSQL(
            "select LoadData.* from LoadData where    indate>=#2011-01-01# and indate<=#2011-01-31# and "
            "JYDW_NAME like '%贸易%'");
        q.Open();
        rows = q.RecordCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_DocumentQuery)->Unit(benchmark::kMillisecond);

const char* const kBusinessData =
    "select loaddata.phone,loaddata.ty_no, loaddata.ty_no, loaddata.jydw_name , loaddata.tiyun_no, "
    "loaddata.HG_no, loaddata.JIANSHU, loaddata.jingzhong ,loaddata.SB_DATE ,loaddata.remark,  "
    "loaddata.HT_NO,loaddata.PZ_No, loaddata.YSGJ,SubData.ZJ,loaddata.inouttype from loaddata loaddata,"
    "(SELECT Pid, SUM(CJZJ) AS ZJ FROM SubData  GROUP BY Pid) SubData  where LoadData.ty_no=SubData.pid "
    " AND format(sb_date,'yyyy-mm-dd hh:mm:ss')>='2011-01-01' and "
    "format(sb_date,'yyyy-mm-dd hh:mm:ss')<'2011-02-01' and sbdw_no='文本SBDW_No' order by loaddata.phone";

void BM_BusinessData(benchmark::State& state) {
    TDM& dm = database();
    TADOQuery q(dm), goods(dm);
    const bool withGoods = state.range(0) != 0;
    int rows = 0;
    for (auto _ : state) {
        q.SetSQL(kBusinessData);
        q.Open();
        rows = q.RecordCount();
        for (q.First(); withGoods && !q.Eof(); q.Next()) {
            goods.SetSQL("select spmc_name,SCCJ from subdata where pid='" +
                         ca::db::EscapeQuotes(q.FieldByName("ty_no").AsString()) + "'");
            goods.Open();
            benchmark::DoNotOptimize(goods.FieldByName("spmc_name").AsString());
        }
    }
    state.counters["rows"] = rows;
}
// Argument 1: with the goods query of every row (the whole command); 0: the list statement alone.
BENCHMARK(BM_BusinessData)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
