#include "ca/app/standin/DemoClient.h"

#include "ca/app/standin/TfrmStandIn.h"
#include "ca/automation/sim/ClientFixture.h"

namespace ca::app {

namespace sim = ca::automation::sim;

DemoClient::DemoClient(Clock& clock, const std::filesystem::path& exeDir) : desktop_(clock) {
    const auto fixtureFile = exeDir / kFixtureName;
    std::error_code ec;
    if (!std::filesystem::exists(fixtureFile, ec)) return;
    try {
        sim::ClientFixture fixture = sim::loadFixture(fixtureFile);
        sim::StandInConfig config;
        fixture.applyTo(config);
        client_.emplace(desktop_, config, std::move(fixture));
    } catch (const std::exception& e) {
        loadError_ = e.what();
    }
}

DemoClient::~DemoClient() = default;

TfrmStandIn* DemoClient::window() {
    if (!client_) return nullptr;
    if (!window_) window_ = std::make_unique<TfrmStandIn>(*client_);
    return window_.get();
}

}  // namespace ca::app
