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

// Writes whose text comes from a setting ("申报单位", "报关单类型", "商品征免") carry the key in
// settingKey and an empty text; the setting is read when the write is typed.
std::vector<Write> buildWrites(DeclarationKind kind, CellSource& sheet);

// The totals row: the first row at or below row 7 whose column 1 is empty.
int totalsRow(CellSource& sheet);

}  // namespace ca::entry
