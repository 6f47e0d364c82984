#pragma once
// Control chains and the plain control operations: the customs client's controls are named by
// window class and position, never by caption or identifier. Class names are UTF-8 here.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ca/automation/Desktop.h"

namespace ca::automation {

// Positions 0..n-1 of a chain; an empty position holds 0.
using Chain = std::vector<HWnd>;

// The handle at a position, 0 for a position beyond the chain's length.
inline HWnd At(const Chain& chain, std::size_t position) {
    return position < chain.size() ? chain[position] : 0;
}

// First direct child of parent with the class name; 0 when none (or parent is 0).
HWnd FirstChild(Desktop& desktop, HWnd parent, std::string_view className);
HWnd NextSibling(Desktop& desktop, HWnd window);

// Chain of length n: position 0 is FirstChild(parent, className), position k the next sibling of
// position k-1 whatever its class. It ends early at the first position without a next sibling;
// that position and all later ones are 0.
Chain BuildChain(Desktop& desktop, HWnd parent, std::string_view className, std::size_t length);

// Text of a control as UTF-8: WM_GETTEXT with a 256-byte buffer, so at most 255 bytes of the
// client's text. A double-byte character cut in half by the limit is dropped, not garbled.
std::string ControlText(Desktop& desktop, HWnd window);

// WM_LBUTTONDOWN then WM_LBUTTONUP, both parameters zero: sent (waits) or posted (queued).
void SendClick(Desktop& desktop, HWnd window);
void PostClick(Desktop& desktop, HWnd window);

// Menu command by position (positions from 0): the window's menu bar, its submenu at top, the
// identifier of the item at item; WM_COMMAND (identifier in the low 16 bits, that item's own
// submenu or 0) sent to the window. Returns false when the menu, submenu or item is missing
// (nothing is sent then).
bool MenuCommand(Desktop& desktop, HWnd window, int top, int item);

}  // namespace ca::automation
