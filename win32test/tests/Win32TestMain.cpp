// The Win32 test driver: ca_win32_tests --standin64=EXE --standin32=EXE --work=DIR --samples=DIR
// [--cli=EXE --downloads=DIR] [--server=CONNECTION --server-db=PREFIX] [GoogleTest options]. Runs the Win32
// backend, entry and download against the Win32 stand-in client on a real desktop (Windows, or Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EntryRuns.h"
#include "TestEnvironment.h"

int main() {
    int argc = 0;
    LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> kept;  // what GoogleTest gets (ASCII options only)
    ca::win32test::TestPaths& paths = ca::win32test::testPaths();
    for (int i = 0; i < argc; ++i) {
        std::wstring arg = wargv[i];
        auto value = [&](const wchar_t* prefix) -> const wchar_t* {
            std::wstring p = prefix;
            return arg.rfind(p, 0) == 0 ? arg.c_str() + p.size() : nullptr;
        };
        if (const wchar_t* v = value(L"--standin64="))
            paths.standin64 = v;
        else if (const wchar_t* v = value(L"--standin32="))
            paths.standin32 = v;
        else if (const wchar_t* v = value(L"--work="))
            paths.work = v;
        else if (const wchar_t* v = value(L"--samples="))
            paths.samples = v;
        else if (const wchar_t* v = value(L"--cli="))
            paths.cli = v;
        else if (const wchar_t* v = value(L"--downloads="))
            paths.downloads = v;
        else if (const wchar_t* v = value(L"--server="))
            paths.server = ca::win32test::utf8(v);
        else if (const wchar_t* v = value(L"--server-db="))
            paths.serverDb = ca::win32test::utf8(v);
        else
            kept.push_back(std::filesystem::path(arg).string());
    }
    LocalFree(wargv);
    if (paths.standin64.empty() || paths.standin32.empty() || paths.work.empty() || paths.samples.empty()) {
        std::fprintf(stderr,
                     "usage: ca_win32_tests --standin64=EXE --standin32=EXE --work=DIR --samples=DIR"
                     " [--cli=EXE --downloads=DIR]\n");
        return 2;
    }
    std::vector<char*> args;
    for (std::string& a : kept)
        args.push_back(a.data());
    int gtestArgc = static_cast<int>(args.size());
    testing::InitGoogleTest(&gtestArgc, args.data());
    return RUN_ALL_TESTS();
}
