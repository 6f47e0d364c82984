#include "ca/automation/Controls.h"

#include <cstring>

#include "GbkText.h"
#include "ca/util/Gbk.h"

namespace ca::automation {

HWnd FirstChild(Desktop& desktop, HWnd parent, std::string_view className) {
    if (parent == 0) return 0;
    return desktop.findChildWindow(parent, utf8ToGbk(className));
}

HWnd NextSibling(Desktop& desktop, HWnd window) {
    return window == 0 ? 0 : desktop.nextSiblingWindow(window);
}

Chain BuildChain(Desktop& desktop, HWnd parent, std::string_view className, std::size_t length) {
    Chain chain(length, 0);
    if (length == 0) return chain;
    chain[0] = FirstChild(desktop, parent, className);
    for (std::size_t k = 1; k < length && chain[k - 1] != 0; ++k)
        chain[k] = NextSibling(desktop, chain[k - 1]);
    return chain;
}

std::string ControlText(Desktop& desktop, HWnd window) {
    char buffer[256] = {};
    if (window != 0) desktop.sendMessage(window, WmGetText, sizeof buffer, reinterpret_cast<LParam>(buffer));
    buffer[sizeof buffer - 1] = '\0';
    return gbkToUtf8(withoutCutCharacter(std::string_view(buffer, std::strlen(buffer))));
}

void SendClick(Desktop& desktop, HWnd window) {
    desktop.sendMessage(window, WmLButtonDown, 0, 0);
    desktop.sendMessage(window, WmLButtonUp, 0, 0);
}

void PostClick(Desktop& desktop, HWnd window) {
    desktop.postMessage(window, WmLButtonDown, 0, 0);
    desktop.postMessage(window, WmLButtonUp, 0, 0);
}

bool MenuCommand(Desktop& desktop, HWnd window, int top, int item) {
    const HMenu bar = desktop.windowMenu(window);
    if (bar == 0) return false;
    const HMenu sub = desktop.subMenu(bar, top);
    if (sub == 0) return false;
    const std::uint32_t id = desktop.menuItemId(sub, item);
    const HMenu itemSub = desktop.subMenu(sub, item);
    // A submenu item has no identifier of its own; the platform's answer (all bits set) is
    // still sent, as the low 16 bits, together with that submenu's handle.
    if (id == NoMenuItemId && itemSub == 0) return false;
    desktop.sendMessage(window, WmCommand, id & 0xFFFFu, static_cast<LParam>(itemSub));
    return true;
}

}  // namespace ca::automation
