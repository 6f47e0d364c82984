#include "ca/app/main/DropRule.h"

namespace ca::app {

DropOutcome acceptDroppedFiles(const std::vector<std::string>& paths) {
    DropOutcome out;
    for (const auto& path : paths) {
        if (path.find("xls") != std::string::npos) {
            out.pendingFile = path;
            out.logLines.push_back(path);
        } else {
            out.logLines.push_back(path + " 不是一个有效的EXCEL文件，无法导入！");
        }
    }
    return out;
}

}  // namespace ca::app
