#pragma once
// Databases for tests that run against both engines: a test suite takes the engine as its
// parameter and gets a fresh, empty database of it. SQLite is an in-memory database; PostgreSQL
// is a schema of its own on the test server named by the environment variable CA_TEST_PG (a
// libpq connection string; scripts/test starts a throw-away server and sets it), dropped again
// when the test ends. Without CA_TEST_PG the PostgreSQL cases are skipped with a message.
#include <gtest/gtest.h>

#include <string>

namespace ca::db::testing {

enum class EngineKind { Sqlite, Postgres };

class TestDatabase {
public:
    explicit TestDatabase(EngineKind kind);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // False for PostgreSQL without a test server; skip the test then (skipReason).
    bool available() const { return available_; }
    std::string skipReason() const;
    // What a TDM or TADOConnection takes to open this database; another desk opens the same
    // database with the same text.
    const std::string& target() const { return target_; }
    EngineKind kind() const { return kind_; }

private:
    EngineKind kind_;
    bool available_ = true;
    std::string target_;
    std::string schema_;  // PostgreSQL: the schema dropped at the end
};

// The connection string of the test server, empty when there is none.
std::string testServer();

// Runs administration text on the test server outside any test database (creating or dropping
// schemas, ending another connection). Throws std::runtime_error with the server's message.
void runOnTestServer(const std::string& sql);
// The same for a query: the first value of its first row, empty when it gives no row.
std::string queryOnTestServer(const std::string& sql);

// Watches the test server for a session of `application` (its application_name) that waits for a
// lock in a statement beginning with `statement`, and ends that session (as a server restart or an
// administrator does). False when none waited within `seconds`.
bool terminateWhenWaiting(const std::string& application, const std::string& statement, double seconds = 20);

inline auto AllEngines() {
    return ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres);
}

inline std::string EngineName(const ::testing::TestParamInfo<EngineKind>& info) {
    return info.param == EngineKind::Sqlite ? "Sqlite" : "Postgres";
}

}  // namespace ca::db::testing
