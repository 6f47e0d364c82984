#pragma once
// The main window: menus, toolbar, the unimported and imported file lists, and the log. It owns the
// settings loaded at start, the pending spreadsheet and the log that entry and download write to.
#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ca/app/common/AppContext.h"
#include "ca/app/common/Windows.h"
#include "ca/util/Clock.h"
#include "ca/util/IniFile.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"
#include "ca/util/Settings.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QToolButton;

namespace ca::app {

class ElidedLabel;

// Commands of the menu and toolbar whose work lives in other layers; main() or the layer that owns the
// work connects them with setCommand. An unconnected command does nothing. Entry and download run with
// the window busy (setBusy); the download may call setBusy(true, onStop) to offer its Stop button.
enum class MainCommand {
    ImportEntry,     // 进口导入
    ExportEntry,     // 出口导入
    Settings,        // 设置, 类名设置 (opens the settings dialog unless replaced)
    DeleteAll,       // shanchu (hidden)
    Download,        // 下载详细数据
    DocumentQuery,   // 单据查询
    FeeQuery,        // 费用查询 (hidden)
    FeeInput,        // 费用录入 (hidden)
    BusinessData,    // 生成业务数据
    ChangePassword,  // 修改密码 (hidden)
    UserManagement,  // 用户权限 (hidden)
    FeeItemAdd,      // 增加费用项 (hidden)
};

class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // Reads its settings from ctx.configFile(); the context must live as long as the window.
    explicit TfrmMain(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- Operations for entry, download and the other windows ---
    void appendLog(const std::string& line);
    Log& log() { return log_; }
    std::vector<std::string> logLines() const;
    const std::string& pendingFile() const { return pendingFile_; }
    void setPendingFile(std::string path) { pendingFile_ = std::move(path); }
    // Re-reads both folders and shows their files.
    void refreshFileLists();
    // Sets the program's busy state (AppContext::busy). While busy every command of this window, the
    // drop target and the close box are disabled, and so are the write commands of every other
    // window. With onStop, a Stop button appears on the toolbar until the window is no longer busy.
    void setBusy(bool busy, std::function<void()> onStop = {});
    bool isBusy() const { return ctx_.busy().busy(); }
    // A short progress figure ("12 / 40") beside the toolbar; empty hides it.
    void setProgress(const QString& text);
    AppContext& context() { return ctx_; }
    Prompts& prompts() { return ctx_.prompts(); }
    Clock& clock() { return ctx_.clock(); }
    // The secondary windows, each created once and owned by this window.
    Windows& windows() { return windows_; }
    IniFile& iniFile() { return ini_; }
    const settings::LoadedSettings& loadedSettings() const { return settings_; }
    const std::string& unimportedFolder() const { return directory1_; }
    const std::string& importedFolder() const { return directory2_; }

    void setCommand(MainCommand command, std::function<void()> run);
    // Lists the class names of every window of the client process of that name, for the settings
    // dialog (nullopt when no such process runs). Connected by the layer that reaches the desktop.
    using ClassLister =
        std::function<std::optional<std::vector<std::string>>(const std::string& processName)>;
    void setClassLister(ClassLister lister) { classLister_ = std::move(lister); }

    // --- Handlers ---
    void FormCreate();
    void FormShow();
    void mnu_import_inputClick() { run(MainCommand::ImportEntry); }
    void mnu_export_inputClick() { run(MainCommand::ExportEntry); }
    void N1Click() { run(MainCommand::Settings); }
    void openSettings();
    void shanchu1Click() { run(MainCommand::DeleteAll); }
    void N2Click() { run(MainCommand::Download); }
    void NdjcxClick() { run(MainCommand::DocumentQuery); }
    void NfycxClick() { run(MainCommand::FeeQuery); }
    void N4Click() { run(MainCommand::FeeInput); }
    void N5Click() { run(MainCommand::BusinessData); }
    void NchpassClick() { run(MainCommand::ChangePassword); }
    void NlimitClick() { run(MainCommand::UserManagement); }
    void N7Click() { run(MainCommand::FeeItemAdd); }
    void NexitClick();
    // Files dropped on the window, full paths in the drop's order.
    void WMDropFiles(const std::vector<std::string>& paths);
    // A double click on a file of the unimported list chooses it as a drop of that file does.
    void FileListBox1DblClick(const QString& name);
    // A right click on either file list reads both folders again.
    void FileListBoxContextPopup() { refreshFileLists(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class MemoLog : public Log {
    public:
        explicit MemoLog(TfrmMain& w) : w_(w) {}
        void append(const std::string& line) override { w_.appendLog(line); }

    private:
        TfrmMain& w_;
    };

    void buildMenus();
    void buildToolbar();
    void buildClientArea();
    QAction* addItem(QMenu* menu, const char* name, const char* caption, bool shown,
                     void (TfrmMain::*handler)());
    void run(MainCommand command);
    void showBusy(bool busy);
    void setFolder(QListWidget* list, std::string& directory, const std::string& folder);
    void fillList(QListWidget* list, const std::string& directory);

    AppContext& ctx_;
    IniFile ini_;
    settings::LoadedSettings settings_;
    MemoLog log_{*this};
    std::string pendingFile_;
    std::string directory1_, directory2_;  // the folders the two file lists show
    bool shown_ = false;
    std::function<void()> onStop_;
    std::map<MainCommand, std::function<void()>> commands_;
    ClassLister classLister_;
    Windows windows_{ctx_, this};

    QToolBar* ToolBar1 = nullptr;
    QToolButton* StopButton = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* progressAction_ = nullptr;
    QAction* spacerAction_ = nullptr;
    ElidedLabel* ProgressLabel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QListWidget* FileListBox2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace ca::app
