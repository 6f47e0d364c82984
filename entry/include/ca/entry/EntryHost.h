#pragma once
// What an entry needs from the window that hosts it: the log, the pending spreadsheet, the file
// lists, the open dialog, a progress figure and the settings. The main window implements it; tests,
// the benchmark and the command-line tool use SimpleEntryHost.
#include <map>
#include <string>
#include <vector>

#include "ca/util/Log.h"
#include "ca/util/Prompts.h"

namespace ca::entry {

// The settings the main window loaded at start and holds for the whole run.
struct EntrySettings {
    std::string processName = "Eport.exe";  // "QP进程名"
    std::string containerClass;             // "容器类名"
    std::string editClass;                  // "编辑框类名"
    std::string importedFolder;             // "已导入文件目录"
    std::string postEntryDelay = "400";     // "导入后延时", converted where it is used
};

class EntryHost {
public:
    virtual ~EntryHost() = default;
    virtual Log& log() = 0;
    virtual std::string pendingFile() const = 0;
    virtual void setPendingFile(const std::string& path) = 0;
    // Re-reads both folders and repaints the two file lists.
    virtual void refreshFileLists() = 0;
    // Message boxes and the open dialog.
    virtual Prompts& prompts() = 0;
    // Where the running entry is: "表头", "清单", "商品 k/n"; empty when it has ended.
    virtual void setProgress(const std::string& text) = 0;
    virtual const EntrySettings& settings() const = 0;
    // The values of these keys of the settings file, by key, from one read of the file at the moment
    // of the call (empty for a key the file does not hold).
    virtual std::map<std::string, std::string> readSettings(const std::vector<std::string>& keys) = 0;
    // Why `path` must not be entered although it was picked or dropped (it is one of the open
    // database's files, which only the database engine may open), or empty text. Asked before the
    // file is opened; a host that holds no database refuses nothing.
    virtual std::string fileRefusal(const std::string& path) const {
        (void)path;
        return {};
    }
};

}  // namespace ca::entry
