#pragma once
// An entry host without a window: the log in a VectorLog, settings given as values, prompts
// scripted or supplied. Tests, the benchmark and the command-line tool run entries with it.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ca/entry/EntryHost.h"

namespace ca::entry {

class SimpleEntryHost : public EntryHost {
public:
    explicit SimpleEntryHost(Prompts& prompts) : prompts_(prompts) {}

    Log& log() override { return log_; }
    std::string pendingFile() const override { return pending_; }
    void setPendingFile(const std::string& path) override { pending_ = path; }
    void refreshFileLists() override { ++refreshes; }
    Prompts& prompts() override { return prompts_; }
    void setProgress(const std::string& text) override {
        if (progress.empty() || progress.back() != text) progress.push_back(text);
    }
    const EntrySettings& settings() const override { return settings_; }
    std::map<std::string, std::string> readSettings(const std::vector<std::string>& keys) override {
        ++settingFileReads;
        std::map<std::string, std::string> values;
        for (const std::string& key : keys) {
            ++settingReads[key];
            auto it = fileSettings.find(key);
            values[key] = readHook ? readHook(key) : it == fileSettings.end() ? std::string() : it->second;
        }
        return values;
    }

    EntrySettings& mutableSettings() { return settings_; }
    const std::vector<std::string>& lines() const { return log_.lines; }

    std::map<std::string, std::string> fileSettings;          // what the settings file holds
    std::map<std::string, int> settingReads;                  // reads per key
    int settingFileReads = 0;                                 // calls of readSettings
    std::function<std::string(const std::string&)> readHook;  // replaces fileSettings when set
    std::vector<std::string> progress;                        // distinct progress figures in order
    int refreshes = 0;

private:
    Prompts& prompts_;
    VectorLog log_;
    std::string pending_;
    EntrySettings settings_;
};

}  // namespace ca::entry
