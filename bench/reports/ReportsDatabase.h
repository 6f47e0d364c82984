#pragma once
// The database of the reports and server benchmarks: 100,000 declarations with 5 goods lines each
// (5,000 per month, by entry and by declaration date, from 2010-01 on), kept in a SQLite file in
// `dir` and built once with two set-based inserts.
#include <filesystem>
#include <string>

#include "ca/db/TDM.h"

namespace ca::bench {

inline constexpr int kDeclarations = 100000;

// The cached database, built once with two set-based inserts (setup only, not measured).
inline std::filesystem::path reportsDatabase(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    using ca::db::TDM;
    const fs::path file = dir / "reports-100k.sqlite";
    if (fs::exists(file)) return file;
    const fs::path tmp = dir / "reports-100k.tmp";
    fs::remove(tmp);
    {
        TDM dm(tmp.string());
        auto& c = dm.ADOConnection1;
        c.execRaw("BEGIN");
        // Declaration i: month i / 5,000 from 2010-01, day spread over 1-28, two kinds in turn,
        // 50 telephone numbers, every third vehicle with "@", one declaring unit.
        c.execRaw(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(kDeclarations - 1) +
            ") INSERT INTO LoadData(TY_No, YLR_No, HG_No, JKKA, HT_No, JK_Date, SB_Date, JYDW_No, JYDW_Name, "
            "SBDW_No, SBDW_Name, YSFS, YSGJ, TiYun_No, JGFS, ZSBL, JianShu, MaoZhong, jingZhong, Remark, "
            "indate, "
            "inouttype, phone, opertor, SPXS) SELECT printf('520120100%09d', i), printf('YL%09d', i), "
            "printf('520120100%09d', i), '皇岗海关', printf('HT%06d', i), "
            "date('2010-01-01', '+' || (i / 5000) || ' months', '+' || ((i % 5000) * 28 / 5000) || ' days'), "
            "date('2010-01-01', '+' || (i / 5000) || ' months', '+' || ((i % 5000) * 28 / 5000) || ' days'), "
            "printf('44039%05d', i % 700), printf('深圳市第%d贸易有限公司', i % 700), '5201980001', "
            "'报关行', "
            "'公路运输', CASE WHEN i % 3 = 0 THEN printf('粤Z%04d@港', i % 9999) ELSE printf('粤B%04d', i % "
            "9999) "
            "END, printf('TD%08d', i), CASE WHEN i % 4 = 0 THEN '一般贸易' ELSE '进料对口' END, '照章征税', "
            "'12', "
            "'1520', '1480', '', "
            "date('2010-01-01', '+' || (i / 5000) || ' months', '+' || ((i % 5000) * 28 / 5000) || ' days'), "
            "CASE WHEN i % 2 = 0 THEN '进口报关单' ELSE '出口报关单' END, printf('1380000%04d', i % 50), "
            "'张三', 5 "
            "FROM n");
        c.execRaw(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(kDeclarations * 5 - 1) +
            ") INSERT INTO subData(Pid, SP_No, SPBH_No, SPMC_Name, GGXH, CJ_No, CJDW, CJDJ, CJZJ, BiZhong, "
            "SCCJ) "
            "SELECT printf('520120100%09d', i / 5), i % 5 + 1, '8471300000', printf('商品%d', i % 97), "
            "'型号', '10', "
            "'台', '100.5', 1005.0 + i % 7, '美元', CASE WHEN i % 2 = 0 THEN '厂甲' ELSE '厂乙' END FROM n");
        c.execRaw("COMMIT");
        c.execRaw("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    for (const char* suffix : {"-wal", "-shm"})
        fs::remove(tmp.string() + suffix);
    fs::rename(tmp, file);
    return file;
}

}  // namespace ca::bench
