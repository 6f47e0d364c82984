#pragma once
// Failures in the middle of an action, for tests on both engines: every insert, update or delete of
// a table whose row meets a condition is refused by the engine with "磁盘已满", as a full disk would
// refuse it. The condition names the new row's columns as NEW.column and the deleted row's as
// OLD.column (the same text on both engines, e.g. "NEW.L_pers_id = 2"; "TRUE" for every row).
#include <string>

#include "ca/db/TDM.h"

namespace ca::db::testing {

// event: "INSERT", "UPDATE" or "DELETE".
inline void refuseWrites(TDM& dm, const std::string& event, const std::string& table,
                         const std::string& when) {
    TADOConnection& c = dm.ADOConnection1;
    const std::string name = "fail_" + event + "_" + table;
    if (c.IsServer()) {
        c.execRaw("CREATE FUNCTION " + name + "() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN IF " + when +
                  " THEN RAISE EXCEPTION '磁盘已满'; END IF; RETURN COALESCE(NEW, OLD); END$$");
        c.execRaw("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + c.dialect().quoteName(table) +
                  " FOR EACH ROW EXECUTE FUNCTION " + name + "()");
    } else {
        c.execRaw("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + c.dialect().quoteName(table) +
                  " WHEN " + when + " BEGIN SELECT RAISE(ABORT, '磁盘已满'); END");
    }
}

// Ends what refuseWrites began.
inline void allowWrites(TDM& dm, const std::string& event, const std::string& table) {
    TADOConnection& c = dm.ADOConnection1;
    const std::string name = "fail_" + event + "_" + table;
    if (c.IsServer()) {
        c.execRaw("DROP TRIGGER " + name + " ON " + c.dialect().quoteName(table));
        c.execRaw("DROP FUNCTION " + name + "()");
    } else {
        c.execRaw("DROP TRIGGER " + name);
    }
}

}  // namespace ca::db::testing
