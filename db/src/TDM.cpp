#include "ca/db/TDM.h"

#include "ca/db/DatabaseTarget.h"
#include "ca/db/TADOQuery.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

namespace ca::db {

TDM& DM(const std::string& target) {
    static TDM instance(target);
    return instance;
}

std::string DatabaseTarget(const IniFile& settings) {
    return DatabaseTargetOf(settings.ReadString(settings::kSection, settings::kDatabaseServer, ""));
}

std::string DatabaseTargetOf(std::string server) {
    const size_t b = server.find_first_not_of(" \t"), e = server.find_last_not_of(" \t");
    server = b == std::string::npos ? std::string() : server.substr(b, e - b + 1);
    if (server.empty()) return settings::kDatabaseFileName;
    // A text no engine can use stays as it is, and the connection refuses it as the command line
    // refuses it.
    if (!ConnectionTextRefusal(server).empty()) return server;
    // Any value names a server: a plain host name must not become a file of that name.
    if (!IsServerTarget(server)) return "host=" + server;
    return ServerConnectionString(server);
}

}  // namespace ca::db
