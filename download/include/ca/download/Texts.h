#pragma once
// The texts a download reads from the customs client, position by position, and the three
// declaration kinds with their kind index.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ca::download {

// Position n holds the text of position n of its control chain; a position the chain does not reach
// holds the empty text.
using HeaderTexts = std::array<std::string, 82>;    // header fields of the declaration form
using OperatorTexts = std::array<std::string, 82>;  // operator fields: 0 phone, 2 operator
using GoodsTexts = std::array<std::string, 101>;    // fields of one goods line

inline constexpr std::string_view kImportKind = "进口报关单";
inline constexpr std::string_view kExportKind = "出口报关单";
inline constexpr std::string_view kTransitKind = "出口转关运输提前报关单";

// 0 import, 1 export, 2 export with early transit declaration; nullopt for any other text.
std::optional<int> kindIndexOf(std::string_view kindText);
// The kind text of a kind index (0, 1 or 2).
std::string_view kindTextOf(int kindIndex);

}  // namespace ca::download
