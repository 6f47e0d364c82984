#pragma once
// The settings a download uses: the client's window class names and the two delays.
#include <cstdint>
#include <string>

#include "ca/util/Settings.h"

namespace ca::download {

struct DownloadSettings {
    std::string containerClass;       // "容器类名": panels
    std::string editClass;            // "编辑框类名": text fields
    std::string listClass;            // "表格类名": list views
    std::string buttonClass;          // "按钮类名": buttons
    std::string comboClass;           // "下拉框类名": drop-down boxes
    std::int64_t mainDelayMs = 300;   // "主单延迟"
    std::int64_t goodsDelayMs = 160;  // "子数据延迟"

    // The values the main window loaded at start.
    static DownloadSettings from(const settings::LoadedSettings& s) {
        return {s.containerClass, s.editClass, s.listClass, s.buttonClass,
                s.comboClass,     s.mainDelay, s.goodsDelay};
    }
};

}  // namespace ca::download
