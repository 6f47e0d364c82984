// The Linux build's customs client: the stand-in client of the demo fixture next to the executable,
// shown in its own window beside the main window. While an entry pauses it acts on posted messages.
#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>

#include "ca/app/client/CustomsClient.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/standin/DemoClient.h"
#include "ca/app/standin/DemoMenu.h"
#include "ca/util/Folders.h"

namespace ca::app {

namespace {

class DemoCustomsClient : public CustomsClient {
public:
    DemoCustomsClient(SteadyClock& clock, const std::filesystem::path& exeDir) : demo_(clock, exeDir) {
        clock.setIdleHook([this] {
            demo_.pump();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        });
    }

    automation::Desktop& desktop() override { return demo_.desktop(); }

    void attach(TfrmMain& window, Prompts& prompts) override {
        if (demo_.client())
            addDemoMenu(*window.menuBar(), window.findChild<QAction*>("Nexit"), demo_, prompts,
                        [&window] { return window.frameGeometry(); });
    }

    void shown(TfrmMain& window, Prompts& prompts) override {
        // The stand-in client opens beside the main window, so both are in view while typing.
        demo_.showWindow(window.frameGeometry());
        if (!demo_.loadError().empty()) prompts.errorBox(demo_.loadError());
        if (demo_.client()) {
            const std::string hint = DemoClient::emptyFolderHint(pathFromUtf8(window.unimportedFolder()));
            if (!hint.empty()) window.appendLog(hint);
        }
    }

private:
    DemoClient demo_;
};

}  // namespace

std::unique_ptr<CustomsClient> openCustomsClient(SteadyClock& clock, const std::filesystem::path& exeDir) {
    return std::make_unique<DemoCustomsClient>(clock, exeDir);
}

}  // namespace ca::app
