#pragma once
// Failures in the middle of an action, for tests on both engines: every insert, update or delete of
// a table whose row meets a condition is refused by the engine with "磁盘已满", as a full disk would
// refuse it. The condition names the new row's columns as NEW.column and the deleted row's as
// OLD.column (the same text on both engines, e.g. "NEW.L_pers_id = 2"; "TRUE" for every row).
#include <string>

#include "ca/db/TDM.h"

namespace ca::db::testing {

// event: "INSERT", "UPDATE" or "DELETE".
void refuseWrites(TDM& dm, const std::string& event, const std::string& table, const std::string& when);

// Ends what refuseWrites began.
void allowWrites(TDM& dm, const std::string& event, const std::string& table);

}  // namespace ca::db::testing
