#pragma once
// The data module: owner of the program's one database connection ADOConnection1, which opens
// with the first statement on "DB.sqlite" in the current directory of that moment.
#include <string>

#include "ca/db/TADOConnection.h"

namespace ca::db {

class TDM {
public:
    TDM() = default;
    // A data module on another file or ":memory:" (tests, the command line tool).
    explicit TDM(std::string fileName) : ADOConnection1(std::move(fileName)) {}

    TADOConnection ADOConnection1;
};

// The program's data module, created on first use and kept until exit.
TDM& DM();

// Empties the declaration data: every row of T_fee, T_fee1, LoadData and subData, in this order,
// each statement on its own. A failing statement ends it; those before stay done.
void DeleteAllDeclarations(TDM& dm);

}  // namespace ca::db
