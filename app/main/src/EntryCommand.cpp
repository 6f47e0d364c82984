#include "ca/app/main/EntryCommand.h"

#include "ca/automation/DesktopCallTally.h"
#include "ca/db/DatabaseFiles.h"
#include "ca/db/TDM.h"
#include "ca/entry/AutomationEntryClient.h"
#include "ca/entry/DeclarationEntry.h"
#include "ca/entry/WorkbookServer.h"
#include "ca/spreadsheet/SpreadsheetError.h"
#include "ca/util/Folders.h"
#include "ca/util/Settings.h"

namespace ca::app {

MainWindowEntryHost::MainWindowEntryHost(TfrmMain& window) : window_(window) {
    const settings::LoadedSettings& s = window.loadedSettings();
    settings_.processName = s.processName;
    settings_.containerClass = s.containerClass;
    settings_.editClass = s.editClass;
    settings_.importedFolder = s.importedDir;
    settings_.postEntryDelay = s.postEntryDelay;
}

void MainWindowEntryHost::setProgress(const std::string& text) {
    window_.setProgress(text.empty() ? QString() : QString::fromStdString("录入" + text));
}

std::map<std::string, std::string> MainWindowEntryHost::readSettings(const std::vector<std::string>& keys) {
    return window_.iniFile().ReadStrings(settings::kSection, keys, "");
}

std::string MainWindowEntryHost::fileRefusal(const std::string& path) const {
    if (!db::IsDatabaseFile(window_.context().dm().ADOConnection1, pathFromUtf8(path))) return {};
    return "文件“" + path + "”是本程序的数据库文件，不能作为报关单导入。";
}

void runEntry(TfrmMain& window, automation::Desktop& desktop, entry::DeclarationKind kind) {
    MainWindowEntryHost host(window);
    // CA_DESKTOP_CALLS: where the entry spends its time besides its pauses (DesktopCallTally.h).
    automation::DesktopCallTally tally(desktop, "entry", automation::kEntryActingSends);
    entry::AutomationEntryClient client(tally.desktop(), window.clock());
    entry::EntryRun run{client, host, window.clock(), entry::WorkbookServer::factory()};
    try {
        entry::EnterDeclaration(kind, run);
    } catch (const SpreadsheetError& e) {
        // The file itself cannot be read: kept pending, every later entry would fail on it again
        // without offering the open dialog. Failures that are not the file's fault keep it.
        if (!window.pendingFile().empty()) {
            window.setPendingFile("");
            window.appendLog(std::string("待导入文件已清除，下次导入时请重新选择文件。原因：") + e.what());
        }
        throw;
    }
}

void installEntryCommands(TfrmMain& window, automation::Desktop& desktop) {
    window.setCommand(MainCommand::ImportEntry,
                      [&window, &desktop] { runEntry(window, desktop, entry::DeclarationKind::Import); });
    window.setCommand(MainCommand::ExportEntry,
                      [&window, &desktop] { runEntry(window, desktop, entry::DeclarationKind::Export); });
}

}  // namespace ca::app
