#include "ca/util/Settings.h"

#include <cstdlib>

namespace ca::settings {

const std::vector<std::string>& allKeys() {
    static const std::vector<std::string> keys = {
        kContainerClass, kEditClass,       kListClass,   kButtonClass,   kStaticClass,   kToolbarClass,
        kComboClass,     kMainDelay,       kGoodsDelay,  kOperatingUnit, kReceivingUnit, kDeclaringUnit,
        kTransportMode,  kSupervisionMode, kLevyKind,    kDestination,   kPackageKind,   kDeclarationType,
        kGoodsUse,       kGoodsDuty,       kProcessName, kUnimportedDir, kImportedDir,   kPostEntryDelay,
    };
    return keys;
}

const std::vector<std::string>& fileKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all = allKeys();
        all.insert(all.end(), {kLogInAtStart, kDatabaseServer});
        return all;
    }();
    return keys;
}

std::string defaultText(const std::string& key) {
    if (key == kMainDelay) return std::to_string(kDefaultMainDelay);
    if (key == kGoodsDelay) return std::to_string(kDefaultGoodsDelay);
    if (key == kProcessName) return kDefaultProcessName;
    if (key == kUnimportedDir || key == kImportedDir) return defaultFolder();
    if (key == kPostEntryDelay) return kDefaultPostEntryDelay;
    return "";
}

std::string defaultFolder() {
#ifdef _WIN32
    return "c:\\";
#else
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
#endif
}

std::filesystem::path configPathFor(const std::filesystem::path& executableDir) {
    return executableDir / kConfigFileName;
}

void loadCreateGroup(const IniFile& ini, LoadedSettings& s) {
    s.containerClass = ini.ReadString(kSection, kContainerClass, "");
    s.editClass = ini.ReadString(kSection, kEditClass, "");
    s.listClass = ini.ReadString(kSection, kListClass, "");
    s.buttonClass = ini.ReadString(kSection, kButtonClass, "");
    s.staticClass = ini.ReadString(kSection, kStaticClass, "");
    s.comboClass = ini.ReadString(kSection, kComboClass, "");
    s.mainDelay = ini.ReadInteger(kSection, kMainDelay, kDefaultMainDelay);
    s.goodsDelay = ini.ReadInteger(kSection, kGoodsDelay, kDefaultGoodsDelay);
}

void loadShowGroup(const IniFile& ini, LoadedSettings& s) {
    s.containerClass = ini.ReadString(kSection, kContainerClass, "");
    s.editClass = ini.ReadString(kSection, kEditClass, "");
    s.processName = ini.ReadString(kSection, kProcessName, kDefaultProcessName);
    s.unimportedDir = ini.ReadString(kSection, kUnimportedDir, defaultFolder());
    s.importedDir = ini.ReadString(kSection, kImportedDir, defaultFolder());
    s.postEntryDelay = ini.ReadString(kSection, kPostEntryDelay, kDefaultPostEntryDelay);
}

bool logInAtStart(const IniFile& ini) {
    return ini.ReadString(kSection, kLogInAtStart, "") == "1";
}

}  // namespace ca::settings
