#include "ca/db/testing/TestDatabase.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace ca::db::testing {

std::string testServer() {
    const char* v = std::getenv("CA_TEST_PG");
    return v ? v : "";
}

void runOnTestServer(const std::string& sql) {
    PGconn* conn = PQconnectdb(testServer().c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string why = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("test server: " + why);
    }
    PGresult* r = PQexec(conn, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    std::string why = ok ? "" : PQerrorMessage(conn);
    PQclear(r);
    PQfinish(conn);
    if (!ok) throw std::runtime_error("test server: " + why + " (" + sql + ")");
}

TestDatabase::TestDatabase(EngineKind kind) : kind_(kind) {
    if (kind == EngineKind::Sqlite) {
        target_ = ":memory:";
        return;
    }
    const std::string server = testServer();
    if (server.empty()) {
        available_ = false;
        target_ = ":memory:";
        return;
    }
    static std::atomic<int> counter{0};
    schema_ = "ca_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_" +
              std::to_string(std::random_device{}() % 100000);
    runOnTestServer("CREATE SCHEMA " + schema_);
    // The tables, the date domain and the functions go to the test's own schema; citext is the
    // database's, in public.
    target_ = server + " options='-csearch_path=" + schema_ + ",public'";
}

TestDatabase::~TestDatabase() {
    if (schema_.empty()) return;
    try {
        runOnTestServer("SET client_min_messages = warning; DROP SCHEMA " + schema_ + " CASCADE");
    } catch (const std::exception&) {
        // A schema left behind goes with the throw-away server.
    }
}

std::string TestDatabase::skipReason() const {
    return "PostgreSQL: no test server (set CA_TEST_PG to a libpq connection string; scripts/test starts "
           "one)";
}

}  // namespace ca::db::testing
