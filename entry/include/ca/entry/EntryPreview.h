#pragma once
// The preview of an entry: every write it would make, one line each, without any client.
#include <string>
#include <vector>

#include "ca/entry/CellSource.h"
#include "ca/entry/WriteExecutor.h"
#include "ca/entry/WriteListBuilder.h"

namespace ca::entry {

// "order<TAB>chain<TAB>position<TAB>method<TAB>text", order counted from 1, text escaped with
// escapeTabText so that every write stays on one line.
std::vector<std::string> previewLines(DeclarationKind kind, CellSource& sheet,
                                      const SettingReader& readSetting);

}  // namespace ca::entry
