// The writes of a declaration in their order with their methods and pauses, and the steps the last
// write of a goods line sends, so that a write typed in the wrong place of the sequence or by the
// wrong method shows even when the field ends up holding the right text.
#include <gtest/gtest.h>

#include "EntryHarness.h"
#include "ca/util/Gbk.h"

using namespace ca::entry;
using namespace ca::entry::testing;

namespace {

using Lines = std::vector<std::string>;

// "chain position method" of every write; the goods lines only when goods is true.
Lines writeList(DeclarationKind kind, MapCellSource sheet, bool goods) {
    Lines out;
    for (const Write& w : buildWrites(kind, sheet)) {
        if ((w.stage == Stage::Goods) != goods) continue;
        out.push_back(std::string(chainName(w.chain)) + " " + std::to_string(w.position) + " " +
                      methodText(w.method));
    }
    return out;
}

const char* const kSetText = "paste-confirm p=0 k=10";

Lines withSetText(std::initializer_list<std::string> lines) {
    Lines out;
    for (std::string l : lines) {
        if (auto at = l.find("_SetText"); at != std::string::npos) l.replace(at, 8, kSetText);
        out.push_back(l);
    }
    return out;
}

const Lines kListLines = {"Panel4Edits 4 paste-confirm p=20 k=20", "Panel4Edits 2 paste-confirm p=20 k=20",
                          "Panel4Edits 0 paste-confirm p=20 k=20", "Panel4Edits 4 paste-confirm p=20 k=20",
                          "Panel4Edits 2 paste-confirm p=20 k=20", "Panel4Edits 0 paste-confirm p=20 k=20",
                          "Panel3Edits 2 paste-confirm p=50 k=50", "Panel3Edits 0 paste-confirm p=50 k=50",
                          "Panel3Edits 2 paste-confirm p=50 k=50", "Panel3Edits 0 paste-confirm p=50 k=50"};

Lines joined(Lines a, const Lines& b, const Lines& c) {
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    return a;
}

}  // namespace

TEST(EntryWrites, HeaderInTheOrderOfItsTable) {
    const Lines importHeader = joined(
        withSetText({"SidePanelEdits 3 paste-confirm p=50 k=50", "HeaderEdits 69 set",
                     "HeaderEdits 57 focus-paste", "HeaderEdits 63 focus-paste", "HeaderEdits 52 focus-paste",
                     "HeaderEdits 32 _SetText"}),
        kListLines,
        withSetText({"Panel1Edits 0 set",          "HeaderEdits 30 set",        "HeaderEdits 12 set",
                     "HeaderEdits 14 set",         "HeaderEdits 50 set",        "HeaderEdits 25 _SetText",
                     "HeaderEdits 26 _SetText",    "HeaderEdits 24 _SetText",   "HeaderEdits 17 _SetText",
                     "HeaderEdits 18 _SetText",    "HeaderEdits 16 _SetText",   "HeaderEdits 21 _SetText",
                     "HeaderEdits 22 _SetText",    "HeaderEdits 20 _SetText",   "HeaderEdits 73 _SetText",
                     "HeaderEdits 4 set",          "HeaderEdits 60 _SetText",   "HeaderEdits 46 _SetText",
                     "HeaderEdits 44 _SetText",    "HeaderEdits 40 _SetText",   "HeaderEdits 36 _SetText",
                     "HeaderEdits 38 _SetText",    "HeaderEdits 28 _SetText",   "HeaderEdits 1 _SetText",
                     "HeaderEdits 55 focus-paste", "HeaderEdits 48 focus-paste"}));
    const Lines exportHeader =
        joined(withSetText({"SidePanelEdits 3 paste-confirm p=50 k=50", "HeaderEdits 68 set",
                            "HeaderEdits 56 focus-paste", "HeaderEdits 62 focus-paste",
                            "HeaderEdits 51 focus-paste", "HeaderEdits 31 _SetText"}),
               kListLines, withSetText({"Panel1Edits 0 set",         "HeaderEdits 29 set",
                                        "HeaderEdits 11 set",        "HeaderEdits 13 set",
                                        "HeaderEdits 33 set",        "HeaderEdits 49 set",
                                        "HeaderEdits 81 set",        "HeaderEdits 80 paste-confirm p=50 k=50",
                                        "HeaderEdits 3 set",         "HeaderEdits 24 _SetText",
                                        "HeaderEdits 25 _SetText",   "HeaderEdits 23 _SetText",
                                        "HeaderEdits 16 _SetText",   "HeaderEdits 17 _SetText",
                                        "HeaderEdits 15 _SetText",   "HeaderEdits 20 _SetText",
                                        "HeaderEdits 21 _SetText",   "HeaderEdits 19 _SetText",
                                        "HeaderEdits 72 _SetText",   "HeaderEdits 59 _SetText",
                                        "HeaderEdits 45 _SetText",   "HeaderEdits 43 _SetText",
                                        "HeaderEdits 39 _SetText",   "HeaderEdits 35 _SetText",
                                        "HeaderEdits 37 _SetText",   "HeaderEdits 27 _SetText",
                                        "HeaderEdits 0 _SetText",    "HeaderEdits 54 focus-paste",
                                        "HeaderEdits 47 focus-paste"}));
    EXPECT_EQ(writeList(DeclarationKind::Import, addressSheet(), false), importHeader);
    EXPECT_EQ(writeList(DeclarationKind::Export, addressSheet(), false), exportHeader);
}

