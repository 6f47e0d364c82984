// What the stand-in client holds after an import or export entry of a sheet: the positions of
// every header field, the list sections, the charge groups and the goods lines, and the edge
// cases of the sheet layout.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "EntryHarness.h"

using namespace ca::entry;
using namespace ca::entry::testing;
using C = Chain;

namespace {

struct Expect {
    Chain chain;
    int position;
    const char* text;
};

void expectFields(const EntryHarness& h, const std::vector<Expect>& fields) {
    for (const auto& f : fields)
        EXPECT_EQ(h.field(f.chain, f.position), f.text) << chainName(f.chain) << " " << f.position;
}

void expectGoodsLine(const EntryHarness& h, std::size_t line,
                     const std::vector<std::pair<int, const char*>>& fields) {
    ASSERT_GT(h.client->goodsLines().size(), line);
    const auto& texts = h.client->goodsLines()[line];
    for (const auto& [pos, text] : fields) {
        ASSERT_LT(static_cast<std::size_t>(pos), texts.size());
        EXPECT_EQ(texts[pos], text) << "goods line " << line << " position " << pos;
    }
}

const std::vector<std::string> kListWrites[] = {
    {"3,19", "4,19"}, {"3,20", "4,20"}, {"3,21", "4,21"}, {"3,22", "4,22"}, {"3,23", "4,23"}};

void expectLists(const EntryHarness& h) {
    EXPECT_EQ(h.writesTo(C::Panel4Edits, 4), kListWrites[0]);
    EXPECT_EQ(h.writesTo(C::Panel4Edits, 2), kListWrites[1]);
    EXPECT_EQ(h.writesTo(C::Panel4Edits, 0), kListWrites[2]);
    EXPECT_EQ(h.writesTo(C::Panel3Edits, 2), kListWrites[3]);
    EXPECT_EQ(h.writesTo(C::Panel3Edits, 0), kListWrites[4]);
}

}  // namespace

TEST(ImportEntry, EveryCellReachesItsField) {
    EntryHarness h(DeclarationKind::Import);
    h.sheet = addressSheet();
    ASSERT_TRUE(h.run());
    expectFields(
        h, {{C::SidePanelEdits, 3, "4,8"}, {C::HeaderEdits, 69, "1,5"},        {C::HeaderEdits, 57, "1,2"},
            {C::HeaderEdits, 63, "5,2"},   {C::HeaderEdits, 52, "3302980001"}, {C::HeaderEdits, 32, "2,8"},
            {C::Panel1Edits, 0, "5,14"},   {C::HeaderEdits, 30, "9,15"},       {C::HeaderEdits, 12, "9,16"},
            {C::HeaderEdits, 14, "9,17"},  {C::HeaderEdits, 50, "5,8"},        {C::HeaderEdits, 25, "2,14"},
            {C::HeaderEdits, 26, "总价"},  {C::HeaderEdits, 24, "USD"},        {C::HeaderEdits, 17, "2,17"},
            {C::HeaderEdits, 18, "总价"},  {C::HeaderEdits, 16, "USD"},        {C::HeaderEdits, 21, "1,17"},
            {C::HeaderEdits, 22, "总价"},  {C::HeaderEdits, 20, "USD"},        {C::HeaderEdits, 73, "1,11"},
            {C::HeaderEdits, 4, "5,5"},    {C::HeaderEdits, 60, "4,5"},        {C::HeaderEdits, 46, "4,11"},
            {C::HeaderEdits, 44, "4,2"},   {C::HeaderEdits, 40, "2,11"},       {C::HeaderEdits, 36, "1,14"},
            {C::HeaderEdits, 38, "1,8"},   {C::HeaderEdits, 28, "4,17"},       {C::HeaderEdits, 1, "0"},
            {C::HeaderEdits, 55, "3,5"},   {C::HeaderEdits, 48, "3,8"}});
    EXPECT_FALSE(h.written(C::HeaderEdits, 71));
    EXPECT_TRUE(h.confirmed(C::SidePanelEdits, 3));
    expectLists(h);
    ASSERT_EQ(h.client->goodsLines().size(), 2u);
    expectGoodsLine(h, 0,
                    {{0, "84713000"},
                     {35, "97"},
                     {1, "7,4"},
                     {32, "7,2"},
                     {22, "USD"},
                     {30, "7,7"},
                     {28, "7,8"},
                     {26, "7,13"},
                     {24, "7,14"},
                     {20, "7,9"},
                     {18, "7,10"},
                     {11, "7,11"},
                     {9, "7,12"},
                     {7, "7,6"},
                     {2, "4,14"},
                     {4, "照章征税"}});
    expectGoodsLine(h, 1, {{0, "84713000"}, {35, "98"}, {32, "8,2"}, {2, "4,14"}});
    // The settings the writes name come from one read of the settings file.
    EXPECT_EQ(h.host.settingFileReads, 1);
    EXPECT_EQ(h.host.settingReads,
              (std::map<std::string, int>{{"申报单位", 1}, {"报关单类型", 1}, {"商品征免", 1}}));
}

