// customs-assistant-cli migrate: copies a desk's database into another database (the office's
// server, or another file) and prints the rows per table.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/DbError.h"
#include "ca/db/TDM.h"
#include "ca/migrate/DatabaseMigration.h"
#include "ca/util/Folders.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "migrate --from 源数据库文件 --to 目标数据库 [--merge]";

// The source must be an existing database file: opening a missing one would create an empty
// database in its place.
std::string sourceProblem(const std::string& from) {
    std::error_code ec;
    const fs::path p = ca::pathFromUtf8(from);
    if (!fs::exists(p, ec)) return "找不到源数据库文件“" + from + "”";
    if (fs::is_directory(p, ec)) return "源数据库“" + from + "”是一个文件夹，不是数据库文件";
    if (fs::file_size(p, ec) == 0) return "源数据库文件“" + from + "”是空文件，不是本程序的数据库";
    // Opening a file too short to be refused by the engine would write a new database into it.
    std::ifstream in(p, std::ios::binary);
    char head[16] = {};
    in.read(head, sizeof head);
    if (in.gcount() != sizeof head ||
        std::string_view(head, sizeof head) != std::string_view("SQLite format 3\0", 16))
        return "源数据库文件“" + from + "”不是本程序的数据库（不是 SQLite 数据库文件）";
    return {};
}

int runMigrate(const std::vector<std::string>& args) {
    std::vector<std::string> rest;
    bool merge = false;
    for (const auto& a : args) {
        if (a == "--merge")
            merge = true;
        else
            rest.push_back(a);
    }
    const ca::cli::Arguments a = ca::cli::parseArguments(rest, kUsage, {"--from", "--to"});
    const auto from = a.option("--from"), to = a.option("--to");
    if (!from || !to || !a.positional.empty()) {
        std::cerr << "用法：" << kUsage << "\n";
        return 1;
    }
    if (auto problem = sourceProblem(*from); !problem.empty()) {
        std::cerr << "错误：" << problem << "\n";
        return 1;
    }
    std::error_code ec;
    if (fs::equivalent(ca::pathFromUtf8(*from), ca::pathFromUtf8(*to), ec)) {
        std::cerr << "错误：源数据库与目标数据库是同一个文件\n";
        return 1;
    }

    ca::db::TDM source(*from);
    ca::db::TDM target(*to);
    ca::migrate::MigrationResult result;
    try {
        result = ca::migrate::DatabaseMigration(source, target).run(merge);
    } catch (const ca::migrate::TargetHoldsDeclarations& e) {
        std::cerr << "错误：" << e.what()
                  << "。确实要把源数据库合并进去时，请加 --merge（已有的记录保持不变）\n";
        return 1;
    } catch (const ca::migrate::MigrationRefused& e) {
        std::cerr << "错误：" << e.what() << "\n";
        return 1;
    } catch (const ca::db::DbError& e) {
        std::cerr << "错误：迁移失败，目标数据库没有任何改动：" << e.what() << "\n";
        return 1;
    }

    std::vector<std::vector<std::string>> rows{{"数据表", "源数据库行数", "新增", "已存在（未改动）"}};
    int added = 0;
    for (const auto& t : result.tables) {
        rows.push_back(
            {t.table, std::to_string(t.sourceRows), std::to_string(t.added), std::to_string(t.kept)});
        added += t.added;
    }
    ca::cli::printRows(std::cout, rows);
    if (!result.addedColumns.empty()) {
        std::string columns;
        for (const auto& c : result.addedColumns)
            columns += (columns.empty() ? "" : "、") + c;
        std::cout << "新增费用字段：" << columns << "\n";
    }
    std::cout << "迁移完成：共新增 " << added << " 行\n";
    return 0;
}

ca::cli::Registrar reg{
    {"migrate",
     "migrate --from 源数据库文件 --to 目标数据库 [--merge]   把本机的数据库复制到目标数据库"
     "（各表逐行按关键字复制，目标中已有的记录保持不变）；目标中已有报关单时须加 --merge；"
     "输出各表的行数",
     runMigrate}};

}  // namespace
