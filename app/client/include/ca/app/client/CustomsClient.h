#pragma once
// The customs client the window program drives, one backend per platform (the build picks the
// source file): on Windows the real client on the Win32 desktop; in the Linux build the stand-in
// client of the demo fixture next to the executable, shown in a window of its own, with the demo
// menu on the main window.
#include <filesystem>
#include <memory>

#include "ca/automation/Desktop.h"
#include "ca/util/Clock.h"
#include "ca/util/Prompts.h"

namespace ca::app {

class TfrmMain;

class CustomsClient {
public:
    virtual ~CustomsClient() = default;
    // The desktop entry and download act on.
    virtual automation::Desktop& desktop() = 0;
    // The main window is made and not yet shown.
    virtual void attach(TfrmMain& window, Prompts& prompts) = 0;
    // The main window has just been shown for the first time.
    virtual void shown(TfrmMain& window, Prompts& prompts) = 0;
};

// The platform's client. clock is the program's: while an entry or download waits on it, the
// program keeps painting (and in the Linux build the stand-in acts on what it was sent).
std::unique_ptr<CustomsClient> openCustomsClient(SteadyClock& clock, const std::filesystem::path& exeDir);

}  // namespace ca::app
