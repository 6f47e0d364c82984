#pragma once
// The keys of config.ini, their defaults, and the two groups of values the main window loads at
// start. Every setting lives in one section of one file next to the executable.
#include <filesystem>
#include <string>
#include <vector>

#include "ca/util/IniFile.h"

namespace ca::settings {

inline constexpr const char* kSection = "程序默认数据";

inline constexpr const char* kContainerClass = "容器类名";
inline constexpr const char* kEditClass = "编辑框类名";
inline constexpr const char* kListClass = "表格类名";
inline constexpr const char* kButtonClass = "按钮类名";
inline constexpr const char* kStaticClass = "文本类名";
inline constexpr const char* kToolbarClass = "工具拦类名";
inline constexpr const char* kComboClass = "下拉框类名";
inline constexpr const char* kMainDelay = "主单延迟";
inline constexpr const char* kGoodsDelay = "子数据延迟";
inline constexpr const char* kOperatingUnit = "经营单位";
inline constexpr const char* kReceivingUnit = "收货单位";
inline constexpr const char* kDeclaringUnit = "申报单位";
inline constexpr const char* kTransportMode = "运输方式";
inline constexpr const char* kSupervisionMode = "监管方式";
inline constexpr const char* kLevyKind = "征免性质";
inline constexpr const char* kDestination = "境内目的地";
inline constexpr const char* kPackageKind = "包装种类";
inline constexpr const char* kDeclarationType = "报关单类型";
inline constexpr const char* kGoodsUse = "商品用途";
inline constexpr const char* kGoodsDuty = "商品征免";
inline constexpr const char* kProcessName = "QP进程名";
inline constexpr const char* kUnimportedDir = "未导入文件目录";
inline constexpr const char* kImportedDir = "已导入文件目录";
inline constexpr const char* kPostEntryDelay = "导入后延时";
// Not one of the fields of the settings dialog's list: "1" asks for a user name and password at
// start (the optional log-in); a missing key or any other value starts without one.
inline constexpr const char* kLogInAtStart = "启动时登录";
// Not in the settings dialog either: the database server several desks share, as a PostgreSQL
// connection text ("host=192.168.1.5 port=5432 dbname=customs user=clerk password=..." or
// "postgresql://..."). Missing or empty: the desk's own DB.sqlite.
inline constexpr const char* kDatabaseServer = "数据库服务器";

inline constexpr int kDefaultMainDelay = 300;
inline constexpr int kDefaultGoodsDelay = 160;
inline constexpr const char* kDefaultProcessName = "Eport.exe";
inline constexpr const char* kDefaultPostEntryDelay = "400";
inline constexpr const char* kConfigFileName = "config.ini";
// The desk's own database, in the folder that is current when it opens.
inline constexpr const char* kDatabaseFileName = "DB.sqlite";

// Every key, in the order the settings dialog shows and saves them.
const std::vector<std::string>& allKeys();

// Every key config.ini may hold: the dialog's, then the log-in at start and the database server,
// which are written outside its list.
const std::vector<std::string>& fileKeys();

// The default the program uses when the key is missing, as text ("" for most keys, "300" for the
// main delay, the platform's folder default for the two folders ...).
std::string defaultText(const std::string& key);

// Default of the two folder keys: "c:\" on Windows; elsewhere the user's home directory, because a
// drive path does not exist there and would fail every first start.
std::string defaultFolder();

// True when the settings ask for the log-in at start.
bool logInAtStart(const IniFile& ini);

// config.ini in the given folder (the folder of the running executable).
std::filesystem::path configPathFor(const std::filesystem::path& executableDir);

// The values the main window holds for the whole run.
struct LoadedSettings {
    // Loaded when the main window is created (class names again when it is first shown).
    std::string containerClass;
    std::string editClass;
    std::string listClass;
    std::string buttonClass;
    std::string staticClass;
    std::string comboClass;
    int mainDelay = kDefaultMainDelay;
    int goodsDelay = kDefaultGoodsDelay;
    // Loaded when the main window is first shown.
    std::string processName = kDefaultProcessName;
    std::string unimportedDir;
    std::string importedDir;
    std::string postEntryDelay = kDefaultPostEntryDelay;  // text; converted where it is used
};

// First group: the six class names and the two download delays.
void loadCreateGroup(const IniFile& ini, LoadedSettings& s);
// Second group: container and edit class names again, process name, both folders, post-entry delay.
void loadShowGroup(const IniFile& ini, LoadedSettings& s);

}  // namespace ca::settings
