#pragma once
// The entry window map: the chains of panels and edit fields of the client's declaration form
// that both entry procedures write into. Rebuilt at the start of every entry.
#include <optional>
#include <string_view>

#include "ca/automation/Controls.h"
#include "ca/automation/Desktop.h"
#include "ca/util/Log.h"

namespace ca::automation {

struct EntryWindowMap {
    HWnd client = 0;       // the client's main window
    Chain OuterPanels;     // container chain under the main window, 11
    Chain InnerPanels;     // container chain under OuterPanels 0, 101
    Chain HeaderEdits;     // edit chain under InnerPanels 0, 82
    Chain Panel1Edits;     // edit chain under InnerPanels 1, 11
    Chain Panel3Edits;     // edit chain under InnerPanels 3, 5
    Chain Panel4Edits;     // edit chain under InnerPanels 4, 7
    Chain GoodsEdits;      // edit chain under InnerPanels 5, 42
    Chain SidePanelEdits;  // edit chain under OuterPanels 1, 11
};

inline constexpr const char* kSearchingEdits = "搜索编辑框.......";

// Finds the client by processName (logging "已找到海关录入程序" and restoring it) and builds the
// map. Fails, with its log line, when the client, the first container under the main window or
// the first container under that one is missing ("无法找到 " + container + "，请确认程序是否已经启动").
// Class names are UTF-8.
std::optional<EntryWindowMap> FindEntryControls(Desktop& desktop, Log& log, std::string_view processName,
                                                std::string_view containerClass, std::string_view editClass);

}  // namespace ca::automation
