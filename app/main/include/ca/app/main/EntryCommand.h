#pragma once
// The two entry commands of the main window ("进口导入", "出口导入" and their toolbar buttons):
// the window hosts the entry procedures of the entry layer.
#include <string>

#include "ca/app/main/TfrmMain.h"
#include "ca/automation/Desktop.h"
#include "ca/entry/EntryHost.h"
#include "ca/entry/WriteListBuilder.h"

namespace ca::app {

// The main window as an entry's host: its log, pending file, file lists, prompts, progress figure,
// the settings loaded at start, and config.ini read afresh for the values typed at entry time.
class MainWindowEntryHost : public entry::EntryHost {
public:
    explicit MainWindowEntryHost(TfrmMain& window);

    Log& log() override { return window_.log(); }
    std::string pendingFile() const override { return window_.pendingFile(); }
    void setPendingFile(const std::string& path) override { window_.setPendingFile(path); }
    void refreshFileLists() override { window_.refreshFileLists(); }
    Prompts& prompts() override { return window_.prompts(); }
    void setProgress(const std::string& text) override;
    const entry::EntrySettings& settings() const override { return settings_; }
    std::map<std::string, std::string> readSettings(const std::vector<std::string>& keys) override;
    // The database's own files are never entered: opening one to read it would drop the
    // connection's locks on it, and the entry would then move it away.
    std::string fileRefusal(const std::string& path) const override;

private:
    TfrmMain& window_;
    entry::EntrySettings settings_;
};

// Runs one entry. The window runs it as a command: busy meanwhile (other commands, drops and the
// close box disabled), the log and the progress figure updating as the entry pauses, and errors
// shown by its command guard. A spreadsheet that cannot be read stops being the pending file, with
// the reason in the log; after any other failure it stays pending.
void runEntry(TfrmMain& window, automation::Desktop& desktop, entry::DeclarationKind kind);

// Connects "进口导入" and "出口导入" to the entries on the desktop.
void installEntryCommands(TfrmMain& window, automation::Desktop& desktop);

}  // namespace ca::app
