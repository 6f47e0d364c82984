#pragma once
// One look at a database server, for the administrator who sets up a desk: does the setting reach
// the server, and is the database there one this program can use? Nothing on the server changes.
#include <string>

namespace ca::db {

struct ServerProbe {
    bool ok = false;   // the program can use the database (ours, empty, or an older format of ours)
    std::string text;  // the server's version and what the database is, or the reason it failed;
                       // never the password
};

// Connects to the server that `connectionString` names (libpq's form, as ServerConnectionString
// gives it), waiting at most `timeoutSeconds` for it to answer unless the text sets its own
// connect_timeout.
ServerProbe ProbeServer(const std::string& connectionString, int timeoutSeconds);

}  // namespace ca::db
