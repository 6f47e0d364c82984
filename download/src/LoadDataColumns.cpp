#include "ca/download/LoadDataColumns.h"

#include <cstdio>
#include <optional>
#include <set>
#include <stdexcept>

#include "ca/util/Convert.h"

namespace ca::download {

namespace {

// A text column fed by one header position: import position, export position.
struct TextColumn {
    const char* name;
    int importPos;
    int exportPos;
};

// The LoadData columns in insert order. JK_Date, SB_Date and the five values that do not come from
// the header texts are marked with a negative position and filled by loadDataFields itself.
constexpr TextColumn kColumns[] = {
    {"TY_No", 79, 78},     {"YLR_No", 77, 76},    {"HG_No", 75, 74},     {"JKKA", 73, 72},
    {"BA_No", 71, 70},     {"HT_No", 69, 68},     {"JK_Date", 67, 66},   {"SB_Date", 65, 64},
    {"JYDW_No", 3, 2},     {"JYDW_Name", 63, 62}, {"JYDW_XZ", 62, 61},   {"SHDW_No", 58, 57},
    {"SHDW_Name", 57, 56}, {"SBDW_No", 53, 52},   {"SBDW_Name", 52, 51}, {"YSFS", 60, 59},
    {"YSGJ", 55, 54},      {"HC_No", 50, 49},     {"TiYun_No", 48, 47},  {"JGFS", 46, 45},
    {"ZMXZ", 44, 43},      {"ZSBL", 81, 80},      {"NSDW", 6, 5},        {"XK_No", 81, 81},
    {"QYG", 40, 39},       {"ZHG", 36, 35},       {"JNMDD", 38, 37},     {"PZ_No", 34, 33},
    {"CJFS", 32, 31},      {"YunFee", 25, 24},    {"yBiZhong", 24, 23},  {"BaoFee", 21, 20},
    {"bBiZhong", 20, 19},  {"ZaFee", 17, 16},     {"zBiZhong", 16, 15},  {"JianShu", 30, 29},
    {"BZZL", 28, 27},      {"MaoZhong", 14, 13},  {"jingZhong", 12, 11}, {"JZX_No", 10, 9},
    {"SFDZ_No", 8, 7},     {"BGDType", 1, 0},     {"Remark", 4, 3},
};

int position(const TextColumn& c, HeaderLayout layout) {
    return layout == HeaderLayout::Import ? c.importPos : c.exportPos;
}

const std::string& textAt(const HeaderTexts& header, HeaderLayout layout, const char* name) {
    for (const auto& c : kColumns)
        if (std::string_view(c.name) == name) return header[static_cast<size_t>(position(c, layout))];
    throw std::logic_error("未知的 LoadData 字段");
}

// A date the database is sure to read the same way: yyyy-mm-dd with leading zeros.
std::optional<std::string> canonicalDate(std::string_view text) {
    auto d = parseDate(text);
    if (!d) return std::nullopt;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d->year, d->month, d->day);
    return std::string(buf);
}

// Rewritten date with the date check: the placeholder when it is no date.
FieldValue checkedDate(std::string_view clientText) {
    auto d = canonicalDate(rewriteClientDate(clientText));
    return FieldValue::ofText(d ? *d : std::string(kPlaceholderDate));
}

// Rewritten date without the date check. A text that is no date (the "--" of an empty field) would
// make the database refuse the whole row and end the download, so it is stored as Null instead.
FieldValue uncheckedDate(std::string_view clientText) {
    auto d = canonicalDate(rewriteClientDate(clientText));
    return d ? FieldValue::ofText(*d) : FieldValue::null();
}

}  // namespace

std::string rewriteClientDate(std::string_view t) {
    auto piece = [&](size_t from, size_t len) {
        return from < t.size() ? std::string(t.substr(from, len)) : std::string();
    };
    return piece(0, 4) + "-" + piece(4, 2) + "-" + piece(6, 2);
}

const std::string& loadDataKey(HeaderLayout layout, const HeaderTexts& header) {
    return header[layout == HeaderLayout::Import ? 79 : 78];
}

const std::vector<int>& headerPositionsUsed(HeaderLayout layout) {
    static const auto collect = [](HeaderLayout l) {
        std::set<int> positions;
        for (const auto& c : kColumns)
            positions.insert(position(c, l));
        return std::vector<int>(positions.begin(), positions.end());
    };
    static const std::vector<int> import = collect(HeaderLayout::Import);
    static const std::vector<int> exportLayout = collect(HeaderLayout::Export);
    return layout == HeaderLayout::Import ? import : exportLayout;
}

const std::vector<int>& operatorPositionsUsed() {
    static const std::vector<int> positions = {0, 2};
    return positions;
}

Fields loadDataFields(HeaderLayout layout, const HeaderTexts& header, const std::string& queryDate,
                      const std::string& kindText, const OperatorTexts& operatorTexts,
                      std::int32_t goodsCount, bool inserting) {
    Fields out;
    out.reserve(48);
    for (const auto& c : kColumns) {
        const std::string& text = header[static_cast<size_t>(position(c, layout))];
        std::string_view name = c.name;
        FieldValue v;
        if (name == "JK_Date")
            v = layout == HeaderLayout::Export && inserting ? checkedDate(text) : uncheckedDate(text);
        else if (name == "SB_Date")
            v = checkedDate(text);
        else
            v = FieldValue::ofText(text);
        out.push_back({c.name, std::move(v)});
    }
    auto query = canonicalDate(queryDate);
    out.push_back({"indate", FieldValue::ofText(query ? *query : queryDate)});
    out.push_back({"inouttype", FieldValue::ofText(kindText)});
    out.push_back({"phone", FieldValue::ofText(operatorTexts[0])});
    out.push_back({"opertor", FieldValue::ofText(operatorTexts[2])});
    out.push_back({"SPXS", FieldValue::ofInteger(goodsCount)});
    return out;
}

Fields feeKeyFields(HeaderLayout layout, const HeaderTexts& header, const std::string& queryDate,
                    const std::string& goodsName) {
    auto query = canonicalDate(queryDate);
    return {
        {"kh", FieldValue::ofText(textAt(header, layout, "JYDW_Name"))},
        {"sdate", FieldValue::ofText(query ? *query : queryDate)},
        {"goods", FieldValue::ofText(goodsName)},
        {"htno", FieldValue::ofText(textAt(header, layout, "HT_No"))},
        {"tdno", FieldValue::ofText(textAt(header, layout, "TiYun_No"))},
        {"bgno", FieldValue::ofText(textAt(header, layout, "HG_No"))},
        {"ty_no", FieldValue::ofText(textAt(header, layout, "TY_No"))},
    };
}

const std::array<std::string_view, 24>& builtInFeeColumns() {
    static constexpr std::array<std::string_view, 24> kFees = {
        "bgf",  "bjf", "ddf", "bjd", "cysjf", "jhd", "yhsxf", "bdf", "sjf", "xzf", "hdf", "dlf",
        "THCf", "ygf", "hgf", "zgf", "xgf",   "dgf", "ftf",   "gbf", "cgf", "mtf", "yf",  "zbj"};
    return kFees;
}

std::string headerLogLine(std::string_view kindText, std::string_view key, bool inserting) {
    return std::string(kindText) + ":" + std::string(key) + (inserting ? "（录入）" : "（修改）");
}

}  // namespace ca::download
