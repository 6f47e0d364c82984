// The Windows build's customs client: the real client on the Win32 desktop (under Wine, where only
// the stand-in client runs, the menu walk answers from a copy of its menu bar; see ClientDesktop.h).
#include "ClientDesktop.h"
#include "ca/app/client/CustomsClient.h"

namespace ca::app {

namespace {

class Win32CustomsClient : public CustomsClient {
public:
    automation::Desktop& desktop() override { return *desktop_; }
    void attach(TfrmMain&, Prompts&) override {}
    void shown(TfrmMain&, Prompts&) override {}

private:
    std::shared_ptr<automation::Desktop> desktop_ = win32test::openClientDesktop();
};

}  // namespace

std::unique_ptr<CustomsClient> openCustomsClient(SteadyClock&, const std::filesystem::path&) {
    return std::make_unique<Win32CustomsClient>();
}

}  // namespace ca::app
