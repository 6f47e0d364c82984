#include "ca/entry/DeclarationEntry.h"

#include "ca/entry/FileMove.h"
#include "ca/entry/WriteExecutor.h"
#include "ca/util/Convert.h"

namespace ca::entry {

namespace {

struct FileChoiceTexts {
    const char* opening;
    const char* cancelled;
    const char* chosenPrefix;
};

constexpr FileChoiceTexts kImportTexts{"打开文件表格...", "文件表格被用户取消打开，录入终止。", "文件表格:"};
constexpr FileChoiceTexts kExportTexts{"打开数据文件...", "数据文件被用户取消打开，录入终止。", "数据文件:"};

// Tells the server to quit when the entry leaves the typing steps, normally or by an error.
class ServerSession {
public:
    explicit ServerSession(std::unique_ptr<SpreadsheetServer> server) : server_(std::move(server)) {}
    ~ServerSession() {
        try {
            quit();
        } catch (...) {
            // The error that ended the entry is the one to show.
        }
    }
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    SpreadsheetServer& operator*() { return *server_; }
    SpreadsheetServer* operator->() { return server_.get(); }
    void quit() {
        if (!server_) return;
        auto server = std::move(server_);
        server->quit();
    }

private:
    std::unique_ptr<SpreadsheetServer> server_;
};

// Clears the progress figure when the entry ends, whichever way.
class ProgressReset {
public:
    explicit ProgressReset(EntryHost& host) : host_(host) {}
    ~ProgressReset() { host_.setProgress(""); }
    ProgressReset(const ProgressReset&) = delete;
    ProgressReset& operator=(const ProgressReset&) = delete;

private:
    EntryHost& host_;
};

}  // namespace

void EnterDeclaration(DeclarationKind kind, EntryRun& run) {
    EntryHost& host = run.host;
    Log& log = host.log();
    if (!run.client.findEntryControls(log, host.settings())) return;

    const FileChoiceTexts& texts = kind == DeclarationKind::Import ? kImportTexts : kExportTexts;
    if (host.pendingFile().empty()) {
        log.append(texts.opening);
        const std::string chosen = host.prompts().openFile("", "");
        if (chosen.empty()) {
            log.append(texts.cancelled);
            return;
        }
        log.append(texts.chosenPrefix + chosen + " 已打开。");
        host.setPendingFile(chosen);
    }
    const std::string file = host.pendingFile();
    if (const std::string refusal = host.fileRefusal(file); !refusal.empty()) {
        log.append(refusal);
        host.setPendingFile("");
        return;
    }

    ProgressReset progressReset(host);
    {
        ServerSession server(run.startServer());
        server->open(file);
        log.append("开始录入：");
        const std::vector<Write> writes = buildWrites(kind, *server);
        typeWrites(writes, run.client, host);
        log.append("恭喜，录入成功！");
        server.quit();
    }
    host.setProgress("");

    run.clock.sleepMs(ca::toInt(host.settings().postEntryDelay));

    const std::string folder = host.settings().importedFolder;
    if (auto reason = moveFileIntoFolder(file, folder))
        log.append("文件未能移入已导入文件目录：" + file + "（" + *reason + "）");
    host.refreshFileLists();
    host.setPendingFile("");
}

void EnterImportDeclaration(EntryRun& run) {
    EnterDeclaration(DeclarationKind::Import, run);
}
void EnterExportDeclaration(EntryRun& run) {
    EnterDeclaration(DeclarationKind::Export, run);
}

}  // namespace ca::entry
