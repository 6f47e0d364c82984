#pragma once
// The data module: owner of the program's one database connection ADOConnection1, which opens
// with the first statement on "DB.sqlite" in the current directory of that moment, or on the
// database server the settings name.
#include <string>

#include "ca/db/TADOConnection.h"
#include "ca/util/Settings.h"

namespace ca {
class IniFile;
}

namespace ca::db {

class TDM {
public:
    TDM() = default;
    // A data module on another file, ":memory:" or a server (tests, the command line tool).
    explicit TDM(std::string fileName) : ADOConnection1(std::move(fileName)) {}

    TADOConnection ADOConnection1;
};

// The program's data module, created on first use on `target` and kept until exit; later calls
// return it whatever they pass.
TDM& DM(const std::string& target = settings::kDatabaseFileName);

// The database the settings name: the connection text of 数据库服务器 when it is set (a bare
// host name counts as "host=<name>"), else "DB.sqlite".
std::string DatabaseTarget(const IniFile& settings);
// The same for the value of 数据库服务器 itself (blanks around it do not count).
std::string DatabaseTargetOf(std::string serverSetting);

}  // namespace ca::db
