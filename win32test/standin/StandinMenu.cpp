#include "StandinMenu.h"

#include <string>

#include "ca/automation/sim/StandInConfig.h"
#include "ca/util/Gbk.h"

namespace ca::win32test {

namespace sim = ca::automation::sim;

HMENU buildClientMenuBar() {
    static const char* const kMenus[sim::kMenuCount] = {"文件", "编辑", "查询", "打印",
                                                        "申报", "工具", "窗口", "报关单"};
    static const char* const kItems[sim::kMenuItems] = {"新建", "打开", "关闭", "保存"};
    HMENU bar = CreateMenu();
    for (int top = 0; top < sim::kMenuCount; ++top) {
        HMENU popup = CreatePopupMenu();
        for (int item = 0; item < sim::kMenuItems; ++item) {
            std::string caption = ca::utf8ToGbk(kItems[item]);
            AppendMenuA(popup, MF_STRING, sim::menuItemIdentifier(top, item), caption.c_str());
        }
        std::string caption = ca::utf8ToGbk(kMenus[top]);
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
    }
    return bar;
}

}  // namespace ca::win32test
