#pragma once
// Reading rows back in the download's database tests: every value as text, Null as "<null>".
#include <string>
#include <vector>

#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace ca::download::testing {

using Row = std::vector<std::string>;

inline std::vector<Row> rows(db::TDM& dm, const std::string& sql) {
    db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.Open();
    std::vector<Row> out;
    for (q.First(); !q.Eof(); q.Next()) {
        Row r;
        for (int i = 0; i < q.FieldCount(); ++i) {
            auto f = q.Fields(i);
            r.push_back(f.IsNull() ? "<null>" : f.AsString());
        }
        out.push_back(std::move(r));
    }
    return out;
}

inline int count(db::TDM& dm, const std::string& table) {
    return static_cast<int>(rows(dm, "select * from " + table).size());
}

}  // namespace ca::download::testing
