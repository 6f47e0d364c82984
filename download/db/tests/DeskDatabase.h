#pragma once
// A fresh database of the test's engine that several desks (connections) open at once: a SQLite
// file in a folder of its own, or a schema of its own on the test server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ca/db/TDM.h"
#include "ca/db/testing/TestDatabase.h"

namespace ca::download::testing {

using db::testing::EngineKind;

class DeskDatabase {
public:
    explicit DeskDatabase(EngineKind kind) : server_(kind) {
        if (kind == EngineKind::Postgres) {
            target_ = server_.target();
            return;
        }
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : test)
            if (c == '/') c = '_';
        dir_ =
            std::filesystem::temp_directory_path() / ("ca_desks_" + std::to_string(::getpid()) + "_" + test);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        target_ = (dir_ / "DB.sqlite").string();
    }
    ~DeskDatabase() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    DeskDatabase(const DeskDatabase&) = delete;
    DeskDatabase& operator=(const DeskDatabase&) = delete;

    bool available() const { return server_.available(); }
    std::string skipReason() const { return server_.skipReason(); }
    bool onServer() const { return server_.kind() == EngineKind::Postgres; }
    // A new desk's connection to the database.
    std::unique_ptr<db::TDM> desk() const { return std::make_unique<db::TDM>(target_); }
    // A folder for the test's other files (SQLite only).
    const std::filesystem::path& folder() const { return dir_; }

private:
    db::testing::TestDatabase server_;  // the server's schema; unused for SQLite
    std::filesystem::path dir_;
    std::string target_;
};

}  // namespace ca::download::testing
