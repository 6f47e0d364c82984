#pragma once
// The checks before a window writes a file the clerk named in the save dialog.
#include <string>

#include "ca/app/common/AppContext.h"

namespace ca::app {

// True when `path` may be written: never one of the open database's files (that throws, with the
// reason), and an existing file only when the clerk agrees to replace it.
bool confirmOutputFile(AppContext& ctx, const std::string& path);

}  // namespace ca::app