TEST(ExportEntry, EveryCellReachesItsField) {
    EntryHarness h(DeclarationKind::Export);
    h.sheet = addressSheet();
    ASSERT_TRUE(h.run());
    expectFields(
        h, {{C::SidePanelEdits, 3, "4,8"}, {C::HeaderEdits, 68, "1,5"},        {C::HeaderEdits, 56, "1,2"},
            {C::HeaderEdits, 62, "5,2"},   {C::HeaderEdits, 51, "3302980001"}, {C::HeaderEdits, 31, "2,8"},
            {C::Panel1Edits, 0, "5,14"},   {C::HeaderEdits, 29, "9,15"},       {C::HeaderEdits, 11, "9,16"},
            {C::HeaderEdits, 13, "9,17"},  {C::HeaderEdits, 33, "3,11"},       {C::HeaderEdits, 49, "5,8"},
            {C::HeaderEdits, 81, "5,11"},  {C::HeaderEdits, 80, "3,17"},       {C::HeaderEdits, 3, "5,5"},
            {C::HeaderEdits, 24, "2,14"},  {C::HeaderEdits, 25, "总价"},       {C::HeaderEdits, 23, "USD"},
            {C::HeaderEdits, 16, "2,17"},  {C::HeaderEdits, 17, "总价"},       {C::HeaderEdits, 15, "USD"},
            {C::HeaderEdits, 20, "1,17"},  {C::HeaderEdits, 21, "总价"},       {C::HeaderEdits, 19, "USD"},
            {C::HeaderEdits, 72, "1,11"},  {C::HeaderEdits, 59, "4,5"},        {C::HeaderEdits, 45, "4,11"},
            {C::HeaderEdits, 43, "4,2"},   {C::HeaderEdits, 39, "2,11"},       {C::HeaderEdits, 35, "1,14"},
            {C::HeaderEdits, 37, "1,8"},   {C::HeaderEdits, 27, "4,17"},       {C::HeaderEdits, 0, "0"},
            {C::HeaderEdits, 54, "3,5"},   {C::HeaderEdits, 47, "3,8"}});
    EXPECT_FALSE(h.written(C::HeaderEdits, 70));
    EXPECT_TRUE(h.confirmed(C::HeaderEdits, 80));
    expectLists(h);
    ASSERT_EQ(h.client->goodsLines().size(), 2u);
    expectGoodsLine(h, 0,
                    {{0, "84713000"},
                     {37, "97"},
                     {1, "7,4"},
                     {34, "7,2"},
                     {24, "USD"},
                     {32, "7,7"},
                     {30, "7,8"},
                     {28, "7,13"},
                     {26, "7,14"},
                     {22, "7,9"},
                     {20, "7,10"},
                     {18, "7,3"},
                     {12, "7,11"},
                     {10, "7,12"},
                     {6, "7,6"},
                     {2, "照章征税"}});
    // The header cell (4,14) that the import types into every goods line is not read by export.
    for (const auto& line : h.client->goodsLines())
        EXPECT_NE(line[2], "4,14");
    EXPECT_EQ(h.host.settingFileReads, 1);
    EXPECT_EQ(h.host.settingReads["商品征免"], 1);
}

namespace {

struct EdgeCase {
    const char* name;
    std::function<void(MapCellSource&)> change;
    std::function<void(const EntryHarness&)> check;
};

void runCases(DeclarationKind kind, const std::vector<EdgeCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryHarness h(kind);
        h.sheet = addressSheet();
        c.change(h.sheet);
        ASSERT_TRUE(h.run());
        c.check(h);
    }
}

