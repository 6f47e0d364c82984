#include "ca/download/DatabaseCapture.h"

#include "ca/db/DbError.h"
#include "ca/db/Transaction.h"
#include "ca/download/SubDataColumns.h"

namespace ca::download {

namespace {

constexpr const char* kInsertLoadData =
    "insert into "
    "LoadData(TY_No,YLR_No,HG_No,JKKA,BA_No,HT_No,JK_Date,SB_Date,JYDW_No,JYDW_Name,JYDW_XZ,SHDW_No,SHDW_"
    "Name,"
    "SBDW_No,SBDW_Name,YSFS,YSGJ,HC_No,TiYun_No,JGFS,ZMXZ,ZSBL,NSDW,XK_No,QYG,ZHG,JNMDD,PZ_No,CJFS,YunFee,"
    "yBiZhong,BaoFee,bBiZhong,ZaFee,zBiZhong,JianShu,BZZL,MaoZhong,jingZhong,JZX_No,SFDZ_No,BGDType,Remark,"
    "indate,inouttype,phone,opertor,SPXS) select "
    ":TY_No,:YLR_No,:HG_No,:JKKA,:BA_No,:HT_No,:JK_Date,:SB_Date,:JYDW_No,:JYDW_Name,:JYDW_XZ,:SHDW_No,:"
    "SHDW_Name,:SBDW_No,:SBDW_Name,:YSFS,:YSGJ,:HC_No,:TiYun_No,:JGFS,:ZMXZ,:ZSBL,:NSDW,:XK_No,:QYG,:ZHG,:"
    "JNMDD,:PZ_No,:CJFS,:YunFee,:yBiZhong,:BaoFee,:bBiZhong,:ZaFee,:zBiZhong,:JianShu,:BZZL,:MaoZhong,:"
    "jingZhong,:JZX_No,:SFDZ_No,:BGDType,:Remark,:indate,:inouttype,:phone,:opertor,:SPXS "
    "where not exists (select TY_No from LoadData where TY_NO=:WhereTY_No)";

constexpr const char* kUpdateLoadData =
    "Update LoadData set "
    "TY_No=:TY_No,YLR_No=:YLR_No,HG_No=:HG_No,HT_No=:HT_No,JKKA=:JKKA,BA_No=:BA_No,JK_Date=:JK_Date,SB_Date=:"
    "SB_Date,JYDW_No=:JYDW_No,JYDW_Name=:JYDW_Name,JYDW_XZ=:JYDW_XZ,SHDW_No=:SHDW_No,SHDW_Name=:SHDW_Name,"
    "SBDW_No=:SBDW_No,SBDW_Name=:SBDW_Name,YSFS=:YSFS,YSGJ=:YSGJ,HC_No=:HC_No,TiYun_No=:TiYun_No,JGFS=:JGFS,"
    "ZMXZ=:ZMXZ,ZSBL=:ZSBL,NSDW=:NSDW,XK_No=:XK_No,QYG=:QYG,ZHG=:ZHG,JNMDD=:JNMDD,PZ_No=:PZ_No,CJFS=:CJFS,"
    "YunFee=:YunFee,yBiZhong=:yBiZhong,BaoFee=:BaoFee,bBiZhong=:bBiZhong,ZaFee=:ZaFee,zBiZhong=:zBiZhong,"
    "JianShu=:JianShu,BZZL=:BZZL,MaoZhong=:MaoZhong,jingZhong=:jingZhong,JZX_No=:JZX_No,SFDZ_No=:SFDZ_No,"
    "BGDType=:BGDType,Remark=:Remark,indate=:indate,inouttype=:inouttype,phone=:phone,opertor=:opertor,SPXS=:"
    "SPXS   WHERE TY_NO=:WhereTY_No";

constexpr const char* kInsertFee =
    "insert into "
    "T_fee(kh,sdate,goods,htno,tdno,bgno,ty_no,bgf,bjf,ddf,bjd,cysjf,jhd,yhsxf,bdf,sjf,xzf,hdf,dlf,THCf,ygf,"
    "hgf,zgf,xgf,dgf,ftf,gbf,cgf,mtf,yf,zbj)select "
    ":kh,:sdate,:goods,:htno,:tdno,:bgno,:ty_no,:bgf,:bjf,:ddf,:bjd,:cysjf,:jhd,:yhsxf,:bdf,:sjf,:xzf,:hdf,:"
    "dlf,:THCf,:ygf,:hgf,:zgf,:xgf,:dgf,:ftf,:gbf,:cgf,:mtf,:yf,:zbj";

constexpr const char* kInsertFeeRemarks =
    "insert into "
    "T_fee1(kh,sdate,goods,htno,tdno,bgno,ty_no,bgf,bjf,ddf,bjd,cysjf,jhd,yhsxf,bdf,sjf,xzf,hdf,dlf,THCf,ygf,"
    "hgf,zgf,xgf,dgf,ftf,gbf,cgf,mtf,yf,zbj)select "
    ":kh,:sdate,:goods,:htno,:tdno,:bgno,:ty_no,:bgf,:bjf,:ddf,:bjd,:cysjf,:jhd,:yhsxf,:bdf,:sjf,:xzf,:hdf,:"
    "dlf,:THCf,:ygf,:hgf,:zgf,:xgf,:dgf,:ftf,:gbf,:cgf,:mtf,:yf,:zbj";

constexpr const char* kInsertSubDataImport =
    "insert into "
    "subData(Pid,SP_No,BA_No,SPBH_No,FJBH_No,SPMC_Name,GGXH,CJ_No,CJDW,CJDJ,CJZJ,BiZhong,FD_No,FDDW,BBH_No,"
    "HH_No,YT,DESL,DEDW,YCD,ZM) select "
    ":Pid,:SP_No,:BA_No,:SPBH_No,:FJBH_No,:SPMC_Name,:GGXH,:CJ_No,:CJDW,:CJDJ,:CJZJ,:BiZhong,:FD_No,:FDDW,:"
    "BBH_No,:HH_No,:YT,:DESL,:DEDW,:YCD,:ZM "
    "where not exists (select SP_No from subData where PID=:WherePid AND SP_No=:WhereSP_No)";

constexpr const char* kUpdateSubDataImport =
    "UPDATE subData SET "
    "Pid=:Pid,SP_No=:SP_No,BA_No=:BA_No,SPBH_No=:SPBH_No,FJBH_No=:FJBH_No,SPMC_Name=:SPMC_Name,GGXH=:GGXH,"
    "CJ_No=:CJ_No,CJDW=:CJDW,CJDJ=:CJDJ,CJZJ=:CJZJ,BiZhong=:BiZhong,FD_No=:FD_No,FDDW=:FDDW,BBH_No=:BBH_No,"
    "HH_No=:HH_No,YT=:YT,DESL=:DESL,DEDW=:DEDW,YCD=:YCD,ZM=:ZM WHERE PID=:WherePid AND SP_No=:WhereSP_No";

constexpr const char* kInsertSubDataExport =
    "insert into "
    "subData(Pid,SP_No,BA_No,SPBH_No,FJBH_No,SPMC_Name,GGXH,CJ_No,CJDW,CJDJ,CJZJ,BiZhong,FD_No,FDDW,BBH_No,"
    "HH_No,YT,DESL,DEDW,YCD,ZM,GJF,SCCJ) select "
    ":Pid,:SP_No,:BA_No,:SPBH_No,:FJBH_No,:SPMC_Name,:GGXH,:CJ_No,:CJDW,:CJDJ,:CJZJ,:BiZhong,:FD_No,:FDDW,:"
    "BBH_No,:HH_No,:YT,:DESL,:DEDW,:YCD,:ZM,:GJF,:SCCJ "
    "where not exists (select SP_No from subData where PID=:WherePid AND SP_No=:WhereSP_No)";

constexpr const char* kUpdateSubDataExport =
    "UPDATE subData SET "
    "Pid=:Pid,SP_No=:SP_No,BA_No=:BA_No,SPBH_No=:SPBH_No,FJBH_No=:FJBH_No,SPMC_Name=:SPMC_Name,GGXH=:GGXH,"
    "CJ_No=:CJ_No,CJDW=:CJDW,CJDJ=:CJDJ,CJZJ=:CJZJ,BiZhong=:BiZhong,FD_No=:FD_No,FDDW=:FDDW,BBH_No=:BBH_No,"
    "HH_No=:HH_No,YT=:YT,DESL=:DESL,DEDW=:DEDW,YCD=:YCD,ZM=:ZM,GJF=:GJF,SCCJ=:SCCJ WHERE PID=:WherePid AND "
    "SP_No=:WhereSP_No";

constexpr const char* kHeaderCheck = "SELECT TY_No FROM LoadData WHERE TY_NO=:k1";
constexpr const char* kGoodsCheck = "SELECT SP_No FROM subData WHERE PID=:k1 AND SP_No=:k2";

void bindFields(db::TADOQuery& q, const Fields& fields) {
    for (const auto& f : fields) {
        db::TParameter& p = q.ParamByName(f.name);
        switch (f.value.kind) {
            case FieldValue::Kind::Null:
                p.SetNull();
                break;
            case FieldValue::Kind::Text:
                p.SetText(f.value.text);
                break;
            case FieldValue::Kind::Integer:
                p.SetInteger(f.value.integer);
                break;
        }
    }
}

}  // namespace

DatabaseCapture::DatabaseCapture(db::TDM& dm, Log& log) : dm_(dm), log_(log), ADOQuery1(dm), ADOQuery2(dm) {}

void DatabaseCapture::setBeforeWrite(std::function<void()> hook) {
    beforeWrite_ = std::move(hook);
}

void DatabaseCapture::insertDataLoad(const HeaderTexts& header, const std::string& queryDate,
                                     const std::string& goodsName, const std::string& kindText,
                                     const OperatorTexts& operatorTexts, std::int32_t goodsCount) {
    retryWhileBusy([&] {
        storeHeader(HeaderLayout::Import, header, queryDate, goodsName, kindText, operatorTexts, goodsCount);
    });
}

void DatabaseCapture::insertDataLoad_OUT(const HeaderTexts& header, const std::string& queryDate,
                                         const std::string& goodsName, const std::string& kindText,
                                         const OperatorTexts& operatorTexts, std::int32_t goodsCount) {
    retryWhileBusy([&] {
        storeHeader(HeaderLayout::Export, header, queryDate, goodsName, kindText, operatorTexts, goodsCount);
    });
}

bool DatabaseCapture::stored(const char* check, const std::vector<std::string>& keys) {
    ADOQuery2.SetSQL(check);
    for (size_t i = 0; i < keys.size(); ++i)
        ADOQuery2.ParamByName(i == 0 ? "k1" : "k2").SetText(keys[i]);
    ADOQuery2.Open();
    const bool found = !ADOQuery2.IsEmpty();
    ADOQuery2.Close();
    return found;
}

// Writes the new row and what belongs to it (`rest`: the fee rows of a header) as one unit, so a
// failure in between leaves none of it. Another desk may store the same row between the existence
// check and the insert: the insert adds the row only while it is absent (one statement, decided by
// the engine), and `lock` first waits for another desk's unit on the same declaration, so that on
// a server, where two such inserts at the same moment could both find the row absent, the second
// one sees the first's row. When the insert adds nothing, or the engine refuses it because the key
// is now taken, the row is there: false, nothing written, and the caller updates it instead.
bool DatabaseCapture::insertAsUnit(const char* check, const std::vector<std::string>& keys,
                                   const std::string& lockKey, const std::string& logLine,
                                   const std::function<void()>& rest) {
    try {
        // What the download stores is a copy of what the client holds: a row lost with a server
        // crash is stored again by the next download.
        db::Transaction unit(dm_, db::Durability::Refetchable);
        // A second desk storing the same goods line waits here and then finds it.
        if (!lockKey.empty()) dm_.ADOConnection1.LockDeclarations({lockKey});
        if (ADOQuery1.ExecSQL() != 1) return false;
        if (rest) rest();
        unit.commit();
        log_.append(logLine);
        return true;
    } catch (const db::DbBusy&) {
        throw;
    } catch (const db::DbError&) {
        if (stored(check, keys)) return false;
        // The line of the store that failed, before the failure is reported.
        log_.append(logLine);
        throw;
    }
}

// Another desk's unit on the same rows (a download of the same declarations, a copy between
// databases, a new fee item's column) holds them for a while: the store waits for it as long as
// the engine waits for a lock, says so in the log, and tries again, instead of ending the download.
void DatabaseCapture::retryWhileBusy(const std::function<void()>& store) {
    constexpr int kAttempts = 24;
    updateLogged_.clear();
    for (int attempt = 1;; ++attempt) {
        try {
            store();
            return;
        } catch (const db::DbBusy&) {
            if (attempt >= kAttempts) throw;
            log_.append("数据库正被其他工位使用，等待后重试（第 " + std::to_string(attempt) + " 次）……");
        }
    }
}

// An update's line, before its statement runs: once per store, however often waiting for another
// desk's lock makes it try again.
void DatabaseCapture::logUpdate(const std::string& line) {
    if (line == updateLogged_) return;
    log_.append(line);
    updateLogged_ = line;
}

// The key goes into the existence check and the update's condition as a parameter, so a unified
// number holding an apostrophe is matched and stored instead of breaking the statement, and the
// statements keep one text (compiled once per connection).
void DatabaseCapture::storeHeader(HeaderLayout layout, const HeaderTexts& header,
                                  const std::string& queryDate, const std::string& goodsName,
                                  const std::string& kindText, const OperatorTexts& operatorTexts,
                                  std::int32_t goodsCount) {
    const std::string& key = loadDataKey(layout, header);
    const bool inserting = !stored(kHeaderCheck, {key});
    if (beforeWrite_) beforeWrite_();
    if (inserting) {
        ADOQuery1.SetSQL(kInsertLoadData);
        bindFields(ADOQuery1,
                   loadDataFields(layout, header, queryDate, kindText, operatorTexts, goodsCount, true));
        ADOQuery1.ParamByName("WhereTY_No").SetText(key);
        const Fields keys = feeKeyFields(layout, header, queryDate, goodsName);
        if (insertAsUnit(kHeaderCheck, {key}, {}, headerLogLine(kindText, key, true), [&] {
                insertFeeRow(kInsertFee, keys, true);
                insertFeeRow(kInsertFeeRemarks, keys, false);
            }))
            return;
    }
    ADOQuery1.SetSQL(kUpdateLoadData);
    bindFields(ADOQuery1,
               loadDataFields(layout, header, queryDate, kindText, operatorTexts, goodsCount, false));
    ADOQuery1.ParamByName("WhereTY_No").SetText(key);
    logUpdate(headerLogLine(kindText, key, false));
    ADOQuery1.ExecSQL();
}

// One fee row: the seven key values, then the built-in fee columns as 0 (amounts) or Null (remarks).
void DatabaseCapture::insertFeeRow(const char* statement, const Fields& keys, bool zeros) {
    ADOQuery1.SetSQL(statement);
    bindFields(ADOQuery1, keys);
    for (std::string_view fee : builtInFeeColumns()) {
        db::TParameter& p = ADOQuery1.ParamByName(fee);
        if (zeros)
            p.SetInteger(0);
        else
            p.SetNull();
    }
    ADOQuery1.ExecSQL();
}

void DatabaseCapture::insertSubdata(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) {
    retryWhileBusy([&] { storeGoodsLine(goods, header, kindIndex); });
}

void DatabaseCapture::storeGoodsLine(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) {
    const std::string& pid = subDataPid(header, kindIndex);
    const std::string& sequence = subDataSequence(goods, kindIndex);
    const bool inserting = !stored(kGoodsCheck, {pid, sequence});
    if (beforeWrite_) beforeWrite_();
    const bool importLayout = kindIndex == 0;
    const Fields fields = subDataFields(goods, header, kindIndex);
    if (inserting) {
        ADOQuery1.SetSQL(importLayout ? kInsertSubDataImport : kInsertSubDataExport);
        bindFields(ADOQuery1, fields);
        ADOQuery1.ParamByName("WherePid").SetText(pid);
        ADOQuery1.ParamByName("WhereSP_No").SetText(sequence);
        if (insertAsUnit(kGoodsCheck, {pid, sequence}, pid, goodsLogLine(goods, header, kindIndex, true), {}))
            return;
    }
    ADOQuery1.SetSQL(importLayout ? kUpdateSubDataImport : kUpdateSubDataExport);
    bindFields(ADOQuery1, fields);
    ADOQuery1.ParamByName("WherePid").SetText(pid);
    ADOQuery1.ParamByName("WhereSP_No").SetText(sequence);
    logUpdate(goodsLogLine(goods, header, kindIndex, false));
    ADOQuery1.ExecSQL();
}

}  // namespace ca::download
