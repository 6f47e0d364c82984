#include "ca/app/main/DownloadCommand.h"

#include <memory>

#include "ca/app/common/QtText.h"
#include "ca/automation/DesktopCallTally.h"
#include "ca/download/DatabaseCapture.h"
#include "ca/download/DownloadDriver.h"

namespace ca::app {

void runDownload(TfrmMain& window, automation::Desktop& desktop, db::TDM& dm) {
    // The Stop button may be pressed while an error box of this download is up, after this frame is
    // gone; the flag it sets lives as long as the button's handler.
    auto stop = std::make_shared<download::StopFlag>();
    struct Busy {
        Busy(TfrmMain& w, std::function<void()> onStop) : w(w) { w.setBusy(true, std::move(onStop)); }
        ~Busy() { w.setBusy(false); }
        TfrmMain& w;
    } busy(window, [stop] { stop->request(); });

    download::DatabaseCapture capture(dm, window.log());
    // CA_DESKTOP_CALLS: where the download spends its time besides the waits (DesktopCallTally.h).
    automation::DesktopCallTally tally(desktop, "download", automation::kDownloadActingSends);
    download::DownloadDriver driver(tally.desktop(), window.clock(), window.log(), window.prompts(), capture,
                                    download::DownloadSettings::from(window.loadedSettings()));
    driver.setStopFlag(stop.get());
    driver.setProgressHandler(
        [&window](const download::DownloadProgress& p) { window.setProgress(qs(p.text())); });
    driver.MainLoadData();
}

void installDownloadCommand(TfrmMain& window, automation::Desktop& desktop, db::TDM& dm) {
    window.setCommand(MainCommand::Download, [&window, &desktop, &dm] { runDownload(window, desktop, dm); });
}

}  // namespace ca::app
