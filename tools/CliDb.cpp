// customs-assistant-cli sql: runs one statement of the Jet dialect against the database.
#include <iostream>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace {

int runSql(ca::cli::Invocation& in) {
    ca::db::TADOQuery q(in.database());
    q.SetSQL(in.argument(0));
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

const ca::cli::Registrar reg{{"sql",
                              {},
                              {{"\"语句\""}},
                              ca::cli::DatabaseUse::MayCreate,
                              "执行一条 Jet 语法的语句（数据库文件不存在时新建，数据库为空时建立各数据表）；"
                              "输出表头和以制表符分隔的记录，或改动的记录数",
                              runSql}};

}  // namespace
