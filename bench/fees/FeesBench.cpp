// Figures for fees on a database of 100,000 declarations with the 24 built-in fee items (8,000
// declarations per month from 2010-01 on, every one with its two fee rows and some amounts):
//   BM_FeeQuery      the fee query for one month (about 8,000 rows): statement, grid rows,
//                    subtotals and totals row. Argument 1: "只显示小计为零的 记录" ticked
//   BM_FeeInputData  fee entry's InputData for a user allowed all 24 items. Argument 0: by
//                    unified number (the document query's button), 1: by declaration number (the
//                    fee query's double click), 2: by the serial of the declaration number (the
//                    "报关单号" search button)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "ca/db/Schema.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/fees/FeeQueryGrid.h"
#include "ca/fees/FeeSheet.h"

namespace fs = std::filesystem;
using ca::db::TADOQuery;
using ca::db::TDM;

namespace {

constexpr int kDeclarations = 100000;
constexpr int kPerMonth = 8000;

struct Keys {
    std::string tyNo, hgNo, day;
};

Keys keys(int i) {
    char ty[32], hg[32], day[16];
    std::snprintf(ty, sizeof ty, "I20100%012d", i);
    std::snprintf(hg, sizeof hg, "520120100%09d", i);
    const int m = i / kPerMonth;
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", 2010 + m / 12, 1 + m % 12, 1 + (i % kPerMonth) * 28 / kPerMonth);
    return {ty, hg, day};
}

void exec(TDM& dm, const std::string& sql) {
    TADOQuery q(dm);
    q.SetSQL(sql);
    q.ExecSQL();
}

fs::path cachedDatabase() {
    fs::path dir = CA_FEES_BENCH_DIR;
    fs::path file = dir / "fees-100k.sqlite";
    if (fs::exists(file)) return file;
    fs::path tmp = dir / "fees-100k.tmp";
    fs::remove(tmp);
    {
        TDM dm(tmp.string());
        dm.ADOConnection1.execRaw("BEGIN");
        std::string feeCols, zeros;
        for (const auto& [code, name] : ca::db::BuiltInFeeItems()) {
            feeCols += "," + code;
            zeros += ",0";
        }
        TADOQuery header(dm), amounts(dm), remarks(dm);
        header.SetSQL("insert into LoadData(TY_No,HG_No,indate,JYDW_Name,PZ_No,phone) select :t,:h,:d,:k,:p,:ph");
        amounts.SetSQL("insert into T_fee(kh,sdate,goods,htno,tdno,bgno,ty_no" + feeCols +
                       ") select :k,:d,:g,:ht,:td,:h,:t" + zeros);
        remarks.SetSQL("insert into T_fee1(kh,sdate,goods,htno,tdno,bgno,ty_no) select :k,:d,:g,:ht,:td,:h,:t");
        for (int i = 0; i < kDeclarations; ++i) {
            const Keys k = keys(i);
            const std::string customer = "客户" + std::to_string(i % 300);
            header.ParamByName("t").SetText(k.tyNo);
            header.ParamByName("h").SetText(k.hgNo);
            header.ParamByName("d").SetText(k.day);
            header.ParamByName("k").SetText(customer);
            header.ParamByName("p").SetText("PZ" + std::to_string(i));
            header.ParamByName("ph").SetText("138" + std::to_string(i % 50));
            header.ExecSQL();
            for (TADOQuery* q : {&amounts, &remarks}) {
                q->ParamByName("k").SetText(customer);
                q->ParamByName("d").SetText(k.day);
                q->ParamByName("g").SetText("商品" + std::to_string(i % 97));
                q->ParamByName("ht").SetText("HT" + std::to_string(i));
                q->ParamByName("td").SetText("TD" + std::to_string(i));
                q->ParamByName("h").SetText(k.hgNo);
                q->ParamByName("t").SetText(k.tyNo);
                q->ExecSQL();
            }
        }
        // Amounts and remarks on most declarations, a few left all zero.
        exec(dm, "update T_fee set bgf=150,ddf=30.5,dlf=200 where mid(ty_no,17,2)<>'00'");
        exec(dm, "update T_fee1 set bgf='现金',dlf='月结' where mid(ty_no,17,2)<>'00'");
        exec(dm, "insert into employee(E_ID,E_name,E_DEP,E_isSup) values(1,'管理员',1,1)");
        exec(dm, "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select 1,Fd_func_code,"
                 "Fd_func_name,1 from func_desc");
        dm.ADOConnection1.execRaw("COMMIT");
        dm.ADOConnection1.execRaw("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    fs::remove(dir / "fees-100k.tmp-wal");
    fs::remove(dir / "fees-100k.tmp-shm");
    fs::rename(tmp, file);
    return file;
}

TDM& database() {
    static std::unique_ptr<TDM> dm = std::make_unique<TDM>(cachedDatabase().string());
    return *dm;
}

void BM_FeeQuery(benchmark::State& state) {
    TDM& dm = database();
    ca::fees::FeeQueryFilter filter;
    filter.from = {2010, 6, 1};
    filter.to = {2010, 6, 30};
    filter.zeroOnly = state.range(0) == 1;
    int rows = 0;
    for (auto _ : state) {
        const auto grid = ca::fees::runFeeQuery(dm, filter);
        rows = grid.recordCount;
        benchmark::DoNotOptimize(grid.rows.data());
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_FeeQuery)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FeeInputData(benchmark::State& state) {
    TDM& dm = database();
    const Keys k = keys(54321);
    ca::fees::FeeSheet sheet;
    for (auto _ : state) {
        ca::fees::LoadOutcome outcome{};
        switch (state.range(0)) {
            case 0:
                outcome = sheet.InputData(dm, "管理员", k.tyNo, "TY_NO", ca::fees::MatchMode::Whole);
                break;
            case 1:
                outcome = sheet.InputData(dm, "管理员", k.hgNo, "bgno", ca::fees::MatchMode::Whole);
                break;
            default:
                outcome = sheet.InputData(dm, "管理员", k.hgNo.substr(9), "bgno", ca::fees::MatchMode::Serial);
        }
        if (outcome != ca::fees::LoadOutcome::Loaded) state.SkipWithError("declaration not loaded");
    }
    state.counters["items"] = static_cast<double>(sheet.rows.size());
}
BENCHMARK(BM_FeeInputData)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
