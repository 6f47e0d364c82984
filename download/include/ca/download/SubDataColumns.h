#pragma once
// How the texts of one goods line become the values of one subData row. The import layout (kind
// index 0) and the export layout (kind indexes 1 and 2) place the goods fields differently; the
// export layout stores two more columns, GJF and SCCJ.
#include <string>
#include <string_view>
#include <vector>

#include "ca/download/FieldValue.h"
#include "ca/download/Texts.h"

namespace ca::download {

// The owning declaration's key: header position 79 (kind index 0) or 78.
const std::string& subDataPid(const HeaderTexts& header, int kindIndex);
// The goods sequence number: goods position 40 (kind index 0) or 42.
const std::string& subDataSequence(const GoodsTexts& goods, int kindIndex);

// The goods positions that a subData row and its log line are taken from, ascending (the sequence
// and the name among them): the only goods fields a download needs to read.
const std::vector<int>& goodsPositionsUsed(int kindIndex);

// The 21 (import) or 23 (export) subData values in the column order of the insert statement.
// CJZJ is the text when it reads as a number, otherwise the number 0.
Fields subDataFields(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex);

// The log line written before a goods line is stored: key, label, sequence, " 名称:", goods name.
// The label is " 编号:" for a new import line and " 子数据:" otherwise.
std::string goodsLogLine(const GoodsTexts& goods, const HeaderTexts& header, int kindIndex, bool inserting);

}  // namespace ca::download
