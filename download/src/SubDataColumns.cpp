#include "ca/download/SubDataColumns.h"

#include <set>

#include "ca/util/Validators.h"

namespace ca::download {

namespace {

struct GoodsColumn {
    const char* name;
    int importPos;  // -1: not stored in the import layout
    int exportPos;
};

// The subData columns after Pid, in insert order.
constexpr GoodsColumn kColumns[] = {
    {"SP_No", 40, 42},   {"BA_No", 38, 40}, {"SPBH_No", 0, 0}, {"FJBH_No", 35, 37}, {"SPMC_Name", 1, 1},
    {"GGXH", 32, 34},    {"CJ_No", 30, 32}, {"CJDW", 28, 30},  {"CJDJ", 26, 28},    {"CJZJ", 24, 26},
    {"BiZhong", 22, 24}, {"FD_No", 20, 22}, {"FDDW", 18, 20},  {"BBH_No", 16, 18},  {"HH_No", 14, 16},
    {"YT", 2, 2},        {"DESL", 11, 12},  {"DEDW", 9, 10},   {"YCD", 7, 6},       {"ZM", 4, 2},
    {"GJF", -1, 8},      {"SCCJ", -1, 14},
};

}  // namespace

const std::string& subDataPid(const HeaderTexts& header, int kindIndex) {
    return header[kindIndex == 0 ? 79 : 78];
}

const std::string& subDataSequence(const GoodsTexts& goods, int kindIndex) {
    return goods[kindIndex == 0 ? 40 : 42];
}

const std::vector<int>& goodsPositionsUsed(int kindIndex) {
    static const auto collect = [](bool import) {
        std::set<int> positions;
        for (const auto& c : kColumns) {
            const int pos = import ? c.importPos : c.exportPos;
            if (pos >= 0) positions.insert(pos);
        }
        return std::vector<int>(positions.begin(), positions.end());
    };
    static const std::vector<int> import = collect(true);
    static const std::vector<int> exportLayout = collect(false);
    return kindIndex == 0 ? import : exportLayout;
}

Fields subDataFields(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex) {
    Fields out;
    out.reserve(23);
    out.push_back({"Pid", FieldValue::ofText(subDataPid(header, kindIndex))});
    for (const auto& c : kColumns) {
        int pos = kindIndex == 0 ? c.importPos : c.exportPos;
        if (pos < 0) continue;
        const std::string& text = goods[static_cast<size_t>(pos)];
        if (std::string_view(c.name) == "CJZJ" && !IsFloat(text))
            out.push_back({c.name, FieldValue::ofInteger(0)});
        else
            out.push_back({c.name, FieldValue::ofText(text)});
    }
    return out;
}

std::string goodsLogLine(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex, bool inserting) {
    const char* label = kindIndex == 0 && inserting ? " 编号:" : " 子数据:";
    return subDataPid(header, kindIndex) + label + subDataSequence(goods, kindIndex) + " 名称:" + goods[1];
}

}  // namespace ca::download
