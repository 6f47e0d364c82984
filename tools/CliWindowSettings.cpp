#include "CliWindowSettings.h"

#include <iostream>

#include "CliRegistry.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/MessageBoxes.h"

namespace ca::cli {

std::optional<WindowSettings> loadWindowSettings(const std::string& configOption, Prompts& prompts) {
    WindowSettings s;
    if (configOption.empty()) {
        s.file = settings::configPathFor(pathFromUtf8(executableDir()));
    } else {
        s.file = pathFromUtf8(configOption);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(s.file, ec)) {
            std::cerr << "错误：设置文件“" << configOption << "”不存在\n";
            return std::nullopt;
        }
    }
    const IniFile ini(s.file);
    settings::loadCreateGroup(ini, s.values);
    settings::loadShowGroup(ini, s.values);
    if (s.values.containerClass.empty()) plainMessage(prompts, "容器类名未设置，请先设置再导入");
    if (s.values.editClass.empty()) plainMessage(prompts, "文本框类名，请先设置再导入");
    return s;
}

}  // namespace ca::cli
