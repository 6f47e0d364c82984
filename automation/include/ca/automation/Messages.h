#pragma once
// The platform's numeric window messages, commands and flags that the automation sends. They carry
// their own names (WmSetText, not WM_SETTEXT) so that this header can sit next to <windows.h>,
// whose macros use the platform's spelling.
#include <cstdint>

namespace ca::automation {

using Message = std::uint32_t;

inline constexpr Message WmSetFocus = 0x0007;
inline constexpr Message WmSetText = 0x000C;  // wParam: ignored (we send the byte length), lParam: text
inline constexpr Message WmGetText = 0x000D;  // wParam: buffer size in bytes, lParam: buffer
inline constexpr Message WmClose = 0x0010;
inline constexpr Message WmKeyDown = 0x0100;
inline constexpr Message WmKeyUp = 0x0101;
inline constexpr Message WmCommand = 0x0111;
inline constexpr Message WmSysCommand = 0x0112;
inline constexpr Message WmLButtonDown = 0x0201;
inline constexpr Message WmLButtonUp = 0x0202;
inline constexpr Message WmPaste = 0x0302;
inline constexpr Message EmSetSel = 0x00B1;
inline constexpr Message EmSetReadOnly = 0x00CF;
inline constexpr Message LvmFirst = 0x1000;
inline constexpr Message LvmSetItemState = LvmFirst + 43;  // 0x102B
inline constexpr Message LvmGetItemTextA = LvmFirst + 45;  // 0x102D

inline constexpr std::uint32_t ScRestore = 0xF120;  // 61728, WM_SYSCOMMAND command
inline constexpr std::uint32_t VkReturn = 13;

inline constexpr std::uint32_t LvisFocused = 0x0001;
inline constexpr std::uint32_t LvisSelected = 0x0002;

inline constexpr std::uint32_t ProcessVmOperation = 0x0008;
inline constexpr std::uint32_t ProcessVmRead = 0x0010;
inline constexpr std::uint32_t ProcessVmWrite = 0x0020;
// The access the list-view operations ask for: 56 (hex 38).
inline constexpr std::uint32_t ListViewProcessAccess = ProcessVmOperation | ProcessVmRead | ProcessVmWrite;

// GetMenuItemID's answer for a position that holds a submenu or no item.
inline constexpr std::uint32_t NoMenuItemId = 0xFFFFFFFFu;

}  // namespace ca::automation
