#include "ca/automation/EntryControls.h"

#include <string>

#include "ca/automation/Lookup.h"

namespace ca::automation {

std::optional<EntryWindowMap> FindEntryControls(Desktop& desktop, Log& log, std::string_view processName,
                                                std::string_view containerClass, std::string_view editClass) {
    EntryWindowMap map;
    map.client = FindClient(desktop, log, processName);
    if (map.client == 0) return std::nullopt;
    log.append(kClientFound);

    const std::string containerMissing =
        "无法找到 " + std::string(containerClass) + "，请确认程序是否已经启动";
    map.OuterPanels = Chain(11, 0);
    map.OuterPanels[0] = FirstChild(desktop, map.client, containerClass);
    if (map.OuterPanels[0] == 0) {
        log.append(containerMissing);
        return std::nullopt;
    }
    const HWnd inner0 = FirstChild(desktop, map.OuterPanels[0], containerClass);
    if (inner0 == 0) {
        log.append(containerMissing);
        return std::nullopt;
    }
    log.append(kSearchingEdits);

    map.InnerPanels = BuildChain(desktop, map.OuterPanels[0], containerClass, 101);
    map.HeaderEdits = BuildChain(desktop, At(map.InnerPanels, 0), editClass, 82);
    map.GoodsEdits = BuildChain(desktop, At(map.InnerPanels, 5), editClass, 42);
    map.Panel3Edits = BuildChain(desktop, At(map.InnerPanels, 3), editClass, 5);
    map.Panel4Edits = BuildChain(desktop, At(map.InnerPanels, 4), editClass, 7);
    map.OuterPanels = BuildChain(desktop, map.client, containerClass, 11);
    map.SidePanelEdits = BuildChain(desktop, At(map.OuterPanels, 1), editClass, 11);
    map.Panel1Edits = BuildChain(desktop, At(map.InnerPanels, 1), editClass, 11);
    return map;
}

}  // namespace ca::automation