// A sheet with one goods line whose column has the given text.
std::function<void(MapCellSource&)> goodsCell(int col, std::string text) {
    return [col, text](MapCellSource& s) { s.set(7, col, text); };
}

std::string goodsField(const EntryHarness& h, int pos) {
    return h.client->goodsLines().at(0).at(pos);
}

}  // namespace

TEST(ImportEntry, EdgeCasesOfTheSheet) {
    runCases(DeclarationKind::Import,
             {
                 {"(3,14) filled: the referenced number is confirmed, (1,2) (5,2) (2,8) are not typed",
                  [](MapCellSource& s) { s.set(3, 14, "REF001"); },
                  [](const EntryHarness& h) {
                      EXPECT_EQ(h.field(C::HeaderEdits, 71), "REF001");
                      EXPECT_TRUE(h.confirmed(C::HeaderEdits, 71));
                      for (int pos : {57, 63, 32})
                          EXPECT_FALSE(h.written(C::HeaderEdits, pos)) << pos;
                      EXPECT_EQ(h.field(C::HeaderEdits, 38), "1,8");
                  }},
                 {"(7,1) empty: no goods lines, row 7 is the totals row",
                  [](MapCellSource& s) {
                      s.set(7, 1, "");
                      s.set(7, 14, "EUR9");
                      s.set(7, 15, "T15");
                  },
                  [](const EntryHarness& h) {
                      EXPECT_TRUE(h.client->goodsLines().empty());
                      EXPECT_EQ(h.field(C::HeaderEdits, 30), "T15");
                      EXPECT_EQ(h.field(C::HeaderEdits, 24), "EUR");
                      EXPECT_EQ(h.host.settingReads.count("商品征免"), 0u);
                  }},
                 {"currency of letters only is the whole text", [](MapCellSource& s) { s.set(9, 14, "HKD"); },
                  [](const EntryHarness& h) {
                      EXPECT_EQ(h.field(C::HeaderEdits, 24), "HKD");
                      EXPECT_EQ(goodsField(h, 22), "HKD");
                  }},
                 {"currency starting with a digit is empty and pasted as such",
                  [](MapCellSource& s) { s.set(9, 14, "12345.00"); },
                  [](const EntryHarness& h) {
                      EXPECT_EQ(h.writesTo(C::HeaderEdits, 24), std::vector<std::string>{""});
                      EXPECT_EQ(h.writesTo(C::GoodsEdits, 22), (std::vector<std::string>{"", ""}));
                  }},
                 {"empty charge cells skip their groups",
                  [](MapCellSource& s) {
                      s.set(2, 14, "");
                      s.set(1, 17, "");
                  },
                  [](const EntryHarness& h) {
                      for (int pos : {25, 26, 24, 21, 22, 20})
                          EXPECT_FALSE(h.written(C::HeaderEdits, pos)) << pos;
                      EXPECT_EQ(h.field(C::HeaderEdits, 17), "2,17");
                  }},
                 {"8-character goods code gives 00", goodsCell(5, "73181500"),
                  [](const EntryHarness& h) {
                      EXPECT_EQ(goodsField(h, 0), "73181500");
                      EXPECT_EQ(goodsField(h, 35), "00");
                  }},
                 {"list section A row without column 20 still writes column 21, also when empty",
                  [](MapCellSource& s) {
                      s.set(4, 20, "");
                      s.set(4, 21, "");
                  },
                  [](const EntryHarness& h) {
                      EXPECT_EQ(h.writesTo(C::Panel4Edits, 2), std::vector<std::string>{"3,20"});
                      EXPECT_EQ(h.writesTo(C::Panel4Edits, 0), (std::vector<std::string>{"3,21", ""}));
                  }},
                 {"list section B is trimmed of blanks and control characters",
                  [](MapCellSource& s) {
                      s.set(3, 22, " \tB1\r\n");
                      s.set(4, 23, "");
                  },
                  [](const EntryHarness& h) {
                      EXPECT_EQ(h.writesTo(C::Panel3Edits, 2), (std::vector<std::string>{"B1", "4,22"}));
                      EXPECT_EQ(h.writesTo(C::Panel3Edits, 0), std::vector<std::string>{"3,23"});
                  }},
                 {"exact 台湾 is replaced", goodsCell(6, "台湾"),
                  [](const EntryHarness& h) { EXPECT_EQ(goodsField(h, 7), "台澎金马关税区"); }},
                 {"台湾 as a prefix stays", goodsCell(6, "台湾省"),
                  [](const EntryHarness& h) { EXPECT_EQ(goodsField(h, 7), "台湾省"); }},
                 {"item number: the code, currency, unit and locked fields are left to the client",
                  goodsCell(18, "12"),
                  [](const EntryHarness& h) {
                      EXPECT_EQ(goodsField(h, 38), "12");
                      for (int pos : {0, 35, 1, 22, 28, 18, 9})
                          EXPECT_EQ(goodsField(h, pos), "") << pos;
                      EXPECT_EQ(goodsField(h, 11), "7,11");
                      EXPECT_EQ(goodsField(h, 32), "7,2");
                  }},
                 {"empty columns 11 and 12 leave their locked fields alone",
                  [](MapCellSource& s) {
                      s.set(7, 11, "");
                      s.set(7, 12, "");
                  },
                  [](const EntryHarness& h) {
                      EXPECT_EQ(h.writesTo(C::GoodsEdits, 11), std::vector<std::string>{"8,11"});
                      EXPECT_EQ(h.writesTo(C::GoodsEdits, 9), std::vector<std::string>{"8,12"});
                  }},
                 {"empty (4,5) (4,11) (4,2) are not typed",
                  [](MapCellSource& s) {
                      s.set(4, 5, "");
                      s.set(4, 11, "");
                      s.set(4, 2, "");
                  },
                  [](const EntryHarness& h) {
                      for (int pos : {60, 46, 44})
                          EXPECT_FALSE(h.written(C::HeaderEdits, pos)) << pos;
                  }},
             });
}

