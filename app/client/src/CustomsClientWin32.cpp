// The Windows build's customs client: the real client on the Win32 desktop (see ClientDesktop.h).
#include "ca/app/client/CustomsClient.h"
#include "ca/automation/win32/ClientDesktop.h"

namespace ca::app {

namespace {

class Win32CustomsClient : public CustomsClient {
public:
    automation::Desktop& desktop() override { return *desktop_; }
    void attach(TfrmMain&, Prompts&) override {}
    void shown(TfrmMain&, Prompts&) override {}

private:
    std::shared_ptr<automation::Desktop> desktop_ = automation::win32::openClientDesktop();
};

}  // namespace

std::unique_ptr<CustomsClient> openCustomsClient(SteadyClock&, const std::filesystem::path&) {
    return std::make_unique<Win32CustomsClient>();
}

}  // namespace ca::app
