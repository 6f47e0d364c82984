#include "ca/db/DatabaseFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ca/db/TADOConnection.h"

namespace fs = std::filesystem;
using ca::db::IsDatabaseFile;
using ca::db::TADOConnection;

// Every name of the database's files counts, however it is spelled; neighbours do not.
TEST(DatabaseFiles, EveryNameOfTheDatabasesFilesAndNothingElse) {
    const fs::path dir = fs::temp_directory_path() / ("ca_dbfiles_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir / "sub");
    const fs::path old = fs::current_path();
    fs::current_path(dir / "sub");
    {
        TADOConnection open((dir / "DB.sqlite").string());
        open.execRaw("CREATE TABLE t(a)");
        ASSERT_TRUE(fs::exists(dir / "DB.sqlite-wal"));
        fs::create_symlink(dir / "DB.sqlite", dir / "link.sqlite");
        fs::create_directory_symlink(dir, dir / "sub" / "again");
        std::ofstream(dir / "other.xls") << "x";

        const struct {
            fs::path path;
            bool database;
        } cases[] = {
            {dir / "DB.sqlite", true},
            {"../DB.sqlite", true},
            {dir / "sub" / ".." / "DB.sqlite-wal", true},
            {dir / "DB.sqlite-shm", true},
            {dir / "DB.sqlite-journal", true},  // not there now: compared by path
            {dir / "link.sqlite", true},
            {"again/DB.sqlite", true},
            {dir / "other.xls", false},
            {dir / "DB.sqlite.xls", false},
            {dir / "DB.sqlite-wal2", false},
            {dir / "sub" / "DB.sqlite", false},
            {"", false},
        };
        for (const auto& c : cases)
            EXPECT_EQ(IsDatabaseFile(open, c.path), c.database) << c.path;

        // Not yet open: the file it will open in the current directory.
        TADOConnection later("DB.sqlite");
        EXPECT_TRUE(IsDatabaseFile(later, dir / "sub" / "DB.sqlite"));
        EXPECT_FALSE(IsDatabaseFile(later, dir / "DB.sqlite"));
        // No files at all.
        EXPECT_FALSE(IsDatabaseFile(TADOConnection(":memory:"), ":memory:"));
        EXPECT_FALSE(IsDatabaseFile(TADOConnection("host=localhost dbname=x"), dir / "DB.sqlite"));
    }
    fs::current_path(old);
    fs::remove_all(dir);
}
