#pragma once
// The capture that stores a download in the database: the header of a declaration in LoadData with
// its two fee rows on first store, and its goods lines in subData. Every store logs what it stored:
// an update's line before its statement runs, an insert's once it is in (or before its failure is
// reported). A new header and its fee rows are written as one unit, so a failure in between never
// leaves a declaration without its fee rows. Two desks storing the same declaration at once never
// store it twice: an insert that finds the row already there becomes the update (and logs only
// that). A store that finds its rows held by another desk's unit waits and tries again (the log
// says so). Nothing else is caught here: a refused statement ends the download, and what was
// stored before stays stored.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/download/DeclarationCapture.h"
#include "ca/download/LoadDataColumns.h"
#include "ca/util/Log.h"

namespace ca::download {

class DatabaseCapture : public DeclarationCapture {
public:
    DatabaseCapture(db::TDM& dm, Log& log);

    void insertDataLoad(const HeaderTexts& header, const std::string& queryDate, const std::string& goodsName,
                        const std::string& kindText, const OperatorTexts& operatorTexts,
                        std::int32_t goodsCount) override;
    void insertDataLoad_OUT(const HeaderTexts& header, const std::string& queryDate,
                            const std::string& goodsName, const std::string& kindText,
                            const OperatorTexts& operatorTexts, std::int32_t goodsCount) override;
    void insertSubdata(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) override;

    // Test seam: runs after the existence check of every store and before its write, where another
    // desk's store of the same row may come in between.
    void setBeforeWrite(std::function<void()> hook);

private:
    bool stored(const char* check, const std::vector<std::string>& keys);
    bool insertAsUnit(const char* check, const std::vector<std::string>& keys, const std::string& lockKey,
                      const std::string& logLine, const std::function<void()>& rest);
    void retryWhileBusy(const std::function<void()>& store);
    void storeGoodsLine(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex);
    void storeHeader(HeaderLayout layout, const HeaderTexts& header, const std::string& queryDate,
                     const std::string& goodsName, const std::string& kindText,
                     const OperatorTexts& operatorTexts, std::int32_t goodsCount);
    void insertFeeRow(const char* statement, const Fields& keys, bool zeros);
    void logUpdate(const std::string& line);

    db::TDM& dm_;
    Log& log_;
    db::TADOQuery ADOQuery1;  // the writes
    db::TADOQuery ADOQuery2;  // the existence checks
    std::function<void()> beforeWrite_;
    std::string updateLogged_;  // the update line the current store has logged already
};

}  // namespace ca::download
