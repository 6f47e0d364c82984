#include "ca/db/testing/TestDatabase.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <thread>

namespace ca::db::testing {

std::string testServer() {
    const char* v = std::getenv("CA_TEST_PG");
    return v ? v : "";
}

std::string queryOnTestServer(const std::string& sql) {
    PGconn* conn = PQconnectdb(testServer().c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string why = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("test server: " + why);
    }
    PGresult* r = PQexec(conn, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    std::string why = ok ? "" : PQerrorMessage(conn);
    std::string value =
        ok && PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "";
    PQclear(r);
    PQfinish(conn);
    if (!ok) throw std::runtime_error("test server: " + why + " (" + sql + ")");
    return value;
}

void runOnTestServer(const std::string& sql) {
    queryOnTestServer(sql);
}

bool terminateWhenWaiting(const std::string& application, const std::string& statement, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    auto quoted = [](const std::string& s) {
        std::string q = "'";
        for (char c : s)
            q += c == '\'' ? std::string("''") : std::string(1, c);
        return q + "'";
    };
    const std::string sql =
        "SELECT count(pg_terminate_backend(pid, 10000)) FROM pg_stat_activity WHERE "
        "application_name = " +
        quoted(application) + " AND wait_event_type = 'Lock' AND left(query, " +
        std::to_string(statement.size()) + ") = " + quoted(statement);
    while (std::chrono::steady_clock::now() < until) {
        if (queryOnTestServer(sql) != "0") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
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
