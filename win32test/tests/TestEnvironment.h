#pragma once
// Where the Win32 tests find the stand-in clients, the sample sheets and their work folder (given
// on the command line by scripts/test-win32), and the one real desktop they drive.
#include <filesystem>
#include <string>

#include "ca/automation/Desktop.h"

namespace ca::win32test {

struct TestPaths {
    std::filesystem::path standin64;  // Eport.exe, 64-bit
    std::filesystem::path standin32;  // Eport.exe, 32-bit
    std::filesystem::path work;       // fixtures, logs, copies of the sample sheets
    std::filesystem::path samples;    // the sample declaration sheets
    std::filesystem::path cli;        // customs-assistant-cli.exe; its tests are skipped without it
    std::filesystem::path downloads;  // the download demo fixtures (download-import.json ...)
    std::string server;               // a database server's connection text without dbname; its tests are
                                      // skipped without it
    std::string serverDb;             // the prefix of the databases made for them on that server
};

TestPaths& testPaths();

// The Win32 backend: the desktop this process runs on.
automation::Desktop& realDesktop();

// A fresh folder under the work folder for one test.
std::filesystem::path freshFolder(const std::string& name);

}  // namespace ca::win32test
