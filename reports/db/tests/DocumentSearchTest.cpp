// The document query's statements against a database: what each filter finds.
#include <gtest/gtest.h>

#include "ReportsDbFixture.h"
#include "ca/reports/DocumentSearch.h"

namespace ca::reports {
namespace {

class DocumentSearch : public testing::ReportsFixture {
protected:
    // The serials of the declarations found, in the database's order.
    std::vector<std::string> found(const DocumentFilter& f) {
        db::TADOQuery q(dm);
        findDocuments(q, f);
        std::vector<std::string> out;
        for (q.First(); !q.Eof(); q.Next())
            out.push_back(q.FieldByName("TY_No").AsString().substr(9));
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_P(DocumentSearch, EachFilterFinds) {
    struct Case {
        const char* name;
        void (*set)(DocumentFilter&);
        std::vector<std::string> serials;
    };
    const Case cases[] = {
        {"entry dates include both ends",
         [](DocumentFilter& f) {
             f.entryFrom = {2011, 1, 6};
             f.entryTo = {2011, 1, 10};
         },
         {"000000001", "000000004"}},
        {"declaration dates with the box ticked",
         [](DocumentFilter& f) {
             f.useDeclared = true;
             f.declaredFrom = {2011, 1, 31};
             f.declaredTo = {2011, 2, 1};
         },
         {"000000002", "000000003"}},
        {"unified serial", [](DocumentFilter& f) { f.unified = "000000003"; }, {"000000003"}},
        {"the whole unified number finds nothing",
         [](DocumentFilter& f) { f.unified = "520120111000000003"; },
         {}},
        {"customs serial", [](DocumentFilter& f) { f.customsNo = "000000006"; }, {"000000006"}},
        {"company with an apostrophe", [](DocumentFilter& f) { f.company = "O'Neil"; }, {"000000002"}},
        {"company wildcard typed", [](DocumentFilter& f) { f.company = "公_A"; }, {"000000001"}},
        {"goods name: a column nothing writes", [](DocumentFilter& f) { f.goods = "货"; }, {}},
        {"kind", [](DocumentFilter& f) { f.kind = "出口转关运输提前报关单"; }, {"000000003"}},
        {"bill and contract",
         [](DocumentFilter& f) {
             f.bill = "TD-000000004";
             f.contract = "ht";
         },
         {"000000004"}},
        {"declaring unit", [](DocumentFilter& f) { f.unitCode = "x'"; }, {}},
    };
    for (const auto& c : cases) {
        DocumentFilter f;
        f.entryTo = {2011, 12, 31};
        c.set(f);
        EXPECT_EQ(found(f), c.serials) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, DocumentSearch, db::testing::AllEngines(), db::testing::EngineName);

}  // namespace
}  // namespace ca::reports
