#pragma once
// Fixtures (the simulated stand-in's JSON format) and class names shared by the Win32 tests.
#include <string>

#include "ca/automation/sim/StandInConfig.h"

namespace ca::win32test {

// The class names both stand-ins use by default.
inline const automation::sim::ClientClasses kClasses{};

// The entry form of the given kind ("import" or "export"), empty.
std::string entryFixture(const std::string& formKind);

// A query screen whose list holds five rows: GBK texts, a 300-byte cell in row 1, column 2.
std::string queryListFixture();

}  // namespace ca::win32test
