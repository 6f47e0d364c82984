#include "ca/app/main/TfrmMain.h"

#include "ca/app/common/WindowMemory.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "ca/app/common/ElidedLabel.h"
#include "ca/app/common/QtText.h"
#include "ca/app/main/DropRule.h"
#include "ca/app/main/TfrmConfig.h"
#include "ca/app/main/ToolbarIcons.h"
#include "ca/util/CommandGuard.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

namespace {

constexpr int kClientWidth = 391;
constexpr int kClientHeight = 307;

}  // namespace

TfrmMain::TfrmMain(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent, Qt::Tool), ctx_(ctx), ini_(ctx.configFile()) {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);
    setAcceptDrops(true);
    buildMenus();
    buildToolbar();
    buildClientArea();
    // The status line says why the window stays when it is closed during an entry or download.
    statusBar()->setObjectName("StatusBar1");
    statusBar()->setSizeGripEnabled(false);
    // Tool window of a fixed client size: the menu bar comes on top of the client area, the status
    // line below it.
    setFixedSize(kClientWidth,
                 kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    // Where the clerk left it (its size is fixed).
    rememberWindow(*this);
    setCommand(MainCommand::Settings, [this] { openSettings(); });
    // Whoever sets the program busy, this window follows.
    connect(&ctx_.busy(), &BusyState::busyChanged, this, [this](bool busy) { showBusy(busy); });
    CommandGuard::run(ctx_.prompts(), [this] { FormCreate(); });
}

void TfrmMain::openSettings() {
    auto& dialog = windows_.get<TfrmConfig>();
    // The class listing looks for the client under the process name loaded at start.
    if (classLister_) dialog.setClassLister([this] { return classLister_(settings_.processName); });
    windows_.open<TfrmConfig>();
}

TfrmMain::~TfrmMain() = default;

QAction* TfrmMain::addItem(QMenu* menu, const char* name, const char* caption, bool shown,
                           void (TfrmMain::*handler)()) {
    QAction* a = menu->addAction(qs(caption));
    a->setObjectName(name);
    a->setVisible(shown);
    if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return a;
}

void TfrmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* m = bar->addMenu("导入数据");
    m->setObjectName("NDown");
    addItem(m, "mnu_import_input", "进口导入", true, &TfrmMain::mnu_import_inputClick);
    addItem(m, "mnu_export_input", "出口导入", true, &TfrmMain::mnu_export_inputClick);
    addItem(m, "N1", "设置", true, &TfrmMain::N1Click);
    addItem(m, "shanchu1", "shanchu", false, &TfrmMain::shanchu1Click);

    m = bar->addMenu("下载数据");
    m->setObjectName("N2");
    addItem(m, "N8", "下载详细数据", true, &TfrmMain::N2Click);
    addItem(m, "N9", "下载业务统计数据", true, nullptr);  // these two items do nothing
    addItem(m, "N11", "下载单据状态", true, nullptr);
    addItem(m, "N10", "类名设置", true, &TfrmMain::N1Click);

    m = bar->addMenu("查询统计");
    m->setObjectName("N3");
    addItem(m, "Ndjcx", "单据查询", true, &TfrmMain::NdjcxClick);
    addItem(m, "Nfycx", "费用查询", false, &TfrmMain::NfycxClick);
    addItem(m, "N4", "费用录入", false, &TfrmMain::N4Click);
    addItem(m, "N5", "生成业务数据", true, &TfrmMain::N5Click);

    m = bar->addMenu("用户管理");
    m->setObjectName("N6");
    m->menuAction()->setVisible(false);
    addItem(m, "Nchpass", "修改密码", false, &TfrmMain::NchpassClick);
    addItem(m, "Nlimit", "用户权限", false, &TfrmMain::NlimitClick);
    addItem(m, "N7", "增加费用项", false, &TfrmMain::N7Click);

    QAction* exitItem = bar->addAction("退出系统");
    exitItem->setObjectName("Nexit");
    connect(exitItem, &QAction::triggered, this, [this] { NexitClick(); });
}

