#include "ca/app/standin/DemoClient.h"

#include "ca/app/standin/TfrmStandIn.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/util/Folders.h"

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

TfrmStandIn* DemoClient::showWindow(const QRect& beside) {
    if (!client_) return nullptr;
    if (!client_->running()) {
        // A new process of the same client: the window of the old one goes with it.
        sim::StandInConfig config = client_->config();
        sim::ClientFixture fixture = client_->fixture();
        window_.reset();
        client_.reset();
        client_.emplace(desktop_, std::move(config), std::move(fixture));
    }
    const bool created = !window_;
    TfrmStandIn* w = window();
    if (created) w->placeBeside(beside);  // a window already shown stays where the clerk put it
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

std::string DemoClient::emptyFolderHint(const std::filesystem::path& unimportedFolder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(unimportedFolder, ec) || !listFolderFiles(unimportedFolder).empty())
        return {};
    return "演示：未导入文件夹是空的，样例报关单都已录入。要重新演示，请退出程序后运行 "
           "scripts/run --reset-demo（把样例放回未导入文件夹并清空演示数据库）。";
}

}  // namespace ca::app
