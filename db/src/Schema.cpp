#include "ca/db/Schema.h"

#include "ca/db/Dialect.h"

namespace ca::db {

namespace {

std::vector<ColumnInfo> textColumns(std::initializer_list<const char*> names) {
    std::vector<ColumnInfo> cols;
    for (const char* n : names)
        cols.push_back({n, ColumnKind::Text});
    return cols;
}

void setKind(std::vector<ColumnInfo>& cols, const std::string& name, ColumnKind kind) {
    for (auto& c : cols)
        if (c.name == name) c.kind = kind;
}

std::vector<TableDef> buildTables() {
    std::vector<TableDef> t;

    auto loadData = textColumns(
        {"TY_No",    "YLR_No",    "HG_No",    "JKKA",    "BA_No",     "HT_No",    "JK_Date",   "SB_Date",
         "JYDW_No",  "JYDW_Name", "JYDW_XZ",  "SHDW_No", "SHDW_Name", "SBDW_No",  "SBDW_Name", "YSFS",
         "YSGJ",     "HC_No",     "TiYun_No", "JGFS",    "ZMXZ",      "ZSBL",     "NSDW",      "XK_No",
         "QYG",      "ZHG",       "JNMDD",    "PZ_No",   "CJFS",      "YunFee",   "yBiZhong",  "BaoFee",
         "bBiZhong", "ZaFee",     "zBiZhong", "JianShu", "BZZL",      "MaoZhong", "jingZhong", "JZX_No",
         "SFDZ_No",  "BGDType",   "Remark",   "indate",  "inouttype", "phone",    "opertor",   "SPXS",
         "GOODS",    "SHDW_XZ",   "SBDW_xz"});
    setKind(loadData, "JK_Date", ColumnKind::Date);
    setKind(loadData, "SB_Date", ColumnKind::Date);
    setKind(loadData, "indate", ColumnKind::Date);
    setKind(loadData, "SPXS", ColumnKind::Integer);
    t.push_back({"LoadData", loadData});

    auto subData =
        textColumns({"Pid",  "SP_No", "BA_No", "SPBH_No", "FJBH_No", "SPMC_Name", "GGXH",   "CJ_No",
                     "CJDW", "CJDJ",  "CJZJ",  "BiZhong", "FD_No",   "FDDW",      "BBH_No", "HH_No",
                     "YT",   "DESL",  "DEDW",  "YCD",     "ZM",      "GJF",       "SCCJ"});
    setKind(subData, "CJZJ", ColumnKind::Decimal);
    t.push_back({"subData", subData});

    for (const char* fee : {"T_fee", "T_fee1"}) {
        auto cols = textColumns({"kh", "sdate", "goods", "htno", "tdno", "bgno", "ty_no"});
        setKind(cols, "sdate", ColumnKind::Date);
        const bool amounts = std::string(fee) == "T_fee";
        for (const auto& [code, name] : BuiltInFeeItems())
            cols.push_back({code, amounts ? ColumnKind::Decimal : ColumnKind::Text});
        t.push_back({fee, cols});
    }

    t.push_back({"func_desc", textColumns({"Fd_func_code", "Fd_func_name"})});

    auto employee = textColumns(
        {"E_ID", "E_name", "E_DEP", "E_sex", "E_pos", "E_pwd", "e_mobile", "E_isSup", "e_add1", "e_add2"});
    for (const char* n : {"E_ID", "E_DEP", "E_isSup"})
        setKind(employee, n, ColumnKind::Integer);
    t.push_back({"employee", employee});

    auto dep = textColumns({"ID", "DEP_Name"});
    setKind(dep, "ID", ColumnKind::Integer);
    t.push_back({"DEP", dep});

    auto limit = textColumns({"L_pers_id", "L_func_code", "L_func_name", "L_have_Limit"});
    setKind(limit, "L_pers_id", ColumnKind::Integer);
    setKind(limit, "L_have_Limit", ColumnKind::Integer);
    t.push_back({"limit", limit});
    return t;
}

}  // namespace

const std::vector<TableDef>& DefaultTables() {
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const std::vector<std::pair<std::string, std::string>>& BuiltInFeeItems() {
    static const std::vector<std::pair<std::string, std::string>> items = {
        {"bgf", "报关费"},       {"bjf", "报检费"},   {"ddf", "打单费"},       {"bjd", "报检单费"},
        {"cysjf", "查验商检费"}, {"jhd", "结汇单费"}, {"yhsxf", "银行手续费"}, {"bdf", "保单费"},
        {"sjf", "商检费"},       {"xzf", "熏蒸费"},   {"hdf", "换单费"},       {"dlf", "代理费"},
        {"THCf", "THC费"},       {"ygf", "验柜费"},   {"hgf", "海关费"},       {"zgf", "装柜费"},
        {"xgf", "卸柜费"},       {"dgf", "吊柜费"},   {"ftf", "封条费"},       {"gbf", "过磅费"},
        {"cgf", "查柜费"},       {"mtf", "码头费"},   {"yf", "运费"},          {"zbj", "滞报金"},
    };
    return items;
}

std::vector<std::string> DefaultSchemaStatements(const Dialect& dialect) {
    std::vector<std::string> out;
    for (const auto& table : DefaultTables()) {
        std::string sql = "CREATE TABLE " + dialect.quoteName(table.name) + " (";
        for (size_t i = 0; i < table.columns.size(); ++i)
            sql += (i ? ",\n  " : "\n  ") + dialect.columnDefinition(table.columns[i]);
        out.push_back(sql + ")");
    }
    // The indexes the statements of the program need: keys looked up by every store, the date
    // ranges of the queries, and the per-declaration and per-user look-ups. The goods-line index
    // also holds CJZJ and SCCJ so that the per-declaration sums of the business data list read
    // the index alone. Fee entry finds a declaration's fee rows by its customs number, whole or
    // by the serial in characters 10 to 18. A goods line is stored once per declaration and line
    // number, whichever desk or copy writes it. The fee query has no order of its own and shows its rows
    // in the order they were stored, so its date range deliberately has no index to follow instead.
    for (const char* index : {
             "CREATE UNIQUE INDEX LoadData_TY_No ON LoadData(TY_No)",
             "CREATE INDEX LoadData_indate ON LoadData(indate)",
             "CREATE INDEX LoadData_SB_Date ON LoadData(SB_Date)",
             "CREATE INDEX subData_Pid_SP_No ON subData(Pid, SP_No, CJZJ, SCCJ)",
             kUniqueGoodsLine,
             "CREATE INDEX T_fee_ty_no ON T_fee(ty_no)",
             "CREATE INDEX T_fee1_ty_no ON T_fee1(ty_no)",
             "CREATE INDEX T_fee_bgno ON T_fee(bgno)",
             "CREATE INDEX T_fee1_bgno ON T_fee1(bgno)",
             "CREATE UNIQUE INDEX func_desc_code ON func_desc(Fd_func_code)",
             "CREATE UNIQUE INDEX func_desc_name ON func_desc(Fd_func_name)",
             "CREATE UNIQUE INDEX employee_E_ID ON employee(E_ID)",
             "CREATE INDEX employee_E_name ON employee(E_name)",
             "CREATE UNIQUE INDEX DEP_ID ON DEP(ID)",
         })
        out.emplace_back(index);
    for (const char* fee : {"T_fee", "T_fee1"})
        out.push_back(std::string("CREATE INDEX ") + fee + "_bgno_serial ON " + fee + "(" +
                      dialect.textIndexExpression("mid(bgno, 10, 9)") + ")");
    out.push_back("CREATE INDEX limit_L_pers_id ON " + dialect.quoteName("limit") + "(L_pers_id)");
    for (const auto& [code, name] : BuiltInFeeItems())
        out.push_back("INSERT INTO func_desc(Fd_func_code, Fd_func_name) VALUES('" + code + "', '" + name +
                      "')");
    return out;
}

}  // namespace ca::db