void TfrmMain::buildToolbar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);  // no menu to hide the toolbar

    struct Button {
        const char* name;
        const char* hint;
        int image;
        void (TfrmMain::*handler)();
        const char* separator;
    } buttons[] = {
        {"ToolButton1", "进口导入", 1, &TfrmMain::mnu_import_inputClick, "ToolButton2"},
        {"ToolButton3", "出口导入", 0, &TfrmMain::mnu_export_inputClick, "ToolButton4"},
        {"ToolButton5", "下载数据", 2, &TfrmMain::N2Click, "ToolButton6"},
        {"ToolButton7", "查询数据", 3, &TfrmMain::NdjcxClick, nullptr},
    };
    for (const auto& b : buttons) {
        auto* tb = new QToolButton(ToolBar1);
        tb->setObjectName(b.name);
        tb->setToolTip(qs(b.hint));
        tb->setIcon(toolbarIcon(b.image));
        tb->setAutoRaise(true);
        auto handler = b.handler;
        connect(tb, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
        ToolBar1->addWidget(tb);
        if (b.separator) ToolBar1->addSeparator()->setObjectName(b.separator);
    }

    // The progress text takes the room between the buttons and 停止 and is cut to fit it, so 停止
    // stays on the toolbar however long the counters grow; a spacer holds that room while no text
    // is shown.
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    spacerAction_ = ToolBar1->addWidget(spacer);
    ProgressLabel = new ElidedLabel(ToolBar1);
    ProgressLabel->setObjectName("ProgressLabel");
    progressAction_ = ToolBar1->addWidget(ProgressLabel);
    progressAction_->setVisible(false);
    StopButton = new QToolButton(ToolBar1);
    StopButton->setObjectName("StopButton");
    StopButton->setText("停止");
    StopButton->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    StopButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    StopButton->setToolTip("处理完当前一行后停止");
    connect(StopButton, &QToolButton::clicked, this, [this] {
        if (onStop_) CommandGuard::run(ctx_.prompts(), onStop_);
    });
    stopAction_ = ToolBar1->addWidget(StopButton);
    // Framed, so it reads as a button among the toolbar's icons (the toolbar makes its buttons flat
    // as they are added).
    StopButton->setAutoRaise(false);
    stopAction_->setVisible(false);
}

void TfrmMain::buildClientArea() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);

    Label1 = new QLabel("未导入文件列表(双击可执行右键可刷新)", central);
    Label1->setObjectName("Label1");
    Label3 = new QLabel("已导入文件列表：", central);
    Label3->setObjectName("Label3");
    FileListBox1 = new QListWidget(central);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox2 = new QListWidget(central);
    FileListBox2->setObjectName("FileListBox2");
    for (QListWidget* list : {FileListBox1, FileListBox2}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QListWidget::customContextMenuRequested, this, [this] {
            if (!isBusy()) CommandGuard::run(ctx_.prompts(), [this] { FileListBoxContextPopup(); });
        });
    }
    connect(FileListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (!isBusy() && item)
            CommandGuard::run(ctx_.prompts(), [this, item] { FileListBox1DblClick(item->text()); });
    });
    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);  // the log only grows; nobody edits or removes its lines
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // long lines wrap

    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(FileListBox1, 1, 0);
    grid->addWidget(FileListBox2, 1, 1);
    grid->addWidget(Memo1, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(2, 2);
    setCentralWidget(central);
}

void TfrmMain::FormCreate() {
    settings::loadCreateGroup(ini_, settings_);
}

void TfrmMain::FormShow() {
    settings::loadShowGroup(ini_, settings_);
    if (settings_.containerClass.empty()) plainMessage(ctx_.prompts(), "容器类名未设置，请先设置再导入");
    if (settings_.editClass.empty()) plainMessage(ctx_.prompts(), "文本框类名，请先设置再导入");
    // Entering each folder makes it the current directory: afterwards that is the imported folder,
    // against which the database file name is resolved. A missing folder ends the start-up steps.
    setFolder(FileListBox1, directory1_, settings_.unimportedDir);
    setFolder(FileListBox2, directory2_, settings_.importedDir);
    refreshFileLists();
    pendingFile_.clear();
}

