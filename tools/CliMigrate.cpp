// customs-assistant-cli migrate: copies a desk's database into another database (the office's
// server, or another file) and prints the rows per table.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/DatabaseFile.h"
#include "ca/db/DbError.h"
#include "ca/db/TDM.h"
#include "ca/migrate/DatabaseMigration.h"
#include "ca/util/Folders.h"
#include "ca/util/OutputTarget.h"

namespace {

namespace fs = std::filesystem;

// The database file at `path` and its companions, removed: a target this run created and could
// not fill must not stay behind as an empty database.
void removeDatabaseFile(const std::string& path) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(ca::pathFromUtf8(path + suffix), ec);
}

// Copies the source into the target; returns nullopt after printing why it did not.
std::optional<ca::migrate::MigrationResult> migrate(const std::string& from, const std::string& to,
                                                    bool merge) {
    ca::db::TDM source(from);
    ca::db::TDM target(to);
    try {
        return ca::migrate::DatabaseMigration(source, target).run(merge);
    } catch (const ca::migrate::TargetHoldsDeclarations& e) {
        std::cerr << "错误：" << e.what()
                  << "。确实要把源数据库合并进去时，请加 --merge（已有的记录保持不变）\n";
    } catch (const ca::migrate::MigrationRefused& e) {
        std::cerr << "错误：" << e.what() << "\n";
    } catch (const ca::db::DbError& e) {
        std::cerr << "错误：迁移失败，目标数据库没有任何改动：" << e.what() << "\n";
    }
    return std::nullopt;
}

int runMigrate(ca::cli::Invocation& in) {
    const std::string from = in.value("--from"), to = in.value("--to");
    // Both files are looked at before either is opened: a file that is not this program's database
    // is refused as it is (opening it would switch it to WAL or write a schema into it).
    if (const std::string problem =
            ca::db::DatabaseFileProblem(ca::db::CheckDatabaseFile(from), "源数据库", from);
        !problem.empty())
        throw std::runtime_error(problem);
    // The target must not be the source, by whatever name, nor one of the files SQLite keeps beside
    // it: a copy into the source's -wal would be deleted by SQLite itself when the source closes.
    if (!ca::db::IsServerTarget(to))
        if (const auto named =
                ca::databaseFileNamed(ca::pathFromUtf8(to), ca::realFilePath(ca::pathFromUtf8(from))))
            throw std::runtime_error(named->empty()
                                         ? "源数据库与目标数据库是同一个文件"
                                         : "目标数据库“" + to + "”是源数据库“" + from + "”的附属文件（" +
                                               *named + "），不能作为目标数据库");
    bool created = false, wasMissing = false;
    if (!ca::db::IsServerTarget(to)) {
        if (const auto base = ca::databaseOfCompanion(ca::pathFromUtf8(to)))
            throw std::runtime_error("目标数据库“" + to + "”是数据库“" + ca::pathToUtf8(*base) +
                                     "”的附属文件，不能作为目标数据库");
        const ca::db::FileCheck check = ca::db::CheckDatabaseFile(to);
        wasMissing = check.state == ca::db::FileState::Missing;
        created = wasMissing || check.state == ca::db::FileState::Empty;
        if (!created && check.state != ca::db::FileState::Ours)
            throw std::runtime_error(ca::db::DatabaseFileProblem(check, "目标数据库", to));
    }

    const std::optional<ca::migrate::MigrationResult> migrated = migrate(from, to, in.has("--merge"));
    if (!migrated) {
        if (wasMissing) removeDatabaseFile(to);
        return 1;
    }
    const ca::migrate::MigrationResult& result = *migrated;
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
    if (created) std::cerr << "已新建目标数据库“" << to << "”\n";
    return 0;
}

const ca::cli::Registrar reg{
    {"migrate",
     {{"--from", "源数据库文件", true}, {"--to", "目标数据库", true}, {"--merge", ""}},
     {},
     ca::cli::DatabaseUse::None,
     "把本机的数据库复制到目标数据库（各表逐行按关键字复制，目标中已有的记录保持不变；"
     "目标数据库文件不存在时新建）；目标中已有报关单时须加 --merge；输出各表的行数",
     runMigrate}};

}  // namespace