TEST(EntryWrites, GoodsLinesInTheOrderOfTheirTable) {
    // Line 1 has no item number; line 2 has one.
    MapCellSource sheet = addressSheet();
    sheet.set(8, 18, "3");
    const Lines importGoods = withSetText(
        {"GoodsEdits 0 set", "GoodsEdits 35 set", "GoodsEdits 1 set", "GoodsEdits 32 set",
         "GoodsEdits 22 click-paste select=yes p=0", "GoodsEdits 30 set",
         "GoodsEdits 28 click-paste select=no p=0", "GoodsEdits 26 set", "GoodsEdits 24 set",
         "GoodsEdits 20 set", "GoodsEdits 18 unlock-paste", "GoodsEdits 11 unlock-paste",
         "GoodsEdits 9 unlock-paste", "GoodsEdits 7 _SetText", "GoodsEdits 2 click-paste select=yes p=0",
         "GoodsEdits 4 click-paste select=no p=0 +enter k=10",
         // with item number
         "GoodsEdits 38 _SetText", "GoodsEdits 32 set", "GoodsEdits 30 set", "GoodsEdits 26 set",
         "GoodsEdits 24 set", "GoodsEdits 20 set", "GoodsEdits 11 unlock-paste", "GoodsEdits 7 _SetText",
         "GoodsEdits 2 click-paste select=yes p=0", "GoodsEdits 4 click-paste select=no p=0 +enter k=10"});
    const Lines exportGoods = {
        "GoodsEdits 0 set", "GoodsEdits 37 set", "GoodsEdits 1 set", "GoodsEdits 34 set",
        "GoodsEdits 24 click-paste select=yes p=50", "GoodsEdits 32 set",
        "GoodsEdits 30 click-paste select=no p=0", "GoodsEdits 28 set", "GoodsEdits 26 set",
        "GoodsEdits 22 set", "GoodsEdits 20 unlock-paste", "GoodsEdits 18 set", "GoodsEdits 12 unlock-paste",
        "GoodsEdits 10 unlock-paste", "GoodsEdits 6 paste-confirm p=50 k=50",
        "GoodsEdits 2 paste-confirm p=50 k=50 +sleep 10",
        // with item number
        "GoodsEdits 40 paste-confirm p=50 k=50", "GoodsEdits 34 set", "GoodsEdits 32 set",
        "GoodsEdits 28 set", "GoodsEdits 26 set", "GoodsEdits 22 set", "GoodsEdits 18 set",
        "GoodsEdits 12 unlock-paste", "GoodsEdits 6 paste-confirm p=50 k=50",
        "GoodsEdits 2 paste-confirm p=50 k=50 +sleep 10"};
    EXPECT_EQ(writeList(DeclarationKind::Import, sheet, true), importGoods);
    EXPECT_EQ(writeList(DeclarationKind::Export, sheet, true), exportGoods);
}

TEST(EntryWrites, GoodsDutyStepsOfEachKind) {
    namespace am = ca::automation;
    struct Step {
        std::int64_t atMs;
        am::Message msg;
        bool operator==(const Step&) const = default;
    };
    const struct {
        DeclarationKind kind;
        int position;
        std::vector<Step> steps;  // msg 0: the clipboard write
    } cases[] = {
        // click-paste without select all, then focus and Enter with pause 10
        {DeclarationKind::Import,
         4,
         {{0, am::WmLButtonDown},
          {0, am::WmLButtonUp},
          {0, 0},
          {0, am::WmPaste},
          {0, am::WmSetFocus},
          {0, am::WmKeyDown},
          {10, am::WmKeyUp}}},
        // paste-confirm 50/50 with a further 10 ms right after the paste
        {DeclarationKind::Export,
         2,
         {{0, am::WmLButtonDown},
          {0, am::WmLButtonUp},
          {0, am::EmSetSel},
          {0, 0},
          {50, am::WmPaste},
          {60, am::WmSetFocus},
          {60, am::WmKeyDown},
          {110, am::WmKeyUp}}},
    };
    for (const auto& c : cases) {
        EntryHarness h(c.kind);
        MapCellSource sheet = addressSheet();
        const std::vector<Write> writes = buildWrites(c.kind, sheet);
        const Write& duty = writes.back();
        ASSERT_EQ(duty.settingKey, "商品征免");
        ASSERT_EQ(duty.position, c.position);
        ASSERT_TRUE(h.entryClient.findEntryControls(h.host.log(), h.host.settings()));
        h.desktop.setTracing(true);
        const std::int64_t start = h.clock.nowMs();
        h.entryClient.type(duty.chain, duty.position, duty.method, "照章征税");
        std::vector<Step> steps;
        for (const auto& t : h.desktop.trace()) {
            steps.push_back({t.atMs - start, t.msg});
            if (t.msg == 0) {
                EXPECT_EQ(ca::gbkToUtf8(t.text), "照章征税");
            }
        }
        EXPECT_EQ(steps, c.steps) << (c.kind == DeclarationKind::Import ? "import" : "export");
    }
}
