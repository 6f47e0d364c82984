#include "ca/entry/AutomationEntryClient.h"

#include "ca/automation/TextEntry.h"

namespace ca::entry {

namespace am = ca::automation;

bool AutomationEntryClient::findEntryControls(Log& log, const EntrySettings& settings) {
    map_ = am::FindEntryControls(desktop_, log, settings.processName, settings.containerClass,
                                 settings.editClass);
    return map_.has_value();
}

am::HWnd AutomationEntryClient::window(Chain chain, int position) const {
    if (!map_ || position < 0) return 0;
    const auto pos = static_cast<std::size_t>(position);
    switch (chain) {
        case Chain::SidePanelEdits:
            return am::At(map_->SidePanelEdits, pos);
        case Chain::HeaderEdits:
            return am::At(map_->HeaderEdits, pos);
        case Chain::Panel1Edits:
            return am::At(map_->Panel1Edits, pos);
        case Chain::Panel3Edits:
            return am::At(map_->Panel3Edits, pos);
        case Chain::Panel4Edits:
            return am::At(map_->Panel4Edits, pos);
        case Chain::GoodsEdits:
            return am::At(map_->GoodsEdits, pos);
    }
    return 0;
}

void AutomationEntryClient::type(Chain chain, int position, const Method& m, const std::string& text) {
    const am::HWnd w = window(chain, position);
    switch (m.kind) {
        case MethodKind::Set:
            am::SetText(desktop_, w, text);
            break;
        case MethodKind::FocusPaste:
            am::FocusPaste(desktop_, clock_, w, text);
            break;
        case MethodKind::ClickPaste:
            am::ClickPaste(desktop_, clock_, w, text, m.selectAll, m.pauseMs);
            break;
        case MethodKind::PasteConfirm:
            if (m.sleepAfterPasteMs > 0) {
                // paste-confirm with a further sleep between the paste and the confirmation.
                am::Click(desktop_, w);
                am::SelectAll(desktop_, w);
                am::PutClipboardText(desktop_, clock_, text);
                if (m.pauseMs > 0) clock_.sleepMs(m.pauseMs);
                am::Paste(desktop_, w);
                clock_.sleepMs(m.sleepAfterPasteMs);
                am::Focus(desktop_, w);
                am::PressEnter(desktop_, clock_, w, m.keyPauseMs);
            } else {
                am::PasteConfirm(desktop_, clock_, w, text, m.pauseMs, m.keyPauseMs);
            }
            break;
        case MethodKind::UnlockPaste:
            am::UnlockPaste(desktop_, clock_, w, text);
            break;
    }
    if (m.enterKeyPauseMs >= 0) {
        am::Focus(desktop_, w);
        am::PressEnter(desktop_, clock_, w, m.enterKeyPauseMs);
    }
}

}  // namespace ca::entry
