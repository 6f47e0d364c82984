#include "ca/entry/Write.h"

#include "ca/automation/TextEntry.h"

namespace ca::entry {

std::string_view chainName(Chain chain) {
    switch (chain) {
        case Chain::SidePanelEdits:
            return "SidePanelEdits";
        case Chain::HeaderEdits:
            return "HeaderEdits";
        case Chain::Panel1Edits:
            return "Panel1Edits";
        case Chain::Panel3Edits:
            return "Panel3Edits";
        case Chain::Panel4Edits:
            return "Panel4Edits";
        case Chain::GoodsEdits:
            return "GoodsEdits";
    }
    return "?";
}

std::string methodText(const Method& m) {
    std::string s;
    switch (m.kind) {
        case MethodKind::Set:
            s = "set";
            break;
        case MethodKind::FocusPaste:
            s = "focus-paste";
            break;
        case MethodKind::ClickPaste:
            s = std::string("click-paste select=") + (m.selectAll ? "yes" : "no") +
                " p=" + std::to_string(m.pauseMs);
            break;
        case MethodKind::PasteConfirm:
            s = "paste-confirm p=" + std::to_string(m.pauseMs) + " k=" + std::to_string(m.keyPauseMs);
            break;
        case MethodKind::UnlockPaste:
            s = "unlock-paste";
            break;
    }
    if (m.enterKeyPauseMs >= 0) s += " +enter k=" + std::to_string(m.enterKeyPauseMs);
    if (m.sleepAfterPasteMs > 0) s += " +sleep " + std::to_string(m.sleepAfterPasteMs);
    return s;
}

int pauseMs(const Method& m) {
    int ms = m.enterKeyPauseMs > 0 ? m.enterKeyPauseMs : 0;
    switch (m.kind) {
        case MethodKind::Set:
        case MethodKind::FocusPaste:
            break;
        case MethodKind::ClickPaste:
            ms += m.pauseMs;
            break;
        case MethodKind::PasteConfirm:
            ms += m.pauseMs + m.keyPauseMs + m.sleepAfterPasteMs;
            break;
        case MethodKind::UnlockPaste:
            ms += static_cast<int>(automation::kUnlockPauseMs);
            break;
    }
    return ms;
}

std::string progressText(const Write& write) {
    switch (write.stage) {
        case Stage::Header:
            return "表头";
        case Stage::Lists:
            return "清单";
        case Stage::Goods:
            return "商品 " + std::to_string(write.goodsLine) + "/" + std::to_string(write.goodsCount);
    }
    return {};
}

}  // namespace ca::entry
