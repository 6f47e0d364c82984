#include "ca/download/RecordingCapture.h"

#include "ca/download/LoadDataColumns.h"
#include "ca/download/SubDataColumns.h"

namespace ca::download {

namespace {

std::string show(const FieldValue& v) {
    switch (v.kind) {
        case FieldValue::Kind::Null:
            return "<null>";
        case FieldValue::Kind::Integer:
            return std::to_string(v.integer);
        case FieldValue::Kind::Text:
            break;
    }
    return v.text;
}

HeaderLayout layoutOf(bool exportVariant) {
    return exportVariant ? HeaderLayout::Export : HeaderLayout::Import;
}

}  // namespace

Fields RecordingCapture::Header::fields() const {
    return loadDataFields(layoutOf(exportVariant), header, queryDate, kindText, operatorTexts, goodsCount,
                          inserting);
}

Fields RecordingCapture::Goods::fields() const {
    return subDataFields(goods, header, kindIndex);
}

void RecordingCapture::insertDataLoad(const HeaderTexts& header, const std::string& queryDate,
                                      const std::string& goodsName, const std::string& kindText,
                                      const OperatorTexts& operatorTexts, std::int32_t goodsCount) {
    this->header(false, header, queryDate, goodsName, kindText, operatorTexts, goodsCount);
}

void RecordingCapture::insertDataLoad_OUT(const HeaderTexts& header, const std::string& queryDate,
                                          const std::string& goodsName, const std::string& kindText,
                                          const OperatorTexts& operatorTexts, std::int32_t goodsCount) {
    this->header(true, header, queryDate, goodsName, kindText, operatorTexts, goodsCount);
}

void RecordingCapture::header(bool exportVariant, const HeaderTexts& header, const std::string& queryDate,
                              const std::string& goodsName, const std::string& kindText,
                              const OperatorTexts& operatorTexts, std::int32_t goodsCount) {
    const std::string& key = loadDataKey(layoutOf(exportVariant), header);
    bool inserting = keys_.insert(key).second;
    if (log_) log_->append(headerLogLine(kindText, key, inserting));
    order_.emplace_back(0, headers_.size());
    headers_.push_back(
        {exportVariant, inserting, header, queryDate, goodsName, kindText, operatorTexts, goodsCount});
}

void RecordingCapture::insertSubdata(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) {
    bool inserting = lines_.emplace(subDataPid(header, kindIndex), subDataSequence(goods, kindIndex)).second;
    if (log_) log_->append(goodsLogLine(goods, header, kindIndex, inserting));
    order_.emplace_back(1, goods_.size());
    goods_.push_back({kindIndex, inserting, goods, header});
}

std::vector<std::string> RecordingCapture::describe() const {
    std::vector<std::string> out;
    for (auto [what, i] : order_) {
        if (what == 0) {
            const Header& h = headers_[i];
            out.push_back(std::string(h.exportVariant ? "insertDataLoad_OUT" : "insertDataLoad") +
                          (h.inserting ? " insert" : " update"));
            for (const auto& f : h.fields())
                out.push_back("  " + f.name + "=" + show(f.value));
            out.push_back("  goods=" + h.goodsName);
        } else {
            const Goods& g = goods_[i];
            out.push_back(std::string("insertSubdata ") + (g.inserting ? "insert" : "update"));
            for (const auto& f : g.fields())
                out.push_back("  " + f.name + "=" + show(f.value));
        }
    }
    return out;
}

}  // namespace ca::download
