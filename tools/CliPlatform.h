#pragma once
// What differs between the Windows and the Linux build of customs-assistant-cli: the command line,
// the console, and the desktop the customs client runs on (Windows only).
#include <memory>
#include <string>
#include <vector>

#include "ca/automation/Desktop.h"
#include "ca/download/StopFlag.h"

namespace ca::cli {

// The arguments after the program name as UTF-8 (on Windows taken from the wide command line, so
// a file name in any script reaches the program whole).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes a console window show the UTF-8 output (Windows); nothing elsewhere.
void prepareConsole();

// The desktop the customs client runs on, or nullptr where there is none (Linux).
std::shared_ptr<automation::Desktop> openClientDesktop();

// While it lives, Ctrl+C (and Ctrl+Break) in the console requests the stop instead of ending the
// program, like the Stop button of the window.
class InterruptStops {
public:
    explicit InterruptStops(download::StopFlag& stop);
    ~InterruptStops();
    InterruptStops(const InterruptStops&) = delete;
    InterruptStops& operator=(const InterruptStops&) = delete;
};

}  // namespace ca::cli
