#pragma once
// One write of a declaration entry: which field of the client's entry form gets which text and by
// which text-entry method. The builder turns a sheet into an ordered list of writes; the executor
// types that list and the preview prints it, so the two can never disagree.
#include <string>
#include <string_view>

namespace ca::entry {

// The chains of the entry window map that entry writes into.
enum class Chain { SidePanelEdits, HeaderEdits, Panel1Edits, Panel3Edits, Panel4Edits, GoodsEdits };

std::string_view chainName(Chain chain);

enum class MethodKind { Set, FocusPaste, ClickPaste, PasteConfirm, UnlockPaste };

// A text-entry method with its pauses in milliseconds.
struct Method {
    MethodKind kind = MethodKind::Set;
    bool selectAll = false;     // click-paste: select all before pasting
    int pauseMs = 0;            // p: sleep before the paste (click-paste, paste-confirm)
    int keyPauseMs = 0;         // k: sleep between Enter down and up (paste-confirm)
    int enterKeyPauseMs = -1;   // click-paste followed by focus and Enter with this key pause; -1: none
    int sleepAfterPasteMs = 0;  // paste-confirm with a further sleep right after the paste

    static Method set() { return {}; }
    static Method focusPaste() { return of(MethodKind::FocusPaste); }
    static Method clickPaste(bool select, int p) {
        Method m = of(MethodKind::ClickPaste);
        m.selectAll = select;
        m.pauseMs = p;
        return m;
    }
    static Method pasteConfirm(int p, int k) {
        Method m = of(MethodKind::PasteConfirm);
        m.pauseMs = p;
        m.keyPauseMs = k;
        return m;
    }
    // The main window's _SetText: paste-confirm with p 0 and k 10.
    static Method setText() { return pasteConfirm(0, 10); }
    static Method unlockPaste() { return of(MethodKind::UnlockPaste); }
    static Method of(MethodKind kind) {
        Method m;
        m.kind = kind;
        return m;
    }
    Method withEnter(int k) const {
        Method m = *this;
        m.enterKeyPauseMs = k;
        return m;
    }
    Method withSleepAfterPaste(int ms) const {
        Method m = *this;
        m.sleepAfterPasteMs = ms;
        return m;
    }

    bool operator==(const Method&) const = default;
};

// "set", "focus-paste", "click-paste select=yes p=0", "paste-confirm p=50 k=50",
// "click-paste select=no p=0 +enter k=10", "paste-confirm p=50 k=50 +sleep 10", "unlock-paste".
std::string methodText(const Method& method);

// The pauses a method mandates, in milliseconds: the sum of its sleeps.
int pauseMs(const Method& method);

// Where in the declaration a write belongs; the progress figure follows it.
enum class Stage { Header, Lists, Goods };

struct Write {
    Chain chain = Chain::HeaderEdits;
    int position = 0;
    Method method;
    std::string text;        // UTF-8; the text typed
    std::string settingKey;  // not empty: the text is read from the settings file when typed
    Stage stage = Stage::Header;
    int goodsLine = 0;   // 1-based goods line for Stage::Goods
    int goodsCount = 0;  // goods lines of the declaration

    bool operator==(const Write&) const = default;
};

// The progress figure shown while a write is typed: "表头", "清单" or "商品 k/n".
std::string progressText(const Write& write);

}  // namespace ca::entry
