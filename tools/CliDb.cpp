// customs-assistant-cli sql: runs one statement of the Jet dialect against a database file.
#include <iostream>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace {

constexpr const char* kUsage = "sql [--db 数据库] \"语句\"";

int runSql(const std::vector<std::string>& args) {
    const ca::cli::Arguments a = ca::cli::parseArguments(args, kUsage);
    if (a.positional.size() > 1) {
        std::cerr << "错误：给出了不止一条语句（请用引号把语句括成一个参数）\n";
        return 1;
    }
    if (a.positional.empty()) {
        std::cerr << "用法：" << kUsage << "\n";
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

ca::cli::Registrar reg{{"sql",
                        std::string(kUsage) +
                            "   执行一条 Jet 语法的语句（数据库文件不存在时新建，数据库为空时建立各数据表）；"
                            "输出表头和以制表符分隔的记录，或改动的记录数",
                        runSql}};

}  // namespace
