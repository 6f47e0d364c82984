#pragma once
// A fresh database of the test's engine (with the built-in fee items) and scripted prompts for the
// user administration tests.
#include <string>

#include "ca/db/testing/DbFixture.h"
#include "ca/db/testing/RefuseWrites.h"
#include "ca/users/UserAdministration.h"
#include "ca/util/Prompts.h"

class UsersFixture : public EngineDbFixture {
protected:
    ca::ScriptedPrompts prompts;
    ca::users::UserAdministration admin{dm, prompts};
    ca::users::UserStore& store = admin.store();

    int count(const std::string& tableAndCondition) {
        return std::stoi(rows("select count(*) from " + tableAndCondition).at(0));
    }
    // Fails the insert, update or delete of a table's row that matches `when` (a condition on NEW or
    // OLD), as a full disk or a lost network drive would fail it in the middle of an action.
    void failOn(const std::string& event, const std::string& table, const std::string& when) {
        ca::db::testing::refuseWrites(dm, event, table, when);
    }
};
