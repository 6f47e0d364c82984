#pragma once
// The statements with which a download stores a declaration header, its two fee rows and its goods
// lines (existence check, then insert or update), as the download writes them. Shared by the tests
// and the benchmarks of this layer.
#include <string>
#include <vector>

#include "ca/db/Quoting.h"
#include "ca/db/Schema.h"
#include "ca/db/TADOQuery.h"

namespace dbtest {

inline const std::vector<std::string>& headerColumns() {
    static const std::vector<std::string> cols = {
        "TY_No",    "YLR_No",    "HG_No",    "JKKA",    "BA_No",     "HT_No",    "JK_Date",   "SB_Date",
        "JYDW_No",  "JYDW_Name", "JYDW_XZ",  "SHDW_No", "SHDW_Name", "SBDW_No",  "SBDW_Name", "YSFS",
        "YSGJ",     "HC_No",     "TiYun_No", "JGFS",    "ZMXZ",      "ZSBL",     "NSDW",      "XK_No",
        "QYG",      "ZHG",       "JNMDD",    "PZ_No",   "CJFS",      "YunFee",   "yBiZhong",  "BaoFee",
        "bBiZhong", "ZaFee",     "zBiZhong", "JianShu", "BZZL",      "MaoZhong", "jingZhong", "JZX_No",
        "SFDZ_No",  "BGDType",   "Remark",   "indate",  "inouttype", "phone",    "opertor",   "SPXS"};
    return cols;
}

inline std::string joined(const std::vector<std::string>& names, const std::string& before,
                          const std::string& between = "") {
    std::string s;
    for (size_t i = 0; i < names.size(); ++i)
        s += (i ? "," : "") + before + names[i] + between;
    return s;
}

inline std::string headerInsert() {
    return "insert into LoadData(" + joined(headerColumns(), "") + ") select " + joined(headerColumns(), ":");
}

// key empty: the condition takes the key as the parameter :WhereTY_No.
inline std::string headerUpdate(const std::string& key) {
    std::string s = "Update LoadData set ";
    for (size_t i = 0; i < headerColumns().size(); ++i)
        s += (i ? "," : "") + headerColumns()[i] + "=:" + headerColumns()[i];
    if (key.empty()) return s + "   WHERE TY_NO=:WhereTY_No";
    return s + "   WHERE TY_NO='" + ca::db::EscapeQuotes(key) + "'";
}

inline std::vector<std::string> feeColumns() {
    std::vector<std::string> cols = {"kh", "sdate", "goods", "htno", "tdno", "bgno", "ty_no"};
    for (const auto& item : ca::db::BuiltInFeeItems())
        cols.push_back(item.first);
    return cols;
}

inline std::string feeInsert(const std::string& table) {
    return "insert into " + table + "(" + joined(feeColumns(), "") + ")select " + joined(feeColumns(), ":");
}

inline const std::vector<std::string>& goodsColumns() {
    static const std::vector<std::string> cols = {
        "Pid",  "SP_No", "BA_No", "SPBH_No", "FJBH_No", "SPMC_Name", "GGXH",   "CJ_No",
        "CJDW", "CJDJ",  "CJZJ",  "BiZhong", "FD_No",   "FDDW",      "BBH_No", "HH_No",
        "YT",   "DESL",  "DEDW",  "YCD",     "ZM",      "GJF",       "SCCJ"};
    return cols;
}

struct Declaration {
    std::string tyNo, hgNo, sbDate, indate, kind = "出口报关单", name = "某某贸易有限公司",
                                            phone = "13800000000";
    int goodsLines = 5;
};

// Stores one declaration as the download does: every statement on its own, no transaction. With
// keyParameters the keys of the existence checks and update conditions are parameters (one text per
// statement), otherwise they are joined into the text.
inline void storeDeclaration(ca::db::TADOQuery& check, ca::db::TADOQuery& write, const Declaration& d,
                             bool keyParameters = false) {
    using ca::db::EscapeQuotes;
    if (keyParameters) {
        check.SetSQL("SELECT TY_No FROM LoadData WHERE TY_NO=:TY_No");
        check.ParamByName("TY_No").SetText(d.tyNo);
    } else {
        check.SetSQL("SELECT TY_No FROM LoadData WHERE TY_NO='" + EscapeQuotes(d.tyNo) + "'");
    }
    check.Open();
    const bool isNew = check.IsEmpty();
    write.SetSQL(isNew ? headerInsert() : headerUpdate(keyParameters ? "" : d.tyNo));
    if (!isNew && keyParameters) write.ParamByName("WhereTY_No").SetText(d.tyNo);
    for (const auto& c : headerColumns())
        write.ParamByName(c).SetText("文本" + c);
    write.ParamByName("TY_No").SetText(d.tyNo);
    write.ParamByName("HG_No").SetText(d.hgNo);
    write.ParamByName("JK_Date").SetText(d.sbDate);
    write.ParamByName("SB_Date").SetText(d.sbDate);
    write.ParamByName("indate").SetText(d.indate);
    write.ParamByName("inouttype").SetText(d.kind);
    write.ParamByName("JYDW_Name").SetText(d.name);
    write.ParamByName("phone").SetText(d.phone);
    write.ParamByName("SPXS").SetInteger(d.goodsLines);
    write.ExecSQL();
    if (isNew) {
        for (const char* table : {"T_fee", "T_fee1"}) {
            write.SetSQL(feeInsert(table));
            for (const auto& c : feeColumns()) {
                if (std::string(table) == "T_fee")
                    write.ParamByName(c).SetInteger(0);
                else
                    write.ParamByName(c).SetNull();
            }
            write.ParamByName("kh").SetText(d.name);
            write.ParamByName("sdate").SetText(d.indate);
            write.ParamByName("goods").SetText("商品1");
            write.ParamByName("htno").SetText("HT" + d.tyNo);
            write.ParamByName("tdno").SetText("TD" + d.tyNo);
            write.ParamByName("bgno").SetText(d.hgNo);
            write.ParamByName("ty_no").SetText(d.tyNo);
            write.ExecSQL();
        }
    }
    for (int line = 1; line <= d.goodsLines; ++line) {
        const std::string sp = std::to_string(line);
        if (keyParameters) {
            check.SetSQL("SELECT SP_No FROM subData WHERE PID=:Pid AND SP_No=:SP_No");
            check.ParamByName("Pid").SetText(d.tyNo);
            check.ParamByName("SP_No").SetText(sp);
        } else {
            check.SetSQL("SELECT SP_No FROM subData WHERE PID='" + EscapeQuotes(d.tyNo) + "' AND SP_No='" +
                         sp + "'");
        }
        check.Open();
        if (check.IsEmpty()) {
            write.SetSQL("insert into subData(" + joined(goodsColumns(), "") + ") select " +
                         joined(goodsColumns(), ":"));
        } else {
            std::string s = "UPDATE subData SET ";
            for (size_t i = 0; i < goodsColumns().size(); ++i)
                s += (i ? "," : "") + goodsColumns()[i] + "=:" + goodsColumns()[i];
            if (keyParameters) {
                write.SetSQL(s + " WHERE PID=:WherePid AND SP_No=:WhereSP_No");
                write.ParamByName("WherePid").SetText(d.tyNo);
                write.ParamByName("WhereSP_No").SetText(sp);
            } else {
                write.SetSQL(s + " WHERE PID='" + EscapeQuotes(d.tyNo) + "' AND SP_No='" + sp + "'");
            }
        }
        for (const auto& c : goodsColumns())
            write.ParamByName(c).SetText("货物" + c);
        write.ParamByName("Pid").SetText(d.tyNo);
        write.ParamByName("SP_No").SetText(sp);
        write.ParamByName("SPMC_Name").SetText("商品" + sp);
        write.ParamByName("CJZJ").SetText(std::to_string(line * 100) + ".50");
        write.ParamByName("SCCJ").SetText(line % 2 ? "厂甲" : "厂乙");
        write.ExecSQL();
    }
}

}  // namespace dbtest
