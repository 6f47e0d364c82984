#pragma once
// The preview of an entry: every write it would make, one line each, without any client.
#include <string>
#include <vector>

#include "ca/entry/CellSource.h"
#include "ca/entry/WriteExecutor.h"
#include "ca/entry/WriteListBuilder.h"

namespace ca::entry {

// The first field of the line after the writes, which gives the sum of their pauses.
inline constexpr const char* kPauseTotalLabel = "停顿合计毫秒";

// One line per write, "order<TAB>chain<TAB>position<TAB>method<TAB>pause<TAB>text": order counted
// from 1, pause the milliseconds the write's method sleeps (pauseMs), text escaped with
// escapeTabText so that every write stays on one line. Then one line "停顿合计毫秒<TAB>N": the pauses
// the whole typing mandates, which a measurement of an entry sets its time against.
std::vector<std::string> previewLines(DeclarationKind kind, CellSource& sheet,
                                      const SettingReader& readSetting);

}  // namespace ca::entry
