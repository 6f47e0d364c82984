// customs-assistant-cli migrate: copies a desk's database into another database (the office's
// server, or another file) and prints the rows per table.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "CliRegistry.h"
#include "CliSupport.h"
#include "ca/db/DatabaseFile.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/db/DbError.h"
#include "ca/db/TDM.h"
#include "ca/migrate/DatabaseMigration.h"
#include "ca/util/Folders.h"
#include "ca/util/LocalTime.h"
#include "ca/util/OutputTarget.h"
#include "ca/util/SystemErrorText.h"
#include "ca/util/TemporaryFile.h"

namespace {

namespace fs = std::filesystem;

// The database file at `path` and its companions, removed: a target this run created and could
// not fill must not stay behind as an empty database.
void removeDatabaseFile(const std::string& path) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(ca::pathFromUtf8(path + suffix), ec);
}

// One declaration whose fee amounts the target kept although the source's differ, as one line:
// "D1（报关单号 HG1）：bgf（报关费）源数据库 500，目标数据库 0；…".
std::string differenceLine(const ca::migrate::FeeDifferences& d) {
    std::string line = d.declaration;
    if (!d.customsNumber.empty()) line += "（报关单号 " + d.customsNumber + "）";
    line += "：";
    for (size_t i = 0; i < d.fees.size(); ++i) {
        const ca::migrate::FeeDifference& f = d.fees[i];
        auto shown = [](const std::string& v) { return v.empty() ? std::string("空") : v; };
        line += (i ? "；" : "") + f.column + (f.name.empty() ? std::string(" ") : "（" + f.name + "）") +
                "源数据库 " + shown(f.source) + "，目标数据库 " + shown(f.target);
    }
    return line;
}

// Writes the list of declarations whose fees differ into a new file beside the source, named after
// it and the time ("DB-费用不同-20260105-093000.txt"); returns its path. Throws std::runtime_error.
std::string writeDifferences(const std::string& from, const std::vector<std::string>& lines) {
    std::string stamp;
    for (char c : ca::localNowText())
        if (c >= '0' && c <= '9') stamp += c;
    stamp.insert(std::min<size_t>(8, stamp.size()), "-");
    const fs::path source = ca::pathFromUtf8(from);
    fs::path file =
        source.parent_path() / ca::pathFromUtf8(ca::pathToUtf8(source.stem()) + "-费用不同-" + stamp);
    file += ".txt";
    const std::string shown = ca::pathToUtf8(file);
    fs::path tmpPath = file;
    tmpPath += ".tmp";
    ca::TemporaryFile tmp(tmpPath);
    {
        std::ofstream out(tmp.path(), std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << "\r\n";
        out.close();
        if (!out) throw std::runtime_error("无法写入“" + shown + "”");
    }
    std::error_code ec;
    fs::rename(tmp.path(), file, ec);
    if (ec) throw std::runtime_error("无法写入“" + shown + "”：" + ca::systemErrorText(ec));
    tmp.release();
    return shown;
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
    // A connection string of another kind is neither file nor server: refused before anything is
    // looked at, and never shown (it may hold a password).
    for (const auto& [text, which] : {std::pair{from, "源数据库"}, std::pair{to, "目标数据库"}})
        if (const std::string why = ca::db::TargetRefusal(text); !why.empty())
            throw std::runtime_error(std::string(which) + "：" + why);
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
    std::vector<std::string> differences;
    if (!result.feeDifferences.empty()) {
        const std::string heading = "以下报关单的费用与目标数据库中的不同，目标数据库中的费用保持不变：";
        differences.push_back(heading);
        std::cout << heading << "\n";
        for (const auto& d : result.feeDifferences) {
            differences.push_back(differenceLine(d));
            std::cout << differences.back() << "\n";
        }
        differences.push_back("共 " + std::to_string(result.feeDifferences.size()) + " 份报关单的费用不同");
    }
    std::cout << "迁移完成：共新增 " << added << " 行\n";
    if (!differences.empty()) {
        std::cout << differences.back();
        try {
            std::cout << "（清单已写入“" << writeDifferences(from, differences) << "”）\n";
        } catch (const std::exception& e) {
            std::cout << "\n";
            std::cerr << "警告：费用不同的报关单清单" << e.what() << "；清单见上面的输出\n";
        }
    }
    if (ca::db::IsServerTarget(to) && result.statisticsProblem.empty() && !result.analysedTables.empty()) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.2f", result.statisticsSeconds);
        std::cout << "服务器已重新统计 " << result.analysedTables.size() << " 个数据表（ANALYZE，用时 "
                  << seconds << " 秒）\n";
    }
    if (!result.statisticsProblem.empty())
        std::cerr << "警告：数据已全部迁移并已保存，只是服务器没能重新统计数据表（ANALYZE）："
                  << result.statisticsProblem
                  << "。查询和报表在服务器自动统计之前可能较慢；无需再次迁移，也可以请管理员在服务器上执行 "
                     "ANALYZE\n";
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
