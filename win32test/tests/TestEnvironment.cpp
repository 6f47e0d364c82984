#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include "ca/automation/win32/Win32Desktop.h"

namespace ca::win32test {

TestPaths& testPaths() {
    static TestPaths paths;
    return paths;
}

automation::Desktop& realDesktop() {
    static automation::win32::Win32Desktop desktop;
    return desktop;
}

std::filesystem::path freshFolder(const std::string& name) {
    std::filesystem::path folder = testPaths().work / name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace ca::win32test
