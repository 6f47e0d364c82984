#include "ca/automation/TextEntry.h"

#include <string>

#include "ca/automation/Controls.h"
#include "ca/util/Gbk.h"

namespace ca::automation {

void Click(Desktop& desktop, HWnd window) {
    SendClick(desktop, window);
}

void SelectAll(Desktop& desktop, HWnd window) {
    desktop.sendMessage(window, EmSetSel, 0, static_cast<LParam>(-1));
}

void Paste(Desktop& desktop, HWnd window) {
    desktop.sendMessage(window, WmPaste, 0, 0);
}

void Focus(Desktop& desktop, HWnd window) {
    desktop.sendMessage(window, WmSetFocus, 0, 0);
}

void SetReadOnly(Desktop& desktop, HWnd window, bool readOnly) {
    desktop.sendMessage(window, EmSetReadOnly, readOnly ? 1 : 0, 0);
}

void PressEnter(Desktop& desktop, Clock& clock, HWnd window, std::int64_t keyPauseMs) {
    desktop.sendMessage(window, WmKeyDown, VkReturn, 0);
    clock.sleepMs(keyPauseMs);
    desktop.sendMessage(window, WmKeyUp, VkReturn, 0);
}

void PutClipboardText(Desktop& desktop, Clock& clock, std::string_view text) {
    const std::string gbk = utf8ToGbk(text);
    for (int attempt = 1; attempt <= kClipboardAttempts; ++attempt) {
        if (desktop.trySetClipboardText(gbk)) return;
        if (attempt < kClipboardAttempts) clock.sleepMs(kClipboardRetryMs);
    }
    throw ClipboardError("剪贴板被其他程序占用，无法写入：" + std::string(text));
}

void SetText(Desktop& desktop, HWnd window, std::string_view text) {
    const std::string gbk = utf8ToGbk(text);
    desktop.sendMessage(window, WmSetText, gbk.size(), reinterpret_cast<LParam>(gbk.c_str()));
}

void FocusPaste(Desktop& desktop, Clock& clock, HWnd window, std::string_view text) {
    Focus(desktop, window);
    PutClipboardText(desktop, clock, text);
    Paste(desktop, window);
}

void ClickPaste(Desktop& desktop, Clock& clock, HWnd window, std::string_view text, bool selectAll,
                std::int64_t pauseMs) {
    Click(desktop, window);
    if (selectAll) SelectAll(desktop, window);
    PutClipboardText(desktop, clock, text);
    if (pauseMs > 0) clock.sleepMs(pauseMs);
    Paste(desktop, window);
}

void PasteConfirm(Desktop& desktop, Clock& clock, HWnd window, std::string_view text, std::int64_t pauseMs,
                  std::int64_t keyPauseMs) {
    ClickPaste(desktop, clock, window, text, true, pauseMs);
    Focus(desktop, window);
    PressEnter(desktop, clock, window, keyPauseMs);
}

void UnlockPaste(Desktop& desktop, Clock& clock, HWnd window, std::string_view text) {
    SetReadOnly(desktop, window, false);
    clock.sleepMs(kUnlockPauseMs);
    Click(desktop, window);
    PutClipboardText(desktop, clock, text);
    Paste(desktop, window);
    SetReadOnly(desktop, window, true);
}

void SetTextConfirm(Desktop& desktop, Clock& clock, HWnd window, std::string_view text) {
    PasteConfirm(desktop, clock, window, text, 0, 10);
}

}  // namespace ca::automation
