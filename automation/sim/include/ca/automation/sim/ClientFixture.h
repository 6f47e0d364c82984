#pragma once
// What the stand-in client shows: the query screen's date, kind and rows, and the declarations
// that its open button opens, keyed by the row's unified number (column 1). Loaded from JSON;
// the format is described in automation/sim/README.md. Texts are UTF-8.
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ca/automation/sim/StandInConfig.h"

namespace ca::automation::sim {

class FixtureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct GoodsLineFixture {
    std::map<int, std::string> texts;    // goods-edit position -> text
    std::vector<std::string> listCells;  // goods-list cells; empty: "n" (line number), then text 0
};

struct DeclarationFixture {
    std::map<int, std::string> header;         // header-edit position (form panel 0) -> text
    std::map<int, std::string> operatorTexts;  // operator-edit position (form panel 2) -> text
    std::vector<GoodsLineFixture> goods;
};

struct ClientFixture {
    std::string queryDate;                                   // eight digits, year, month, day
    std::string kind;                                        // the text of kind combo 3
    std::vector<std::vector<std::string>> rows;              // query-list cells, column 0..12
    std::map<std::string, DeclarationFixture> declarations;  // by unified number

    // Optional "client" section: overrides of the stand-in's configuration.
    std::optional<std::string> processName;
    std::optional<Screen> screen;
    std::optional<FormKind> formKind;
    void applyTo(StandInConfig& config) const;
};

// Throws FixtureError with the reason (and the file name) on malformed input.
ClientFixture parseFixture(std::string_view json);
ClientFixture loadFixture(const std::filesystem::path& file);

}  // namespace ca::automation::sim
