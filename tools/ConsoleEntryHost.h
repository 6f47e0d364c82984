#pragma once
// The entry host of the `entry` command: the log goes line by line to standard output, the
// settings are those the window holds, the entry defaults are read from the settings file once an
// entry starts typing, and the file lists are the folders themselves (nothing to repaint).
#include <string>

#include "CliWindowSettings.h"
#include "ca/entry/EntryHost.h"
#include "ca/util/IniFile.h"

namespace ca::cli {

class ConsoleEntryHost : public entry::EntryHost {
public:
    ConsoleEntryHost(const WindowSettings& settings, Prompts& prompts);

    Log& log() override { return log_; }
    std::string pendingFile() const override { return pending_; }
    void setPendingFile(const std::string& path) override { pending_ = path; }
    void refreshFileLists() override {}
    Prompts& prompts() override { return prompts_; }
    void setProgress(const std::string&) override {}
    const entry::EntrySettings& settings() const override { return settings_; }
    std::map<std::string, std::string> readSettings(const std::vector<std::string>& keys) override;

    // Whether the entry logged its success line.
    bool succeeded() const { return log_.succeeded; }

private:
    class ConsoleLog : public Log {
    public:
        void append(const std::string& line) override;
        bool succeeded = false;
    };

    Prompts& prompts_;
    IniFile ini_;
    entry::EntrySettings settings_;
    ConsoleLog log_;
    std::string pending_;
};

}  // namespace ca::cli
