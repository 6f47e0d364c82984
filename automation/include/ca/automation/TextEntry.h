#pragma once
// Putting text into the customs client's edit fields: the single steps and the five text-entry
// methods built from them. Texts are UTF-8 and reach the client as GBK bytes. Every message is
// sent synchronously; a message to an empty handle (0) does nothing, the pauses still happen.
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "ca/automation/Desktop.h"
#include "ca/util/Clock.h"

namespace ca::automation {

// The clipboard stayed held by another program through every attempt. Thrown instead of pasting
// whatever the clipboard held before.
class ClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Attempts and the pause between them when the clipboard is busy.
inline constexpr int kClipboardAttempts = 10;
inline constexpr std::int64_t kClipboardRetryMs = 20;

// --- Steps ---------------------------------------------------------------------------------------
void Click(Desktop& desktop, HWnd window);                       // WM_LBUTTONDOWN, WM_LBUTTONUP (sent)
void SelectAll(Desktop& desktop, HWnd window);                   // EM_SETSEL 0, -1
void Paste(Desktop& desktop, HWnd window);                       // WM_PASTE
void Focus(Desktop& desktop, HWnd window);                       // WM_SETFOCUS 0, 0
void SetReadOnly(Desktop& desktop, HWnd window, bool readOnly);  // EM_SETREADONLY 1 / 0
// WM_KEYDOWN Return, sleep keyPauseMs, WM_KEYUP Return.
void PressEnter(Desktop& desktop, Clock& clock, HWnd window, std::int64_t keyPauseMs);
// Replaces the clipboard with the text (GBK), with bounded retries; throws ClipboardError.
void PutClipboardText(Desktop& desktop, Clock& clock, std::string_view text);

// --- Methods -------------------------------------------------------------------------------------
// set: WM_SETTEXT with the GBK byte length and the text.
void SetText(Desktop& desktop, HWnd window, std::string_view text);
// focus-paste: focus; clipboard; paste.
void FocusPaste(Desktop& desktop, Clock& clock, HWnd window, std::string_view text);
// click-paste: click; select all when selectAll; clipboard; sleep pauseMs when > 0; paste.
void ClickPaste(Desktop& desktop, Clock& clock, HWnd window, std::string_view text, bool selectAll,
                std::int64_t pauseMs);
// paste-confirm: click; select all; clipboard; sleep pauseMs when > 0; paste; focus; Enter.
void PasteConfirm(Desktop& desktop, Clock& clock, HWnd window, std::string_view text, std::int64_t pauseMs,
                  std::int64_t keyPauseMs);
// The pause of unlock-paste between unlocking the field and clicking it.
inline constexpr std::int64_t kUnlockPauseMs = 100;
// unlock-paste: unlock; sleep kUnlockPauseMs; click; clipboard; paste; lock.
void UnlockPaste(Desktop& desktop, Clock& clock, HWnd window, std::string_view text);
// _SetText of the main window: paste-confirm with pause 0 and key pause 10.
void SetTextConfirm(Desktop& desktop, Clock& clock, HWnd window, std::string_view text);

}  // namespace ca::automation
