#pragma once
// A capture that keeps every call instead of storing it. It tells new declarations and goods lines
// from ones seen before the way the database capture does, and writes the same log lines, so a run
// without a database (the Win32 build, tests of the driver) shows the log a clerk would see.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ca/download/DeclarationCapture.h"
#include "ca/download/FieldValue.h"
#include "ca/util/Log.h"

namespace ca::download {

class RecordingCapture : public DeclarationCapture {
public:
    struct Header {
        bool exportVariant = false;  // insertDataLoad_OUT
        bool inserting = true;       // first time this key was seen
        HeaderTexts header;
        std::string queryDate, goodsName, kindText;
        OperatorTexts operatorTexts;
        std::int32_t goodsCount = 0;
        Fields fields() const;  // the 48 LoadData values this call stores
    };
    struct Goods {
        int kindIndex = 0;
        bool inserting = true;
        GoodsTexts goods;
        HeaderTexts header;
        Fields fields() const;  // the subData values this call stores
    };

    // log may be null: then nothing is written.
    explicit RecordingCapture(Log* log = nullptr) : log_(log) {}

    void insertDataLoad(const HeaderTexts& header, const std::string& queryDate, const std::string& goodsName,
                        const std::string& kindText, const OperatorTexts& operatorTexts,
                        std::int32_t goodsCount) override;
    void insertDataLoad_OUT(const HeaderTexts& header, const std::string& queryDate,
                            const std::string& goodsName, const std::string& kindText,
                            const OperatorTexts& operatorTexts, std::int32_t goodsCount) override;
    void insertSubdata(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) override;

    const std::vector<Header>& headers() const { return headers_; }
    const std::vector<Goods>& goods() const { return goods_; }
    // Every call as text lines, one "column=value" line per stored value, for comparing runs.
    std::vector<std::string> describe() const;

private:
    void header(bool exportVariant, const HeaderTexts& header, const std::string& queryDate,
                const std::string& goodsName, const std::string& kindText, const OperatorTexts& operatorTexts,
                std::int32_t goodsCount);

    Log* log_;
    std::vector<Header> headers_;
    std::vector<Goods> goods_;
    std::vector<std::pair<int, size_t>> order_;  // (0 header / 1 goods, index) in call order
    std::set<std::string> keys_;
    std::set<std::pair<std::string, std::string>> lines_;
};

}  // namespace ca::download
