#include "ca/util/TemporaryFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ca {
namespace {

namespace fs = std::filesystem;

fs::path freshDir(const char* name) {
    const fs::path dir = fs::temp_directory_path() / "ca_temporary_file_test" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(TemporaryFile, RemovedUnlessReleased) {
    const fs::path dir = freshDir("scope");
    try {
        TemporaryFile tmp(dir / "a.tmp1");
        std::ofstream(tmp.path()) << "half";
        throw std::runtime_error("write failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(fs::exists(dir / "a.tmp1"));
    {
        TemporaryFile tmp(dir / "b.tmp1");
        std::ofstream(tmp.path()) << "whole";
        fs::rename(tmp.path(), dir / "b");
        std::ofstream(tmp.path()) << "someone else's file of the same name";
        tmp.release();
    }
    EXPECT_TRUE(fs::exists(dir / "b"));
    EXPECT_TRUE(fs::exists(dir / "b.tmp1"));
}

#ifndef _WIN32
// A child process writes a temporary file and is interrupted while it exists: the file is gone and the
// child ended by the signal; a signal the child was started with ignored stays ignored.
TEST(TemporaryFile, InterruptionRemovesTheFileAndEndsTheProgram) {
    const fs::path dir = freshDir("signal");
    const struct {
        int sig;
        bool ignoredAtStart;
    } cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGQUIT, false}, {SIGINT, true}};
    for (const auto& c : cases) {
        const fs::path path = dir / ("out.xls.tmp" + std::to_string(c.sig) + (c.ignoredAtStart ? "i" : ""));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (c.ignoredAtStart) std::signal(c.sig, SIG_IGN);
            removeTemporaryFilesOnInterrupt();
            TemporaryFile other(dir / "other.tmp");  // listed too, never created
            TemporaryFile tmp(path);
            std::ofstream(tmp.path()) << "half written";
            std::raise(c.sig);
            tmp.release();  // only reached when the signal is ignored: the file stays
            _exit(7);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        if (c.ignoredAtStart) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7) << status;
            EXPECT_TRUE(fs::exists(path));
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
            EXPECT_FALSE(fs::exists(path)) << path;
        }
    }
}

// Once the file is renamed over its target the result stands: a signal arriving after it is noted
// and the program goes on to report its result.
TEST(TemporaryFile, ASignalAfterTheRenameLeavesTheResultStanding) {
    const fs::path dir = freshDir("late-signal");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        removeTemporaryFilesOnInterrupt();
        TemporaryFile tmp(temporaryPathBeside(dir / "out.xls"));
        std::ofstream(tmp.path()) << "complete";
        std::error_code ec;
        tmp.commit(dir / "out.xls", ec);
        std::raise(SIGINT);
        std::raise(SIGHUP);
        _exit(ec ? 3 : interruptionAfterCompletion() == SIGHUP ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    std::ifstream in(dir / "out.xls");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "complete");
}
#endif

// A temporary name stays within the 255 bytes of a file name, also beside a long CJK name (82
// characters, 246 bytes), cut before a whole character; leftovers of a killed run are removed,
// nothing else is.
TEST(TemporaryFile, NamesFitAndStaleLeftoversGo) {
    const fs::path dir = freshDir("names");
    std::string longName;
    for (int i = 0; i < 82; ++i)
        longName += "报";
    const fs::path target = dir / fs::path(longName + ".xls");
    const fs::path tmp = temporaryPathBeside(target);
    EXPECT_LE(tmp.filename().native().size(), 255u);
    EXPECT_EQ(tmp.parent_path(), dir);
    const std::string name = tmp.filename().string();
    EXPECT_EQ(name.substr(0, 3), "报");
    std::ofstream(tmp) << "x";  // the name can be created
    EXPECT_TRUE(fs::exists(tmp));
    fs::remove(tmp);

    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    for (const char* n : {"out.xls.tmp123456-0", "report.xls.tmp12-3", "out.xls.tmp", "out.xls.tmp12-x",
                          "mine.tmp1-2.xls", "fresh.xls.tmp1-1"}) {
        std::ofstream(dir / n) << "x";
        if (std::string(n) != "fresh.xls.tmp1-1") fs::last_write_time(dir / n, old);
    }
    (void)temporaryPathBeside(dir / "new.xls");
    EXPECT_FALSE(fs::exists(dir / "out.xls.tmp123456-0"));
    EXPECT_FALSE(fs::exists(dir / "report.xls.tmp12-3"));
    for (const char* kept : {"out.xls.tmp", "out.xls.tmp12-x", "mine.tmp1-2.xls", "fresh.xls.tmp1-1"})
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
}

}  // namespace
}  // namespace ca
