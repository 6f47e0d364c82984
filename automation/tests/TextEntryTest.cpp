#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "ca/automation/TextEntry.h"
#include "ca/util/Gbk.h"

namespace ca::automation {
namespace {

using sim::Area;
using testing::Desk;
using testing::entryConfig;

// One traced step: time, message (0 = clipboard write), first parameter, text.
struct Step {
    std::int64_t atMs;
    Message msg;
    WParam wParam;
    LParam lParam;
    std::string text;
    bool operator==(const Step&) const = default;
};

std::vector<Step> steps(const sim::SimDesktop& desktop) {
    std::vector<Step> out;
    for (const auto& t : desktop.trace()) {
        out.push_back({t.atMs, t.msg, t.wParam, t.msg == WmSetText ? 0 : t.lParam, gbkToUtf8(t.text)});
    }
    return out;
}

TEST(TextEntryMethods, SendTheirStepsInOrderWithThePauses) {
    const std::string text = "上海";  // 4 GBK bytes
    struct Case {
        const char* method;
        std::function<void(Desk&, HWnd)> run;
        std::vector<Step> expected;
    };
    const Case cases[] = {
        {"set", [&](Desk& d, HWnd w) { SetText(d.desktop, w, text); }, {{0, WmSetText, 4, 0, text}}},
        {"focus-paste",
         [&](Desk& d, HWnd w) { FocusPaste(d.desktop, d.clock, w, text); },
         {{0, WmSetFocus, 0, 0, ""}, {0, 0, 0, 0, text}, {0, WmPaste, 0, 0, ""}}},
        {"click-paste with select, pause 50",
         [&](Desk& d, HWnd w) { ClickPaste(d.desktop, d.clock, w, text, true, 50); },
         {{0, WmLButtonDown, 0, 0, ""},
          {0, WmLButtonUp, 0, 0, ""},
          {0, EmSetSel, 0, -1, ""},
          {0, 0, 0, 0, text},
          {50, WmPaste, 0, 0, ""}}},
        {"click-paste without select, no pause",
         [&](Desk& d, HWnd w) { ClickPaste(d.desktop, d.clock, w, text, false, 0); },
         {{0, WmLButtonDown, 0, 0, ""},
          {0, WmLButtonUp, 0, 0, ""},
          {0, 0, 0, 0, text},
          {0, WmPaste, 0, 0, ""}}},
        {"paste-confirm 50/20",
         [&](Desk& d, HWnd w) { PasteConfirm(d.desktop, d.clock, w, text, 50, 20); },
         {{0, WmLButtonDown, 0, 0, ""},
          {0, WmLButtonUp, 0, 0, ""},
          {0, EmSetSel, 0, -1, ""},
          {0, 0, 0, 0, text},
          {50, WmPaste, 0, 0, ""},
          {50, WmSetFocus, 0, 0, ""},
          {50, WmKeyDown, VkReturn, 0, ""},
          {70, WmKeyUp, VkReturn, 0, ""}}},
        {"_SetText",
         [&](Desk& d, HWnd w) { SetTextConfirm(d.desktop, d.clock, w, text); },
         {{0, WmLButtonDown, 0, 0, ""},
          {0, WmLButtonUp, 0, 0, ""},
          {0, EmSetSel, 0, -1, ""},
          {0, 0, 0, 0, text},
          {0, WmPaste, 0, 0, ""},
          {0, WmSetFocus, 0, 0, ""},
          {0, WmKeyDown, VkReturn, 0, ""},
          {10, WmKeyUp, VkReturn, 0, ""}}},
        {"unlock-paste",
         [&](Desk& d, HWnd w) { UnlockPaste(d.desktop, d.clock, w, text); },
         {{0, EmSetReadOnly, 0, 0, ""},
          {100, WmLButtonDown, 0, 0, ""},
          {100, WmLButtonUp, 0, 0, ""},
          {100, 0, 0, 0, text},
          {100, WmPaste, 0, 0, ""},
          {100, EmSetReadOnly, 1, 0, ""}}},
    };
    for (const Case& c : cases) {
        Desk desk;
        auto client = desk.client(entryConfig());
        const HWnd field = client->fieldWindow({Area::Header, 1});
        desk.desktop.setTracing(true);
        c.run(desk, field);
        EXPECT_EQ(steps(desk.desktop), c.expected) << c.method;
        // Every message goes to the field itself; clipboard writes carry no window.
        for (const auto& t : desk.desktop.trace())
            EXPECT_EQ(t.window, t.msg == 0 ? 0u : field) << c.method;
        EXPECT_EQ(client->fieldText({Area::Header, 1}), text) << c.method;
    }
}

TEST(TextEntryMethods, WhatTheClientHolds) {
    Desk desk;
    auto client = desk.client(entryConfig());
    const HWnd field = client->fieldWindow({Area::Header, 71});

    // Paste-confirm replaces the whole text and confirms it.
    SetText(desk.desktop, field, "旧的内容");
    PasteConfirm(desk.desktop, desk.clock, field, "新", 50, 50);
    EXPECT_EQ(client->fieldText({Area::Header, 71}), "新");

    // An empty text with paste-confirm clears the field and still presses Return.
    PasteConfirm(desk.desktop, desk.clock, field, "", 50, 50);
    EXPECT_EQ(client->fieldText({Area::Header, 71}), "");
    ASSERT_EQ(client->confirmations().size(), 2u);
    EXPECT_EQ(client->confirmations()[1].field, (sim::FieldRef{Area::Header, 71}));
    EXPECT_EQ(client->confirmations()[1].text, "");

    // An empty text with set sends a zero length and an empty text.
    SetText(desk.desktop, field, "x");
    desk.desktop.setTracing(true);
    SetText(desk.desktop, field, "");
    ASSERT_EQ(desk.desktop.trace().size(), 1u);
    EXPECT_EQ(desk.desktop.trace()[0].wParam, 0u);
    EXPECT_EQ(desk.desktop.trace()[0].text, "");
    EXPECT_EQ(client->fieldText({Area::Header, 71}), "");

    // Click-paste without select-all inserts before the existing text.
    SetText(desk.desktop, field, "B");
    ClickPaste(desk.desktop, desk.clock, field, "A", false, 0);
    EXPECT_EQ(client->fieldText({Area::Header, 71}), "AB");
}

TEST(TextEntryMethods, ReadOnlyGoodsFieldsTakeTextOnlyWhenUnlocked) {
    Desk desk;
    auto client = desk.client(entryConfig());
    const HWnd locked = client->fieldWindow({Area::Goods, 18});
    ASSERT_TRUE(client->fieldReadOnly({Area::Goods, 18}));
    FocusPaste(desk.desktop, desk.clock, locked, "千克");
    EXPECT_EQ(client->fieldText({Area::Goods, 18}), "");
    UnlockPaste(desk.desktop, desk.clock, locked, "千克");
    EXPECT_EQ(client->fieldText({Area::Goods, 18}), "千克");
    EXPECT_TRUE(client->fieldReadOnly({Area::Goods, 18}));
}

TEST(TextEntryMethods, ReturnOnTheLastGoodsFieldFinishesTheLine) {
    struct Case {
        sim::FormKind kind;
        int lastField;
        int otherConfirmed;
    };
    const Case cases[] = {{sim::FormKind::Import, 4, 7}, {sim::FormKind::Export, 2, 6}};
    for (const Case& c : cases) {
        Desk desk;
        auto client = desk.client(entryConfig(c.kind));
        auto goods = [&](int p) { return client->fieldWindow({Area::Goods, p}); };
        for (int line = 1; line <= 2; ++line) {
            SetText(desk.desktop, goods(0), "8471300" + std::to_string(line));
            SetTextConfirm(desk.desktop, desk.clock, goods(c.otherConfirmed), "日本");
            ClickPaste(desk.desktop, desk.clock, goods(c.lastField), "照章征税", false, 0);
            Focus(desk.desktop, goods(c.lastField));
            PressEnter(desk.desktop, desk.clock, goods(c.lastField), 10);
        }
        ASSERT_EQ(client->goodsLines().size(), 2u);
        for (int line = 0; line < 2; ++line) {
            const auto& texts = client->goodsLines()[static_cast<std::size_t>(line)];
            EXPECT_EQ(texts[0], "8471300" + std::to_string(line + 1));
            EXPECT_EQ(texts[static_cast<std::size_t>(c.otherConfirmed)], "日本");
            EXPECT_EQ(texts[static_cast<std::size_t>(c.lastField)], "照章征税");
        }
        // The fields are ready for the next line.
        EXPECT_EQ(client->fieldText({Area::Goods, 0}), "");
        EXPECT_EQ(client->confirmations().size(), 4u);
    }
}

TEST(Clipboard, BusyClipboardIsRetriedThenRefused) {
    Desk desk;
    auto client = desk.client(entryConfig());
    const HWnd field = client->fieldWindow({Area::Header, 4});

    desk.desktop.setClipboardBusy(3);
    FocusPaste(desk.desktop, desk.clock, field, "第一");
    EXPECT_EQ(client->fieldText({Area::Header, 4}), "第一");
    EXPECT_EQ(desk.desktop.clipboardAttempts(), 4);
    EXPECT_EQ(desk.clock.nowMs(), 3 * kClipboardRetryMs);

    // A clipboard that stays busy: an error, and the old clipboard text is not pasted.
    desk.desktop.setClipboardBusy(-1);
    const HWnd other = client->fieldWindow({Area::Header, 5});
    EXPECT_THROW(PasteConfirm(desk.desktop, desk.clock, other, "第二", 50, 50), ClipboardError);
    EXPECT_EQ(client->fieldText({Area::Header, 5}), "");
    EXPECT_EQ(desk.desktop.clipboardAttempts(), 4 + kClipboardAttempts);
    EXPECT_TRUE(client->confirmations().empty());
}

}  // namespace
}  // namespace ca::automation
