// The text-entry methods on real "Edit" controls of another process: WM_SETTEXT, the clipboard
// and WM_PASTE, EM_SETSEL, EM_SETREADONLY and the Return key the client confirms a field with.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Fixtures.h"
#include "StandinProcess.h"
#include "TestEnvironment.h"
#include "ca/automation/Controls.h"
#include "ca/automation/EntryControls.h"
#include "ca/automation/Lookup.h"
#include "ca/automation/TextEntry.h"
#include "ca/util/Clock.h"
#include "ca/util/Gbk.h"

namespace ca::win32test {
namespace {

using namespace ca::automation;

bool readOnly(HWnd w) {
    return (GetWindowLongA(reinterpret_cast<HWND>(w), GWL_STYLE) & ES_READONLY) != 0;
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<busy>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return ca::gbkToUtf8(text);
}

TEST(Win32TextEntry, EachMethodReachesARealEditControl) {
    StandinProcess client(testPaths().standin64, entryFixture("import"), "text-entry");
    ASSERT_TRUE(client.running());
    Desktop& desktop = realDesktop();
    SteadyClock clock;
    VectorLog log;
    auto map = FindEntryControls(desktop, log, "Eport.exe", kClasses.container, kClasses.edit);
    ASSERT_TRUE(map.has_value());

    using Write = std::function<void(HWnd, const std::string&)>;
    struct Case {
        const char* what;
        HWnd field;
        std::string before;  // set first with WM_SETTEXT
        std::string text;
        Write write;
        std::string after;    // the field's text afterwards
        std::string confirm;  // the client's confirmation line, empty: none
    };
    const Write set = [&](HWnd w, const std::string& t) { SetText(desktop, w, t); };
    const Write focusPaste = [&](HWnd w, const std::string& t) { FocusPaste(desktop, clock, w, t); };
    const Write clickPasteSelect = [&](HWnd w, const std::string& t) {
        ClickPaste(desktop, clock, w, t, true, 20);
    };
    const Write pasteConfirm = [&](HWnd w, const std::string& t) {
        PasteConfirm(desktop, clock, w, t, 50, 50);
    };
    const Write setTextConfirm = [&](HWnd w, const std::string& t) { SetTextConfirm(desktop, clock, w, t); };
    const Write unlockPaste = [&](HWnd w, const std::string& t) { UnlockPaste(desktop, clock, w, t); };
    const Write clickPasteNoSelect = [&](HWnd w, const std::string& t) {
        ClickPaste(desktop, clock, w, t, false, 0);
    };
    const std::string longText(300, '7');

    const Case cases[] = {
        {"set", map->HeaderEdits[1], "", "ABC-123", set, "ABC-123", ""},
        {"set GBK", map->HeaderEdits[2], "", "上海浦东国际机场", set, "上海浦东国际机场", ""},
        {"set empty", map->HeaderEdits[3], "old", "", set, "", ""},
        {"set 300 bytes reads back 255", map->HeaderEdits[4], "", longText, set, std::string(255, '7'), ""},
        {"focus-paste", map->HeaderEdits[5], "", "报关行", focusPaste, "报关行", ""},
        {"click-paste with select all", map->HeaderEdits[6], "旧值", "新值", clickPasteSelect, "新值", ""},
        {"paste-confirm", map->Panel1Edits[0], "old", "确认值", pasteConfirm, "确认值",
         "confirm Panel1 0: 确认值"},
        {"paste-confirm empty clears", map->Panel3Edits[2], "old", "", pasteConfirm, "",
         "confirm Panel3 2: "},
        {"_SetText", map->SidePanelEdits[3], "", "一般贸易", setTextConfirm, "一般贸易",
         "confirm Side 3: 一般贸易"},
        {"unlock-paste into a read-only field", map->GoodsEdits[9], "", "台澎金马关税区", unlockPaste,
         "台澎金马关税区", ""},
        {"paste into a read-only field does nothing", map->GoodsEdits[11], "", "x", clickPasteNoSelect, "",
         ""},
        {"a write to an empty position does nothing", 0, "", "lost", pasteConfirm, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.field)
            SendMessageA(reinterpret_cast<HWND>(c.field), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(ca::utf8ToGbk(c.before).c_str()));
        std::size_t linesBefore = client.received().size();
        c.write(c.field, c.text);
        EXPECT_EQ(ControlText(desktop, c.field), c.after);
        std::vector<std::string> received = client.received();
        std::vector<std::string> added(received.begin() + static_cast<std::ptrdiff_t>(linesBefore),
                                       received.end());
        EXPECT_EQ(added,
                  c.confirm.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.confirm});
    }
    // Unlock-paste leaves the field read-only again; the last text entered stays on the clipboard.
    EXPECT_TRUE(readOnly(map->GoodsEdits[9]));
    EXPECT_TRUE(readOnly(map->GoodsEdits[11]));
    EXPECT_FALSE(readOnly(map->GoodsEdits[10]));
    EXPECT_EQ(clipboardText(), "lost");
}

TEST(Win32TextEntry, AClientThatHasEndedIgnoresEveryWrite) {
    StandinProcess client(testPaths().standin64, entryFixture("import"), "text-entry-ended");
    ASSERT_TRUE(client.running());
    Desktop& desktop = realDesktop();
    SteadyClock clock;
    VectorLog log;
    auto map = FindEntryControls(desktop, log, "Eport.exe", kClasses.container, kClasses.edit);
    ASSERT_TRUE(map.has_value());
    client.kill();

    // The handles are stale: every message does nothing, the texts read back empty.
    SetText(desktop, map->HeaderEdits[1], "lost");
    PasteConfirm(desktop, clock, map->HeaderEdits[2], "lost", 0, 10);
    UnlockPaste(desktop, clock, map->GoodsEdits[9], "lost");
    EXPECT_EQ(ControlText(desktop, map->HeaderEdits[1]), "");
    EXPECT_EQ(desktop.windowClassName(map->HeaderEdits[1]), "");
    VectorLog after;
    EXPECT_FALSE(
        FindEntryControls(desktop, after, "Eport.exe", kClasses.container, kClasses.edit).has_value());
    EXPECT_EQ(after.lines, std::vector<std::string>{kClientNotFound});
}

}  // namespace
}  // namespace ca::win32test