TEST(ExportEntry, EdgeCasesOfTheSheet) {
    runCases(
        DeclarationKind::Export,
        {
            {"(3,14) filled: (1,2) (5,2) (2,8) and also (1,8) are not typed",
             [](MapCellSource& s) { s.set(3, 14, "REF001"); },
             [](const EntryHarness& h) {
                 EXPECT_EQ(h.field(C::HeaderEdits, 70), "REF001");
                 EXPECT_TRUE(h.confirmed(C::HeaderEdits, 70));
                 for (int pos : {56, 62, 31, 37})
                     EXPECT_FALSE(h.written(C::HeaderEdits, pos)) << pos;
             }},
            {"(4,5) empty is typed all the same and confirmed", [](MapCellSource& s) { s.set(4, 5, ""); },
             [](const EntryHarness& h) {
                 EXPECT_EQ(h.writesTo(C::HeaderEdits, 59), std::vector<std::string>{""});
                 EXPECT_TRUE(h.confirmed(C::HeaderEdits, 59));
             }},
            {"(3,17) empty leaves position 80 alone", [](MapCellSource& s) { s.set(3, 17, ""); },
             [](const EntryHarness& h) { EXPECT_FALSE(h.written(C::HeaderEdits, 80)); }},
            {"columns 11 and 12 are pasted even when empty",
             [](MapCellSource& s) {
                 s.set(7, 11, "");
                 s.set(7, 12, "");
             },
             [](const EntryHarness& h) {
                 EXPECT_EQ(h.writesTo(C::GoodsEdits, 12), (std::vector<std::string>{"", "8,11"}));
                 EXPECT_EQ(h.writesTo(C::GoodsEdits, 10), (std::vector<std::string>{"", "8,12"}));
             }},
            {"item number: confirmed at 40, column 11 still pasted", goodsCell(18, "5"),
             [](const EntryHarness& h) {
                 EXPECT_EQ(goodsField(h, 40), "5");
                 for (int pos : {0, 37, 1, 24, 30, 20, 10})
                     EXPECT_EQ(goodsField(h, pos), "") << pos;
                 EXPECT_EQ(goodsField(h, 12), "7,11");
                 EXPECT_EQ(goodsField(h, 18), "7,3");
             }},
            {"exact 台湾 is replaced and confirmed", goodsCell(6, "台湾"),
             [](const EntryHarness& h) { EXPECT_EQ(goodsField(h, 6), "台澎金马关税区"); }},
            {"8-character goods code gives 00 at 37", goodsCell(5, "85444921"),
             [](const EntryHarness& h) { EXPECT_EQ(goodsField(h, 37), "00"); }},
        });
}