void TfrmMain::setFolder(QListWidget* list, std::string& directory, const std::string& folder) {
    enterFolder(pathFromUtf8(folder));
    // The list keeps the folder as a full path: a relative one would be read against whatever the
    // current directory is at the next refresh.
    directory = pathToUtf8(std::filesystem::current_path());
    fillList(list, directory);
}

void TfrmMain::fillList(QListWidget* list, const std::string& directory) {
    list->clear();
    if (directory.empty()) return;
    for (const auto& name : listFolderFiles(pathFromUtf8(directory)))
        list->addItem(qs(name));
}

void TfrmMain::refreshFileLists() {
    fillList(FileListBox1, directory1_);
    fillList(FileListBox2, directory2_);
}

void TfrmMain::appendLog(const std::string& line) {
    Memo1->appendPlainText(qs(line));
}

std::vector<std::string> TfrmMain::logLines() const {
    std::vector<std::string> lines;
    if (Memo1->document()->isEmpty()) return lines;
    for (QTextBlock b = Memo1->document()->begin(); b.isValid(); b = b.next())
        lines.push_back(b.text().toStdString());
    return lines;
}

void TfrmMain::setBusy(bool busy, std::function<void()> onStop) {
    onStop_ = busy ? std::move(onStop) : std::function<void()>{};
    ctx_.busy().setBusy(busy);
    showBusy(busy);
}

void TfrmMain::showBusy(bool busy) {
    if (!busy) onStop_ = {};
    menuBar()->setEnabled(!busy);
    for (auto* tb : ToolBar1->findChildren<QToolButton*>())
        if (tb != StopButton) tb->setEnabled(!busy);
    stopAction_->setVisible(busy && onStop_);
    setAcceptDrops(!busy);
    if (!busy) setProgress(QString());
    if (!busy) statusBar()->clearMessage();  // the reason the window stayed open no longer holds
}

void TfrmMain::setProgress(const QString& text) {
    ProgressLabel->setText(text);
    ProgressLabel->setToolTip(text);
    progressAction_->setVisible(!text.isEmpty());
    spacerAction_->setVisible(text.isEmpty());
}

void TfrmMain::setCommand(MainCommand command, std::function<void()> run) {
    commands_[command] = std::move(run);
}

void TfrmMain::run(MainCommand command) {
    if (isBusy()) return;
    auto it = commands_.find(command);
    if (it == commands_.end() || !it->second) return;
    // Entry and download run to their end inside this call; the window stays busy meanwhile.
    bool longRunning = command == MainCommand::ImportEntry || command == MainCommand::ExportEntry ||
                       command == MainCommand::Download;
    if (longRunning) setBusy(true);
    CommandGuard::run(ctx_.prompts(), it->second);
    if (longRunning) setBusy(false);
}

void TfrmMain::NexitClick() {
    if (questionBox(ctx_.prompts(), "您确定要退出吗？") == Button::No) return;
    close();
}

void TfrmMain::WMDropFiles(const std::vector<std::string>& paths) {
    DropOutcome out = acceptDroppedFiles(paths);
    for (const auto& line : out.logLines)
        appendLog(line);
    if (out.pendingFile) pendingFile_ = *out.pendingFile;
}

void TfrmMain::FileListBox1DblClick(const QString& name) {
    if (directory1_.empty()) return;
    const std::filesystem::path file = pathFromUtf8(directory1_) / pathFromUtf8(str(name));
    WMDropFiles({str(QDir::toNativeSeparators(qs(pathToUtf8(file))))});
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    CommandGuard::run(ctx_.prompts(), [this] { FormShow(); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // While an entry or download runs inside a handler the window stays: closing it then would end
    // the program in the middle of typing into the client.
    if (isBusy()) {
        statusBar()->showMessage(onStop_ ? "正在下载，不能关闭窗口：请先按“停止”，等下载停下后再关闭。"
                                         : "正在录入，不能关闭窗口：请等录入完成后再关闭。");
        event->ignore();
        return;
    }
    event->accept();
    // A tool window does not count as the application's last window, so end the program here.
    QApplication::quit();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!isBusy() && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
    CommandGuard::run(ctx_.prompts(), [&] { WMDropFiles(paths); });
    event->acceptProposedAction();
}

}  // namespace ca::app
