// customs-assistant-cli sql: runs one statement of the Jet dialect against a database file.
#include <iostream>

#include "CliRegistry.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/util/TabText.h"

namespace {

int runSql(const std::vector<std::string>& args) {
    std::string file = "DB.sqlite", statement;
    bool haveStatement = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--db" && i + 1 < args.size()) {
            file = args[++i];
        } else if (!haveStatement) {
            statement = args[i];
            haveStatement = true;
        } else {
            std::cerr << "错误：给出了不止一条语句（请用引号把语句括成一个参数）\n";
            return 1;
        }
    }
    if (!haveStatement) {
        std::cerr << "用法：sql [--db 文件] \"语句\"\n";
        return 1;
    }
    ca::db::TDM dm(file);
    ca::db::TADOQuery q(dm);
    q.SetSQL(statement);
    int changed = 0;
    if (!q.OpenOrExec(changed)) {
        std::cout << changed << "\n";
        return 0;
    }
    for (int i = 0; i < q.FieldCount(); ++i)
        std::cout << (i ? "\t" : "") << ca::escapeTabText(q.Fields(i).FieldName());
    std::cout << "\n";
    for (q.First(); !q.Eof(); q.Next()) {
        for (int i = 0; i < q.FieldCount(); ++i)
            std::cout << (i ? "\t" : "") << ca::escapeTabText(q.Fields(i).AsString());
        std::cout << "\n";
    }
    return 0;
}

ca::cli::Registrar reg{{"sql",
                        "sql [--db 文件] \"语句\"   执行一条 Jet 语法的语句（数据库不存在时新建）；"
                        "输出表头和以制表符分隔的记录，或改动的记录数",
                        runSql}};

}  // namespace
