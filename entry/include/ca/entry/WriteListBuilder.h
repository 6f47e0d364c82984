#pragma once
// Turns a declaration sheet into the ordered list of writes that an import or an export entry
// makes: the header table with its conditions, list sections A and B, the totals row, the charge
// groups and every goods line.
#include <string>
#include <vector>

#include "ca/entry/CellSource.h"
#include "ca/entry/Write.h"

namespace ca::entry {

enum class DeclarationKind { Import, Export };

// Settings typed into the client, read from the settings file at the moment they are typed.
inline constexpr const char* kDeclaringUnitKey = "申报单位";
inline constexpr const char* kDeclarationTypeKey = "报关单类型";
inline constexpr const char* kGoodsDutyModeKey = "商品征免";

// Writes whose text comes from a setting carry the key in settingKey and an empty text.
std::vector<Write> buildWrites(DeclarationKind kind, CellSource& sheet);

// The totals row: the first row at or below row 7 whose column 1 is empty.
int totalsRow(CellSource& sheet);

}  // namespace ca::entry
