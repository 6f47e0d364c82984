#pragma once
// Where the download driver hands what it read from the customs client. The database implementation
// stores it (header with its two fee rows, goods lines); the recording implementation keeps the calls
// so a run without a database can be compared with what was expected.
#include <cstdint>
#include <string>

#include "ca/download/Texts.h"

namespace ca::download {

class DeclarationCapture {
public:
    virtual ~DeclarationCapture() = default;

    // Header of an import declaration.
    virtual void insertDataLoad(const HeaderTexts& header, const std::string& queryDate,
                                const std::string& goodsName, const std::string& kindText,
                                const OperatorTexts& operatorTexts, std::int32_t goodsCount) = 0;
    // Header of an export declaration (both export kinds).
    virtual void insertDataLoad_OUT(const HeaderTexts& header, const std::string& queryDate,
                                    const std::string& goodsName, const std::string& kindText,
                                    const OperatorTexts& operatorTexts, std::int32_t goodsCount) = 0;
    // One goods line of the declaration whose header texts are given; kind index 0, 1 or 2.
    virtual void insertSubdata(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) = 0;
};

}  // namespace ca::download
