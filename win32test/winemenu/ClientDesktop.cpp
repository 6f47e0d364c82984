#include "ClientDesktop.h"

#include <windows.h>

#include <mmsystem.h>

#include "WineMenuDesktop.h"
#include "ca/automation/win32/Win32Desktop.h"

namespace ca::win32test {

namespace {

struct ClientDesktop {
    ClientDesktop() { fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR; }
    ~ClientDesktop() {
        if (fineTimer) timeEndPeriod(1);
    }
    ClientDesktop(const ClientDesktop&) = delete;
    ClientDesktop& operator=(const ClientDesktop&) = delete;

    bool fineTimer = false;
    automation::win32::Win32Desktop real;
    WineMenuDesktop desktop{real};
};

}  // namespace

std::shared_ptr<automation::Desktop> openClientDesktop() {
    auto holder = std::make_shared<ClientDesktop>();
    return std::shared_ptr<automation::Desktop>(holder, &holder->desktop);
}

}  // namespace ca::win32test
