#include "ca/db/DatabaseFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ca/db/DbError.h"
#include "ca/db/TADOConnection.h"
#include "ca/util/Folders.h"

namespace fs = std::filesystem;
using ca::db::IsDatabaseFile;
using ca::db::TADOConnection;

namespace {
std::string pathString(const fs::path& p) {
    return ca::pathToUtf8(p);
}
}  // namespace

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

// The connection opened through a chain of links knows the real file, and its -wal beside it (not
// beside the link) is one of its files, before that -wal exists too.
TEST(DatabaseFiles, OpenedThroughALinkTheCompanionsAreBesideTheRealFile) {
    const fs::path dir =
        fs::temp_directory_path() / ("ca_dbfiles_link_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir / "real");
    fs::create_directories(dir / "other");
    { TADOConnection(pathString(dir / "real" / "DB.sqlite")).execRaw("CREATE TABLE t(a)"); }
    fs::create_symlink(dir / "real" / "DB.sqlite", dir / "other" / "link.sqlite");
    fs::create_symlink("link.sqlite", dir / "other" / "chain.sqlite");
    {
        TADOConnection viaLink(pathString(dir / "other" / "chain.sqlite"));
        viaLink.Open();
        EXPECT_EQ(fs::path(viaLink.RealPath()), fs::canonical(dir / "real" / "DB.sqlite"));
        EXPECT_TRUE(IsDatabaseFile(viaLink, dir / "real" / "DB.sqlite-wal"));
        EXPECT_TRUE(IsDatabaseFile(viaLink, dir / "real" / "DB.sqlite-journal"));
        EXPECT_FALSE(IsDatabaseFile(viaLink, dir / "other" / "chain.sqlite-wal"));
    }
    fs::remove_all(dir);
}

// A command that only reads opens the file read-only: it never writes, never makes a missing file;
// a damaged file is told apart from a whole one by the engine's quick check.
TEST(DatabaseFiles, ReadOnlyOpeningAndTheQuickCheck) {
    const fs::path dir =
        fs::temp_directory_path() / ("ca_dbfiles_ro_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::string file = pathString(dir / "DB.sqlite");
    {
        TADOConnection whole(file);
        whole.execRaw("CREATE TABLE t(a TEXT); INSERT INTO t VALUES ('x')");
        EXPECT_EQ(whole.Damage(), std::nullopt);
    }
    {
        TADOConnection reader(file);
        reader.SetOpenMode(ca::db::OpenMode::ReadOnly);
        reader.execRaw("SELECT * FROM t");
        EXPECT_THROW(reader.execRaw("INSERT INTO t VALUES ('y')"), ca::db::DbError);
        TADOConnection missing(pathString(dir / "missing.sqlite"));
        missing.SetOpenMode(ca::db::OpenMode::ReadOnly);
        EXPECT_THROW(missing.Open(), ca::db::DbError);
        EXPECT_FALSE(fs::exists(dir / "missing.sqlite"));
    }
    {
        // Page 2 (the first table's) overwritten from its header on.
        std::fstream bytes(dir / "DB.sqlite", std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekp(4096);
        bytes << std::string(200, '\xff');
    }
    TADOConnection damaged(file);
    const std::optional<std::string> damage = damaged.Damage();
    EXPECT_TRUE(damage.has_value());
    fs::remove_all(dir);
}
