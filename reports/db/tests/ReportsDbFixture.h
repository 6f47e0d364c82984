#pragma once
// The report tests' database, fresh for every test, on each engine: SQLite in memory, or a schema
// of its own on the test server (skipped without one).
#include <gtest/gtest.h>

#include "ReportsFixture.h"
#include "ca/db/testing/TestDatabase.h"

namespace ca::reports::testing {

class ReportsFixture : public ::testing::TestWithParam<db::testing::EngineKind> {
protected:
    void SetUp() override {
        if (!database.available()) GTEST_SKIP() << database.skipReason();
        addSample();
    }
    void addSample() { testing::addSample(dm); }

    db::testing::TestDatabase database{GetParam()};
    db::TDM dm{database.target()};
};

}  // namespace ca::reports::testing
