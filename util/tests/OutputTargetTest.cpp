// An output never lands on the database or its companion files, whatever path names them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ca/util/OutputTarget.h"

namespace fs = std::filesystem;

namespace {

class OutputTarget : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("ca_output_target_" + std::to_string(std::random_device{}()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "data");
        fs::create_directories(dir_ / "out");
        std::ofstream(dir_ / "data" / "DB.sqlite") << "db";
        std::ofstream(dir_ / "data" / "DB.sqlite-wal") << "wal";
        fs::create_symlink(dir_ / "data" / "DB.sqlite", dir_ / "out" / "link.xls");
        fs::create_symlink(dir_ / "data" / "DB.sqlite-shm", dir_ / "out" / "shm-link.xls");  // not there yet
        fs::create_hard_link(dir_ / "data" / "DB.sqlite", dir_ / "out" / "hard.xls");
        previous_ = fs::current_path();
        fs::current_path(dir_ / "out");
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    std::string at(const char* relative) const { return (dir_ / relative).string(); }

    fs::path dir_, previous_;
};

TEST_F(OutputTarget, RefusesTheDatabaseAndItsCompanionsUnderAnyName) {
    const std::string db = at("data/DB.sqlite");
    for (const std::string& output :
         {db, std::string("../data/DB.sqlite"), at("out/../data/./DB.sqlite"), std::string("link.xls"),
          std::string("hard.xls"), at("data/DB.sqlite-wal"), std::string("../data/DB.sqlite-shm"),
          std::string("shm-link.xls"), at("data/DB.sqlite-journal")}) {
        const std::string problem = ca::databaseOutputProblem(output, db);
        EXPECT_NE(problem.find("“" + output + "”"), std::string::npos) << output << ": " << problem;
    }
    // The database named by a relative path is the same file too.
    EXPECT_FALSE(ca::databaseOutputProblem(at("data/DB.sqlite"), "../data/DB.sqlite").empty());

    for (const std::string& output : {at("out/DB.sqlite"), at("data/DB.sqlite.xls"),
                                      at("data/DB.sqlite-wal2"), std::string("report.xls")})
        EXPECT_EQ(ca::databaseOutputProblem(output, db), "") << output;
    EXPECT_EQ(ca::databaseOutputProblem(db, ""), "");  // no database file (a server)
}

}  // namespace
