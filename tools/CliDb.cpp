// customs-assistant-cli sql: runs one statement of the Jet dialect against a database file.
#include <iostream>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace {

constexpr const char* kUsage = "sql [--db FILE] \"STATEMENT\"";

int runSql(const std::vector<std::string>& args) {
    const ca::cli::Arguments a = ca::cli::parseArguments(args, kUsage);
    if (a.positional.size() > 1) {
        std::cerr << "error: more than one statement given (quote the statement as one argument)\n";
        return 1;
    }
    if (a.positional.empty()) {
        std::cerr << "usage: " << kUsage << "\n";
        return 1;
    }
    ca::db::TDM dm(a.db);
    ca::db::TADOQuery q(dm);
    q.SetSQL(a.positional[0]);
    int changed = 0;
    if (!q.OpenOrExec(changed)) {
        std::cout << changed << "\n";
        return 0;
    }
    std::vector<std::vector<std::string>> rows(1);
    for (int i = 0; i < q.FieldCount(); ++i)
        rows[0].push_back(q.Fields(i).FieldName());
    for (q.First(); !q.Eof(); q.Next()) {
        auto& row = rows.emplace_back();
        for (int i = 0; i < q.FieldCount(); ++i)
            row.push_back(q.Fields(i).AsString());
    }
    ca::cli::printRows(std::cout, rows);
    return 0;
}

ca::cli::Registrar reg{
    {"sql",
     "sql [--db FILE] \"STATEMENT\"   run one Jet-dialect statement (creates the database when "
     "missing); prints a header and tab-separated rows, or the number of changed rows",
     runSql}};

}  // namespace
