#include "CliWindowSettings.h"

#include "CliRegistry.h"
#include "InputFiles.h"
#include "ca/util/Folders.h"
#include "ca/util/IniFile.h"
#include "ca/util/MessageBoxes.h"

namespace ca::cli {

WindowSettings loadWindowSettings(const std::string& configOption, Prompts& prompts) {
    WindowSettings s;
    if (configOption.empty()) {
        s.file = settings::configPathFor(pathFromUtf8(executableDir()));
    } else {
        requireInputFile(configOption, "设置文件");
        s.file = pathFromUtf8(configOption);
    }
    const IniFile ini(s.file);
    settings::loadCreateGroup(ini, s.values);
    settings::loadShowGroup(ini, s.values);
    if (s.values.containerClass.empty()) plainMessage(prompts, "容器类名未设置，请先设置再导入");
    if (s.values.editClass.empty()) plainMessage(prompts, "文本框类名，请先设置再导入");
    return s;
}

}  // namespace ca::cli
