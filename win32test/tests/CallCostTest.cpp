// By hand (CA_WIN32_MEASURE=1 scripts/test-win32): what one call into the client's process costs on
// this desktop, so that the measured entries and downloads (their number of calls times these costs)
// can be carried over to another desktop. Each call is made many times in a row to a header field of
// the Win32 stand-in: WM_GETTEXT (the download's read), WM_SETTEXT (the entry's set), putting a text
// on the clipboard and the field's EM_SETSEL and WM_PASTE of it (the entry's paste: the client reads the
// clipboard).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "Fixtures.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/Controls.h"
#include "ca/automation/EntryControls.h"
#include "ca/automation/TextEntry.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;

// The mean time of one call, in microseconds.
double microsecondsPerCall(int calls, const std::function<void()>& call) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        call();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
           calls;
}

TEST(Win32CallCost, DISABLED_OneCallIntoTheClientsProcess) {
    StandinProcess client(testPaths().standin64, entryFixture("import"), "call-cost");
    ASSERT_TRUE(client.running());
    Desktop& desktop = realDesktop();
    SteadyClock clock;
    VectorLog log;
    auto map = FindEntryControls(desktop, log, "Eport.exe", kClasses.container, kClasses.edit);
    ASSERT_TRUE(map.has_value());
    const HWnd field = map->HeaderEdits[1];
    constexpr int kCalls = 2000;
    const double getText = microsecondsPerCall(kCalls, [&] { (void)ControlText(desktop, field); });
    const double setText = microsecondsPerCall(kCalls, [&] { SetText(desktop, field, "3302980001"); });
    const double clipboard =
        microsecondsPerCall(kCalls, [&] { PutClipboardText(desktop, clock, "照章征税"); });
    const double paste = microsecondsPerCall(kCalls, [&] {
        SelectAll(desktop, field);
        Paste(desktop, field);
    });
    EXPECT_EQ(ControlText(desktop, field), "照章征税");
    std::printf(
        "one call into the client's process on this desktop (mean of %d): WM_GETTEXT %.0f us, WM_SETTEXT "
        "%.0f "
        "us, a text onto the clipboard %.0f us, EM_SETSEL and WM_PASTE of it %.0f us\n",
        kCalls, getText, setText, clipboard, paste);
}

}  // namespace
}  // namespace ca::win32test
