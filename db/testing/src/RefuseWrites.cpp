#include "ca/db/testing/RefuseWrites.h"

#include "SqliteEngine.h"

namespace ca::db::testing {

namespace {

// Triggers are written differently on the two engines; this helper belongs to the database layer,
// which knows its engines.
bool onFile(TADOConnection& c) {
    return dynamic_cast<SqliteEngine*>(&c.engine()) != nullptr;
}

}  // namespace

void refuseWrites(TDM& dm, const std::string& event, const std::string& table, const std::string& when) {
    TADOConnection& c = dm.ADOConnection1;
    const std::string name = "fail_" + event + "_" + table;
    if (onFile(c)) {
        c.execRaw("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + c.dialect().quoteName(table) +
                  " WHEN " + when + " BEGIN SELECT RAISE(ABORT, '磁盘已满'); END");
    } else {
        c.execRaw("CREATE FUNCTION " + name + "() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN IF " + when +
                  " THEN RAISE EXCEPTION '磁盘已满'; END IF; RETURN COALESCE(NEW, OLD); END$$");
        c.execRaw("CREATE TRIGGER " + name + " BEFORE " + event + " ON " + c.dialect().quoteName(table) +
                  " FOR EACH ROW EXECUTE FUNCTION " + name + "()");
    }
}

void allowWrites(TDM& dm, const std::string& event, const std::string& table) {
    TADOConnection& c = dm.ADOConnection1;
    const std::string name = "fail_" + event + "_" + table;
    if (onFile(c)) {
        c.execRaw("DROP TRIGGER " + name);
    } else {
        c.execRaw("DROP TRIGGER " + name + " ON " + c.dialect().quoteName(table));
        c.execRaw("DROP FUNCTION " + name + "()");
    }
}

}  // namespace ca::db::testing
