#include "ca/app/main/TfrmConfig.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

#include "ca/app/common/Guarded.h"
#include "ca/app/common/KeyActions.h"
#include "ca/app/common/QtText.h"
#include "ca/app/common/WaitCursor.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/db/DbError.h"
#include "ca/db/ServerProbe.h"
#include "ca/db/TADOConnection.h"
#include "ca/db/TDM.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/Settings.h"

namespace ca::app {

namespace st = ca::settings;

namespace {

struct FieldSpec {
    const char* label;
    const char* name;
    const char* key;
    bool milliseconds;
};

// Top to bottom, the order in which the fields are saved.
const FieldSpec kFields[] = {
    {"容器类名：", "Edit12", st::kContainerClass, false},
    {"编辑框类名：", "Edit13", st::kEditClass, false},
    {"表格类名：", "Edit1", st::kListClass, false},
    {"按钮类名：", "Edit2", st::kButtonClass, false},
    {"文本类名：", "Edit3", st::kStaticClass, false},
    {"工具拦类名：", "Edit4", st::kToolbarClass, false},
    {"下拉框类名：", "Edit5", st::kComboClass, false},
    {"主单延迟：", "Edit6", st::kMainDelay, true},
    {"子数据延迟：", "Edit7", st::kGoodsDelay, true},
    {"经营单位：", "Edit8", st::kOperatingUnit, false},
    {"收货单位：", "Edit9", st::kReceivingUnit, false},
    {"申报单位：", "Edit10", st::kDeclaringUnit, false},
    {"运输方式：", "Edit11", st::kTransportMode, false},
    {"监管方式：", "Edit14", st::kSupervisionMode, false},
    {"征免性质：", "Edit15", st::kLevyKind, false},
    {"境内目的地：", "Edit16", st::kDestination, false},
    {"包装种类：", "Edit17", st::kPackageKind, false},
    {"报关单类型：", "Edit18", st::kDeclarationType, false},
    {"商品用途：", "Edit19", st::kGoodsUse, false},
    {"商品征免：", "Edit20", st::kGoodsDuty, false},
    {"QP进程名：", "exportname", st::kProcessName, false},
    {"未导入文件目录：", "Edit21", st::kUnimportedDir, false},
    {"已导入文件目录", "Edit22", st::kImportedDir, false},
    {"导入完毕后延迟时间", "Edit23", st::kPostEntryDelay, true},
};

const char* const kHelpLines[] = {
    "如何获取 容器类名 和 编辑框",
    "类名",
    "？",
    "",
    "在海关录入工具开启并且已",
    "经打",
    "开录入界面前提下：",
    "按 （列出类名）按钮",
    "在列出的类名称中",
    "容器类名，多数情况下会带",
    "有",
    "Window 字符",
    "编辑框类名，多数情况下会",
    "带有",
    "EDIT字符",
    "表格类名，多数情况下会带",
    "有",
    "SysListView32字符",
    "按钮类名，多数情况下会带",
    "有",
    "BUTTON字符",
    "文本类名，多数情况下会带",
    "有",
    "STATIC字符",
    "工具拦类名，多数情况下会",
    "带有",
    "ToolbarWindow32字符",
    "将这些复制到对应的编辑框",
    "里后",
    "按修改既可",
};

}  // namespace

TfrmConfig::TfrmConfig(AppContext& ctx, QWidget* owner) : QWidget(owner, Qt::Window), ctx_(ctx) {
    setObjectName("frmConfig");
    setWindowTitle("类名设置");

    auto* outer = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    int row = 0;
    for (const auto& f : kFields) {
        auto* label = new QLabel(f.label, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(f.name);
        edit->setMinimumWidth(180);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(edit, row, 1);
        if (f.milliseconds) grid->addWidget(new QLabel("毫秒", this), row, 2);
        fields_.push_back({f.key, edit});
        ++row;
    }
    fieldFor(st::kMainDelay)->setText("300");
    fieldFor(st::kGoodsDelay)->setText("160");
    // The optional log-in, below the fields; it takes effect at the next start.
    CheckLogIn = new QCheckBox("启动时要求用户登录（下次启动生效）", this);
    CheckLogIn->setObjectName("CheckLogIn");
    grid->addWidget(CheckLogIn, row++, 0, 1, 3);
    // The server several desks share; the program opens its database once, at start.
    auto* serverLabel = new QLabel("数据库服务器：", this);
    EditServer = new QLineEdit(this);
    EditServer->setObjectName("EditServer");
    EditServer->setPlaceholderText("例：host=192.168.1.5 dbname=customs user=clerk password=密码");
    serverLabel->setBuddy(EditServer);
    ButtonTestServer = new QPushButton("测试连接", this);
    ButtonTestServer->setObjectName("ButtonTestServer");
    grid->addWidget(serverLabel, row, 0, Qt::AlignRight);
    grid->addWidget(EditServer, row, 1);
    grid->addWidget(ButtonTestServer, row++, 2);
    auto* serverNote = new QLabel(
        "空白：使用本机的数据库文件 DB.sqlite。密码显示为 ******，保留即不变。\n修改在程序下次启动时生效。",
        this);
    serverNote->setObjectName("LabelServerNote");
    grid->addWidget(serverNote, row, 1, 1, 2);
    outer->addLayout(grid);

    auto* side = new QVBoxLayout;
    Button2 = new QPushButton("修改", this);
    Button2->setObjectName("Button2");
    Button1 = new QPushButton("关闭", this);
    Button1->setObjectName("Button1");
    Button3 = new QPushButton("列出类名", this);
    Button3->setObjectName("Button3");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMinimumWidth(230);
    QStringList help;
    for (const char* line : kHelpLines)
        help << line;
    Memo1->setPlainText(help.join('\n'));
    side->addWidget(Button2);
    side->addWidget(Button1);
    side->addWidget(Button3);
    side->addWidget(Memo1, 1);
    outer->addLayout(side);

    onClick(Button2, this, &TfrmConfig::Button2Click, ctx_);
    onReadClick(Button1, this, &TfrmConfig::Button1Click, ctx_);
    onReadClick(Button3, this, &TfrmConfig::Button3Click, ctx_);
    onReadClick(ButtonTestServer, this, &TfrmConfig::ButtonTestServerClick, ctx_);
    dialogKeys(this, Button2, Button1);  // Enter: 修改, Esc: 关闭
    FormCreate();
}

QLineEdit* TfrmConfig::fieldFor(const std::string& key) const {
    for (const auto& f : fields_)
        if (f.key == key) return f.edit;
    return nullptr;
}

std::vector<std::string> TfrmConfig::memoLines() const {
    std::vector<std::string> lines;
    if (Memo1->document()->isEmpty()) return lines;
    for (QTextBlock b = Memo1->document()->begin(); b.isValid(); b = b.next())
        lines.push_back(b.text().toStdString());
    return lines;
}

void TfrmConfig::FormCreate() {
    ini_.emplace(ctx_.configFile());
}

void TfrmConfig::FormShow() {
    // A missing key shows as an empty field, the delays too.
    for (const auto& f : fields_) {
        f.edit->setText(qs(ini_->ReadString(st::kSection, f.key, "")));
        f.edit->setCursorPosition(0);  // long folder paths show from their start
    }
    CheckLogIn->setChecked(st::logInAtStart(*ini_));
    storedServer_ = ini_->ReadString(st::kSection, st::kDatabaseServer, "");
    EditServer->setText(qs(db::MaskedServerSetting(storedServer_)));
    EditServer->setCursorPosition(0);
    fitFieldsToContent();
}

void TfrmConfig::fitFieldsToContent() {
    constexpr int kNarrowest = 180;
    constexpr int kPadding = 16;  // frame, text margins and the cursor
    int widest = kNarrowest;
    for (const auto& f : fields_)
        widest = std::max(widest, f.edit->fontMetrics().horizontalAdvance(f.edit->text()) + kPadding);
    widest = std::max(widest, EditServer->fontMetrics().horizontalAdvance(EditServer->text()) + kPadding);
    // The labels, the buttons and the help text take the rest; a path longer than the screen allows
    // scrolls inside its field.
    if (QScreen* s = screen()) widest = std::min(widest, s->availableGeometry().width() * 3 / 5);
    for (const auto& f : fields_)
        f.edit->setMinimumWidth(widest);
    EditServer->setMinimumWidth(widest);
    adjustSize();
}

void TfrmConfig::Button2Click() {
    if (questionBox(ctx_.prompts(), "您确定要修改吗？") == Button::No) return;
    // Every value is checked before the first is written: a refused one leaves the file as it was.
    const std::optional<std::string> server = serverSetting();
    for (const auto& f : fields_)
        IniFile::CheckEntry(f.key, f.edit->text().toStdString());
    IniFile::CheckEntry(st::kDatabaseServer, *server);
    for (const auto& f : fields_)
        ini_->WriteString(st::kSection, f.key, f.edit->text().toStdString());
    // Written only when switched on or already present, so the file holds just the fields' keys
    // while the log-in is not used.
    if (CheckLogIn->isChecked() || !ini_->ReadString(st::kSection, st::kLogInAtStart, "").empty())
        ini_->WriteString(st::kSection, st::kLogInAtStart, CheckLogIn->isChecked() ? "1" : "0");
    // The same for the server: a desk that uses its own file keeps a file without the key.
    const bool serverChanged = *server != storedServer_;
    if (serverChanged) ini_->WriteString(st::kSection, st::kDatabaseServer, *server);
    storedServer_ = *server;
    EditServer->setText(qs(db::MaskedServerSetting(storedServer_)));
    plainMessage(ctx_.prompts(),
                 serverChanged ? "修改成功！数据库服务器的设置在程序下次启动时生效。" : "修改成功！");
}

void TfrmConfig::Button1Click() {
    close();
}

void TfrmConfig::Button3Click() {
    // The lister is connected by the layer that reaches the client's windows; without it the button
    // does nothing.
    if (!lister_) return;
    auto classes = lister_();
    if (!classes) {
        plainMessage(ctx_.prompts(), "未找到海关录入软件");
        return;
    }
    Memo1->clear();
    std::vector<std::string> listed;
    for (const auto& name : *classes) {
        if (std::find(listed.begin(), listed.end(), name) != listed.end()) continue;
        listed.push_back(name);
        Memo1->appendPlainText(qs(name));
    }
}

std::optional<std::string> TfrmConfig::serverSetting() const {
    auto value = db::UnmaskedServerSetting(EditServer->text().toStdString(), storedServer_);
    if (!value)
        throw db::DbError(
            "数据库服务器的设置中有几个不同的密码都显示为 ******，无法知道保留哪一个：请把密码重新写完整");
    return value;
}

void TfrmConfig::ButtonTestServerClick() {
    const std::string setting = *serverSetting();
    const std::string target = db::DatabaseTargetOf(setting);
    if (!db::IsServerTarget(target)) {
        infoBox(ctx_.prompts(), "数据库服务器一栏是空的：程序使用本机的数据库文件 DB.sqlite，不连接服务器。",
                "测试连接");
        return;
    }
    db::ServerProbe probe;
    {
        WaitCursor wait;
        probe = db::ProbeServer(target, kServerTestSeconds);
    }
    if (probe.ok)
        infoBox(ctx_.prompts(), probe.text + "（设置尚未保存；修改后在程序下次启动时生效）", "测试连接");
    else
        warningBox(ctx_.prompts(), probe.text, "测试连接");
}

void TfrmConfig::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;  // shown again by the window system, not opened
    guarded(ctx_, [this] { FormShow(); });
}

}  // namespace ca::app
