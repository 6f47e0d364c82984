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

// The database named through a link (or a chain of them): its companions are beside the real file,
// where SQLite keeps them, whether they exist yet or not; beside the link there is nothing to spare.
TEST_F(OutputTarget, CompanionsAreBesideTheRealFile) {
    fs::create_directories(dir_ / "other");
    fs::create_symlink(dir_ / "data" / "DB.sqlite", dir_ / "other" / "link.sqlite");
    fs::create_symlink("link.sqlite", dir_ / "other" / "chain.sqlite");
    for (const char* db : {"other/link.sqlite", "other/chain.sqlite", "other/../data/DB.sqlite"}) {
        for (const char* output : {"data/DB.sqlite-wal", "data/DB.sqlite-shm", "data/DB.sqlite-journal",
                                   "other/../data/DB.sqlite-shm", "data/DB.sqlite"})
            EXPECT_FALSE(ca::databaseOutputProblem(at(output), at(db)).empty()) << db << " " << output;
        EXPECT_EQ(ca::databaseOutputProblem(at("other/link.sqlite-wal"), at(db)), "") << db;
        EXPECT_EQ(ca::databaseFileNamed(at("data/DB.sqlite-shm"), ca::realFilePath(at(db))), "-shm");
    }
}

// Any SQLite database is spared, and the companions of one, though it is not the one in use.
TEST_F(OutputTarget, AnotherDatabaseIsSparedToo) {
    std::ofstream(dir_ / "out" / "other.sqlite", std::ios::binary)
        << std::string("SQLite format 3\0", 16) << "rest";
    EXPECT_NE(ca::databaseOutputProblem("other.sqlite", "").find("数据库文件"), std::string::npos);
    EXPECT_NE(ca::databaseOutputProblem("other.sqlite-wal", at("data/DB.sqlite")).find("附属文件（-wal）"),
              std::string::npos);
    EXPECT_EQ(ca::databaseOfCompanion("other.sqlite-journal"),
              fs::weakly_canonical(dir_ / "out" / "other.sqlite"));
    EXPECT_EQ(ca::databaseOfCompanion("report.xls-wal"), std::nullopt);
}

}  // namespace
