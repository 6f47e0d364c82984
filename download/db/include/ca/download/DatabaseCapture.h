#pragma once
// The capture that stores a download in the database: the header of a declaration in LoadData with
// its two fee rows on first store, and its goods lines in subData. Every store writes its log line
// before its statement runs. Nothing is caught here: a refused statement ends the download, and
// what ran before stays stored.
#include <cstdint>
#include <string>

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

private:
    void storeHeader(HeaderLayout layout, const HeaderTexts& header, const std::string& queryDate,
                     const std::string& goodsName, const std::string& kindText,
                     const OperatorTexts& operatorTexts, std::int32_t goodsCount);
    void insertFeeRow(const char* statement, const Fields& keys, bool zeros);

    Log& log_;
    db::TADOQuery ADOQuery1;  // the writes
    db::TADOQuery ADOQuery2;  // the existence checks
};

}  // namespace ca::download
