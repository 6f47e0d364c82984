#pragma once
// A small in-memory database of declarations for the report tests: each kind, both date columns,
// goods lines with manufacturers and totals, stored through parameters as the download stores them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace ca::reports::testing {

struct Declaration {
    std::string tyNo;  // 9 characters, then the 9-character serial
    std::string kind;
    std::string sbDate;
    std::string indate;
    std::string phone = "111";
    std::string company = "公司";
    std::string vehicle = "粤海";
    std::string hgNo = "520100000";
    std::string jgfs = "进料加工";
    std::string spxs;  // empty: Null
};

struct GoodsLine {
    std::string name;
    std::string maker;
    std::string total;
};

// Stores a declaration header and its goods lines.
inline void addDeclaration(db::TDM& dm, const Declaration& d, const std::vector<GoodsLine>& lines = {}) {
    db::TADOQuery q(dm);
    q.SetSQL(
        "insert into "
        "LoadData(TY_No,HG_No,SB_Date,indate,inouttype,JYDW_Name,phone,YSGJ,SBDW_No,JGFS,SPXS,"
        "TiYun_No,JianShu,jingZhong,HT_No,Remark,PZ_No,opertor) select :TY_No,:HG_No,:SB_Date,:indate,"
        ":inouttype,:JYDW_Name,:phone,:YSGJ,:SBDW_No,:JGFS,:SPXS,:TiYun_No,:JianShu,:jingZhong,:HT_No,"
        ":Remark,:PZ_No,:opertor");
    q.ParamByName("TY_No").SetText(d.tyNo);
    q.ParamByName("HG_No").SetText(d.hgNo.empty() ? "" : d.hgNo + d.tyNo.substr(9));
    q.ParamByName("SB_Date").SetText(d.sbDate);
    q.ParamByName("indate").SetText(d.indate);
    q.ParamByName("inouttype").SetText(d.kind);
    q.ParamByName("JYDW_Name").SetText(d.company);
    q.ParamByName("phone").SetText(d.phone);
    q.ParamByName("YSGJ").SetText(d.vehicle);
    q.ParamByName("SBDW_No").SetText("5201980001");
    q.ParamByName("JGFS").SetText(d.jgfs);
    if (d.spxs.empty())
        q.ParamByName("SPXS").SetNull();
    else
        q.ParamByName("SPXS").SetInteger(std::stoi(d.spxs));
    q.ParamByName("TiYun_No").SetText("TD-" + d.tyNo.substr(9));
    q.ParamByName("JianShu").SetText("3");
    q.ParamByName("jingZhong").SetText("12.5");
    q.ParamByName("HT_No").SetText("HT");
    q.ParamByName("Remark").SetText("");
    q.ParamByName("PZ_No").SetNull();
    q.ParamByName("opertor").SetText("张三");
    q.ExecSQL();
    int n = 0;
    for (const auto& line : lines) {
        db::TADOQuery g(dm);
        g.SetSQL(
            "insert into subData(Pid,SP_No,SPMC_Name,SCCJ,CJZJ) select "
            ":Pid,:SP_No,:SPMC_Name,:SCCJ,:CJZJ");
        g.ParamByName("Pid").SetText(d.tyNo);
        g.ParamByName("SP_No").SetText(std::to_string(++n));
        g.ParamByName("SPMC_Name").SetText(line.name);
        g.ParamByName("SCCJ").SetText(line.maker);
        g.ParamByName("CJZJ").SetText(line.total);
        g.ExecSQL();
    }
}

inline std::vector<GoodsLine> goodsLines(int n, const std::string& maker, const std::string& total) {
    std::vector<GoodsLine> r;
    for (int i = 1; i <= n; ++i)
        r.push_back({"货" + std::to_string(i), maker, total});
    return r;
}

// A: import, declared 5 January, 5 lines (makers 厂B, 厂B, 厂A, 厂A, 厂A), general trade, "@".
// B: export, declared 31 January, 6 lines of 厂B, not general trade.
// C: transit, declared 1 February, 1 line.
// D: export in January without goods lines, 7 lines listed by the client.
// E: export in January that customs has not numbered yet.
// F: import in January at another customs office.
inline void addSample(db::TDM& dm) {
    const auto decl = [](const char* serial, const char* kind, const char* date, const char* phone,
                         const char* company) {
        Declaration d;
        d.tyNo = std::string("520120111") + serial;
        d.kind = kind;
        d.sbDate = d.indate = date;
        d.phone = phone;
        d.company = company;
        return d;
    };
    auto a = decl("000000001", "进口报关单", "2011-01-05", "111", "公司A");
    a.indate = "2011-01-06";
    a.vehicle = "船@1";
    a.jgfs = "一般贸易";
    auto aLines = goodsLines(5, "厂A", "10");
    aLines[0].maker = aLines[1].maker = "厂B";
    addDeclaration(dm, a, aLines);
    addDeclaration(dm, decl("000000002", "出口报关单", "2011-01-31", "222", "O'Neil公司"),
                   goodsLines(6, "厂B", "1.5"));
    addDeclaration(dm, decl("000000003", "出口转关运输提前报关单", "2011-02-01", "111", "公司C"),
                   goodsLines(1, "厂C", "7"));
    auto d = decl("000000004", "出口报关单", "2011-01-10", "333", "公司D");
    d.jgfs = "来料加工";
    d.spxs = "7";
    addDeclaration(dm, d);
    auto e = decl("000000005", "出口报关单", "2011-01-11", "444", "公司E");
    e.hgNo.clear();
    addDeclaration(dm, e, goodsLines(1, "厂E", "1"));
    auto f = decl("000000006", "进口报关单", "2011-01-12", "555", "公司F");
    f.hgNo = "530000000";
    addDeclaration(dm, f, goodsLines(1, "厂F", "1"));
}
// A fresh empty folder for written files, removed with the test.
class TempDir {
public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("ca-reports-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace ca::reports::testing
