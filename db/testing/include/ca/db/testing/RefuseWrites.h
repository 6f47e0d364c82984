#pragma once
// Failures in the middle of an action, for tests on both engines: every insert or update of a
// table whose new row meets a condition is refused by the engine with "磁盘已满", as a full disk
// would refuse it. The condition names the new row's columns as NEW.column (the same text on both
// engines, e.g. "NEW.L_pers_id = 2").
#include <string>

#include "ca/db/TDM.h"

namespace ca::db::testing {

// event: "INSERT" or "UPDATE".
void refuseWrites(TDM& dm, const std::string& event, const std::string& table, const std::string& when);

// Ends what refuseWrites began.
void allowWrites(TDM& dm, const std::string& event, const std::string& table);

}  // namespace ca::db::testing
