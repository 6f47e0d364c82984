#pragma once
// How the header texts of a declaration become the values of one LoadData row and of its two fee
// rows. Import and export declaration forms lay out their header fields differently, so every column
// has an import and an export position.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ca/download/FieldValue.h"
#include "ca/download/Texts.h"

namespace ca::download {

enum class HeaderLayout { Import, Export };

// Stored in place of a declaration date the client does not show in valid form.
inline constexpr std::string_view kPlaceholderDate = "1990-09-09";

// The client shows dates as eight characters year, month, day. The rewrite is characters 1-4, "-",
// 5-6, "-", 7-8, each piece as far as the text reaches: an empty text gives "--".
std::string rewriteClientDate(std::string_view text);

// The declaration key TY_No (import position 79, export position 78).
const std::string& loadDataKey(HeaderLayout layout, const HeaderTexts& header);

// The header positions that the LoadData row and its fee rows are taken from, ascending: the only
// header fields a download needs to read.
const std::vector<int>& headerPositionsUsed(HeaderLayout layout);
// The operator positions stored: 0 (phone) and 2 (operator).
const std::vector<int>& operatorPositionsUsed();

// The 48 LoadData values in the column order of the insert statement. `inserting` selects the date
// rule of an export declaration's JK_Date: checked (placeholder when invalid) on insert only.
Fields loadDataFields(HeaderLayout layout, const HeaderTexts& header, const std::string& queryDate,
                      const std::string& kindText, const OperatorTexts& operatorTexts,
                      std::int32_t goodsCount, bool inserting);

// The seven leading values shared by both fee rows: kh, sdate, goods, htno, tdno, bgno, ty_no.
Fields feeKeyFields(HeaderLayout layout, const HeaderTexts& header, const std::string& queryDate,
                    const std::string& goodsName);

// The 24 built-in fee columns of T_fee and T_fee1, in their order.
const std::array<std::string_view, 24>& builtInFeeColumns();

// The log line written before the header insert ("（录入）") or update ("（修改）").
std::string headerLogLine(std::string_view kindText, std::string_view key, bool inserting);

}  // namespace ca::download
