#pragma once
// The customs client of the Linux build: a simulated desktop on the program's clock, with the
// stand-in client started from the demo fixture next to the executable (standin.json) and shown in
// its own window. Without the fixture the desktop stays empty, and entry and download report that
// the client is not running, as they would on an office machine without it. Closing the client's
// window ends the client, as a real client's exit does; showWindow starts it again.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/util/Clock.h"

class QRect;

namespace ca::app {

class TfrmStandIn;

class DemoClient {
public:
    static constexpr const char* kFixtureName = "standin.json";

    // Loads exeDir/standin.json when it exists. A fixture that does not load leaves the desktop
    // empty and keeps the reason in loadError().
    DemoClient(Clock& clock, const std::filesystem::path& exeDir);
    ~DemoClient();
    DemoClient(const DemoClient&) = delete;
    DemoClient& operator=(const DemoClient&) = delete;

    automation::sim::SimDesktop& desktop() { return desktop_; }
    automation::sim::StandInClient* client() { return client_ ? &*client_ : nullptr; }
    // The client's window, created on first use (nullptr without a client).
    TfrmStandIn* window();
    // Shows the client's window and brings it to the front; a new window opens beside the given
    // frame (the main window's), fitted to the screen. A client that has ended is started again first, on its
    // start screen with nothing recorded. nullptr without a client.
    TfrmStandIn* showWindow(const QRect& beside);
    // The line the demo logs at start when its unimported folder is empty (the samples were
    // entered by an earlier run); empty text when the folder holds files or does not exist.
    static std::string emptyFolderHint(const std::filesystem::path& unimportedFolder);
    // Lets the client act on posted messages; the clock's idle hook calls it.
    void pump() { desktop_.pump(); }
    const std::string& loadError() const { return loadError_; }

private:
    automation::sim::SimDesktop desktop_;
    std::optional<automation::sim::StandInClient> client_;
    std::unique_ptr<TfrmStandIn> window_;
    std::string loadError_;
};

}  // namespace ca::app
