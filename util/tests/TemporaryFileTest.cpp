#include "ca/util/TemporaryFile.h"

#include <gtest/gtest.h>

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
    } cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGINT, true}};
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
#endif

}  // namespace
}  // namespace ca
