#pragma once
// A fresh in-memory database (with the built-in fee items) and scripted prompts for the user
// administration tests.
#include <string>

#include "DbFixture.h"
#include "ca/users/UserAdministration.h"
#include "ca/util/Prompts.h"

class UsersFixture : public DbFixture {
protected:
    ca::ScriptedPrompts prompts;
    ca::users::UserAdministration admin{dm, prompts};
    ca::users::UserStore& store = admin.store();

    int count(const std::string& tableAndCondition) {
        return std::stoi(rows("select count(*) from " + tableAndCondition).at(0));
    }
    // Fails the insert or delete of a table's row that matches `when` (a condition on NEW or OLD),
    // as a full disk or a lost network drive would fail it in the middle of an action.
    void failOn(const std::string& event, const std::string& table, const std::string& when) {
        dm.ADOConnection1.execRaw("CREATE TRIGGER fail_" + event + "_" + table + " BEFORE " + event +
                                  " ON \"" + table + "\" WHEN " + when +
                                  " BEGIN SELECT RAISE(ABORT, '磁盘已满'); END");
    }
};
