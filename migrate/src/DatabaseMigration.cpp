#include "ca/migrate/DatabaseMigration.h"

#include <chrono>
#include <cmath>
#include <map>
#include <set>
#include <string_view>

#include "ca/db/DbError.h"
#include "ca/db/Quoting.h"
#include "ca/db/Schema.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/Transaction.h"
#include "ca/fees/FeeColumns.h"
#include "ca/fees/FeeItemRules.h"
#include "ca/users/UserStore.h"
#include "ca/util/AsciiCase.h"

namespace ca::migrate {

namespace {

struct KeyedTable {
    const char* name;
    std::vector<std::string> key;
};

// Catalogues and people first, then the declarations with their goods lines and fee rows.
const std::vector<KeyedTable>& copyOrder() {
    static const std::vector<KeyedTable> tables = {
        {"func_desc", {"Fd_func_code"}},
        {"DEP", {"ID"}},
        {"employee", {"E_ID"}},
        {"limit", {"L_pers_id", "L_func_code"}},
        {"LoadData", {"TY_No"}},
        {"subData", {"Pid", "SP_No"}},
        {"T_fee", {"ty_no"}},
        {"T_fee1", {"ty_no"}},
    };
    return tables;
}

// A row that names a thing (user, department, fee item) by number and by name; the two databases
// must agree on both, or one person's permissions would land on another.
struct Identity {
    const char* table;
    const char* idColumn;
    const char* nameColumn;
    const char* what;
};

constexpr Identity kIdentities[] = {
    {"employee", "E_ID", "E_name", "用户"},
    {"DEP", "ID", "DEP_Name", "部门"},
    {"func_desc", "Fd_func_code", "Fd_func_name", "费用项目"},
};

bool hasColumn(const std::vector<db::ColumnInfo>& columns, std::string_view name) {
    const std::string wanted = toLowerAscii(name);
    for (const auto& c : columns)
        if (toLowerAscii(c.name) == wanted) return true;
    return false;
}

const std::vector<db::ColumnInfo>& columnsOf(db::TDM& dm, const std::string& table, const char* which) {
    const auto* cols = dm.ADOConnection1.columns(table);
    if (!cols) throw MigrationRefused(std::string(which) + "不是本程序的数据库：没有数据表 " + table);
    return *cols;
}

bool isDefaultColumn(const std::string& table, std::string_view column) {
    for (const auto& t : db::DefaultTables())
        if (toLowerAscii(t.name) == toLowerAscii(table)) return hasColumn(t.columns, column);
    return false;
}

void bindValue(db::TParameter& p, const db::Value& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v))
        p.SetInteger(*i);
    else if (const auto* d = std::get_if<double>(&v))
        p.SetNumber(*d);
    else if (const auto* s = std::get_if<std::string>(&v))
        p.SetText(*s);
    else
        p.SetNull();
}

int scalar(db::TDM& dm, const std::string& sql) {
    db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.Open();
    return static_cast<int>(q.Fields(0).AsInteger());
}

void exec(db::TDM& dm, const std::string& sql) {
    db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.ExecSQL();
}

// The key of the current row: its values' texts, lower case, joined by a separator no key holds.
std::string rowKey(const db::TADOQuery& q, const std::vector<int>& columns) {
    std::string key;
    for (int c : columns) {
        if (!key.empty()) key += '\x1f';
        key += toLowerAscii(q.Fields(c).AsString());
    }
    return key;
}

std::vector<int> keyColumns(const db::TADOQuery& q, const std::vector<std::string>& key) {
    std::vector<int> columns;
    for (const auto& k : key)
        columns.push_back(q.FieldIndex(k));
    return columns;
}

// A column of the fee tables that holds no fee item: the declaration's keys and the system columns.
bool isFeeItemColumn(std::string_view column) {
    for (std::string_view reserved : fees::kReservedCodes)
        if (toLowerAscii(reserved) == toLowerAscii(column)) return false;
    return true;
}

// An amount in whole cents, Null as 0: the fee tables keep two decimals.
long long cents(const db::Value& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return *i * 100;
    if (const auto* d = std::get_if<double>(&v)) return std::llround(*d * 100);
    if (const auto* t = std::get_if<std::string>(&v)) {
        try {
            return std::llround(std::stod(*t) * 100);
        } catch (const std::exception&) {
            return 0;
        }
    }
    return 0;
}

std::string keyText(const db::TADOQuery& q, const std::vector<std::string>& key) {
    std::string text;
    for (const auto& k : key)
        text += (text.empty() ? "" : "，") + k + "=“" + q.FieldByName(k).AsString() + "”";
    return text;
}

}  // namespace

TargetHoldsDeclarations::TargetHoldsDeclarations(int count)
    : MigrationRefused("目标数据库中已有 " + std::to_string(count) + " 份报关单，未写入任何内容"),
      count_(count) {}

// Every table and column of the program must be there, and every further column must be a plain
// name: column names of the source become part of the statements that write the target.
void DatabaseMigration::checkSource() {
    for (const auto& table : db::DefaultTables()) {
        const auto& cols = columnsOf(source_, table.name, "源数据库");
        for (const auto& c : table.columns)
            if (!hasColumn(cols, c.name))
                throw MigrationRefused("源数据库不是本程序的数据库：数据表 " + table.name + " 中没有字段 " +
                                       c.name);
        for (const auto& c : cols)
            if (!db::IsValidIdentifier(c.name))
                throw MigrationRefused("源数据库的数据表 " + table.name + " 中的字段名“" + c.name +
                                       "”不可用");
    }
}

// The target must hold every column the source has, but for the fee item columns, which are added.
void DatabaseMigration::checkTargetColumns() {
    for (const auto& table : copyOrder()) {
        const auto& targetCols = columnsOf(target_, table.name, "目标数据库");
        for (const auto& c : *source_.ADOConnection1.columns(table.name)) {
            const bool feeTable = toLowerAscii(table.name) == "t_fee" || toLowerAscii(table.name) == "t_fee1";
            if (hasColumn(targetCols, c.name) || (feeTable && !isDefaultColumn(table.name, c.name))) continue;
            throw MigrationRefused("目标数据库的数据表 " + std::string(table.name) + " 中没有字段 " + c.name +
                                   "（目标数据库的结构与本程序不同），未写入任何内容");
        }
    }
}

void DatabaseMigration::checkIdentities() {
    std::vector<std::string> conflicts;
    for (const Identity& id : kIdentities) {
        std::map<std::string, std::string> nameById, idByName;  // lower-case keys; values as stored
        db::TADOQuery t(target_);
        t.SetSQL(std::string("select ") + id.idColumn + "," + id.nameColumn + " from " + id.table);
        t.Open();
        for (t.First(); !t.Eof(); t.Next()) {
            nameById[toLowerAscii(t.Fields(0).AsString())] = t.Fields(1).AsString();
            idByName[toLowerAscii(t.Fields(1).AsString())] = t.Fields(0).AsString();
        }
        db::TADOQuery s(source_);
        s.SetSQL(t.SQL());
        s.Open();
        for (s.First(); !s.Eof(); s.Next()) {
            const std::string code = s.Fields(0).AsString(), name = s.Fields(1).AsString();
            auto byId = nameById.find(toLowerAscii(code));
            auto byName = idByName.find(toLowerAscii(name));
            if (byId != nameById.end() && toLowerAscii(byId->second) != toLowerAscii(name))
                conflicts.push_back(std::string(id.what) + "编码 " + code + " 在源数据库中是“" + name +
                                    "”，在目标数据库中是“" + byId->second + "”");
            else if (byName != idByName.end() && toLowerAscii(byName->second) != toLowerAscii(code))
                conflicts.push_back(std::string(id.what) + "“" + name + "”在源数据库中的编码是 " + code +
                                    "，在目标数据库中是 " + byName->second);
        }
    }
    if (conflicts.empty()) return;
    std::string text = "两个数据库中的编码与名称不一致，无法合并，未写入任何内容：";
    for (size_t i = 0; i < conflicts.size() && i < 5; ++i)
        text += (i ? "；" : "") + conflicts[i];
    if (conflicts.size() > 5) text += "；另有 " + std::to_string(conflicts.size() - 5) + " 处";
    throw MigrationRefused(text);
}

std::vector<std::string> DatabaseMigration::addFeeColumns() {
    std::vector<std::string> added;
    // Fee item columns added to the fee tables after the database was created, with the column type
    // the fee item dialog gives them.
    for (const auto& table : fees::kFeeTables) {
        std::vector<std::string> missing;
        const auto& targetCols = *target_.ADOConnection1.columns(table.name);
        for (const auto& c : *source_.ADOConnection1.columns(table.name))
            if (!hasColumn(targetCols, c.name)) missing.push_back(c.name);
        for (const auto& name : missing) {
            // As when a fee item is added: the amounts of the rows already there are 0.
            if (table.amounts)
                target_.ADOConnection1.AddColumnOfZeros(table.name, name, table.columnType);
            else
                exec(target_, fees::addFeeColumnStatement(table, name));
            added.push_back(std::string(table.name) + "." + name);
        }
    }
    return added;
}

TableCount DatabaseMigration::copyTable(const std::string& table, const std::vector<std::string>& key) {
    TableCount count{table};
    std::set<std::string> present;
    db::TADOQuery existing(target_);
    std::string keyList;
    for (const auto& k : key)
        keyList += (keyList.empty() ? "" : ",") + k;
    existing.SetSQL("select " + keyList + " from " + table);
    existing.Open();
    const std::vector<int> existingKey = keyColumns(existing, key);
    for (existing.First(); !existing.Eof(); existing.Next())
        present.insert(rowKey(existing, existingKey));
    existing.Close();

    db::TADOQuery rows(source_);
    rows.SetSQL("select * from " + table);
    rows.Open();
    const std::vector<int> sourceKey = keyColumns(rows, key);
    // The rows to write: those whose key the target does not hold (the first of equal keys).
    std::vector<bool> wanted;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        ++count.sourceRows;
        wanted.push_back(present.insert(rowKey(rows, sourceKey)).second);
    }
    std::vector<std::string> columns;
    for (int i = 0; i < rows.FieldCount(); ++i)
        columns.push_back(rows.fieldName(i));

    try {
        // In bulk, under a savepoint: a failure is found again row by row below, which names the row.
        db::Transaction piece(target_);
        auto copy = target_.ADOConnection1.BeginCopy(table, columns);
        std::vector<db::Value> values(columns.size());
        size_t at = 0;
        for (rows.First(); !rows.Eof(); rows.Next(), ++at) {
            if (!wanted[at]) continue;
            for (size_t i = 0; i < columns.size(); ++i)
                values[i] = rows.Fields(static_cast<int>(i)).AsVariant();
            copy->addRow(values);
        }
        count.added = copy->finish();
        piece.commit();
    } catch (const db::DbBusy&) {
        throw;
    } catch (const db::DbConnectionLost&) {
        // The transaction is gone with the connection: nothing is left to find row by row.
        throw;
    } catch (const db::DbError&) {
        count.added = copyRowByRow(table, rows, columns, wanted, key);
    }
    // A row another desk stored while the copy ran is the target's now.
    count.kept = count.sourceRows - count.added;
    return count;
}

int DatabaseMigration::copyRowByRow(const std::string& table, db::TADOQuery& rows,
                                    const std::vector<std::string>& columns, const std::vector<bool>& wanted,
                                    const std::vector<std::string>& key) {
    std::string names, values;
    std::vector<std::string> parameters;
    for (size_t i = 0; i < columns.size(); ++i) {
        parameters.push_back(std::string("p").append(std::to_string(i)));
        names += (i ? "," : "") + columns[i];
        values += (i ? ",:" : ":") + parameters.back();
    }
    const std::string insert = "insert into " + table + "(" + names + ") values (" + values + ")";
    db::TADOQuery write(target_);
    int added = 0;
    size_t at = 0;
    for (rows.First(); !rows.Eof(); rows.Next(), ++at) {
        if (!wanted[at]) continue;
        try {
            write.SetSQL(insert);
            for (size_t i = 0; i < columns.size(); ++i)
                bindValue(write.ParamByName(parameters[i]), rows.Fields(static_cast<int>(i)).AsVariant());
            added += write.ExecSQL();
        } catch (const db::DbBusy&) {
            throw;
        } catch (const db::DbConnectionLost&) {
            throw;  // not the row's fault
        } catch (const db::DbError& e) {
            throw db::DbError("复制数据表 " + table + " 的记录（" + keyText(rows, key) + "）时出错：" +
                              e.what());
        }
    }
    return added;
}

void DatabaseMigration::lockDeclarations() {
    db::TADOQuery keys(source_);
    keys.SetSQL("select TY_No from LoadData");
    keys.Open();
    std::vector<std::string> list;
    for (keys.First(); !keys.Eof(); keys.Next())
        list.push_back(keys.Fields(0).AsString());
    target_.ADOConnection1.LockDeclarations(list);
}

MigrationResult DatabaseMigration::run(bool merge) {
    checkSource();
    target_.ADOConnection1.Open();
    for (const auto& table : copyOrder())
        columnsOf(target_, table.name, "目标数据库");
    if (int declarations = scalar(target_, "select count(*) from LoadData"); declarations > 0 && !merge)
        throw TargetHoldsDeclarations(declarations);
    checkTargetColumns();
    checkIdentities();

    MigrationResult result;
    try {
        db::Transaction transaction(target_);
        result.addedColumns = addFeeColumns();
        for (const auto& table : copyOrder()) {
            result.tables.push_back(copyTable(table.name, table.key));
            // Every declaration of the source is in the target now. Its goods lines and fee rows
            // are written under the declaration's lock, the one a download takes before it stores
            // a goods line, so a desk downloading the same declarations meanwhile waits for the
            // copy instead of storing a line the copy stores too.
            if (std::string_view(table.name) == "LoadData") lockDeclarations();
        }
        // A user of one database lacks rows for the fee items only the other one had: every user
        // gets a not-allowed row for each, counted with the permission rows added.
        const int permissions = users::UserStore(target_).addMissingPermissions();
        for (TableCount& t : result.tables)
            if (t.table == "limit") t.added += permissions;
        // Fee rows the target held already stay as they are there; where their amounts differ from
        // the source's, the clerk is told which, before anyone relies on the merged fees.
        for (const TableCount& t : result.tables)
            if (t.table == "T_fee" && t.kept > 0) result.feeDifferences = compareFees();
        transaction.commit();
    } catch (...) {
        // The undone columns may still be in what the connection knows of the tables.
        target_.ADOConnection1.schemaChanged();
        throw;
    }
    refreshStatistics(result);
    return result;
}

// A server plans its statements from statistics of the tables; fresh ones now, so that the first
// queries after the copy are planned for the rows that are there instead of for empty tables (which
// can make a month's report take minutes until the server gathers them itself). Only the tables
// the copy changed. The copy is committed by now: a failure here (a lost connection) loses nothing
// and is only reported.
void DatabaseMigration::refreshStatistics(MigrationResult& result) {
    std::set<std::string> changed;
    for (const TableCount& t : result.tables)
        if (t.added > 0) changed.insert(t.table);
    for (const std::string& column : result.addedColumns)
        changed.insert(column.substr(0, column.find('.')));
    std::vector<std::string> tables;
    for (const auto& table : copyOrder())
        if (changed.count(table.name)) tables.push_back(table.name);
    if (tables.empty()) return;
    const auto start = std::chrono::steady_clock::now();
    try {
        target_.ADOConnection1.RefreshStatistics(tables);
        result.analysedTables = tables;
    } catch (const db::DbError& e) {
        result.statisticsProblem = e.what();
    }
    result.statisticsSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fee amounts of every declaration both databases hold, column by column (Null counts as 0).
std::vector<FeeDifferences> DatabaseMigration::compareFees() {
    std::vector<std::string> columns;
    const auto& targetColumns = *target_.ADOConnection1.columns("T_fee");
    for (const auto& c : *source_.ADOConnection1.columns("T_fee"))
        if (isFeeItemColumn(c.name) && hasColumn(targetColumns, c.name)) columns.push_back(c.name);
    if (columns.empty()) return {};
    std::string list = "ty_no,bgno";
    for (const auto& c : columns)
        list += "," + c;

    std::map<std::string, std::string> names;  // lower-case code → the fee item's name
    db::TADOQuery items(target_);
    items.SetSQL("select Fd_func_code,Fd_func_name from func_desc");
    items.Open();
    for (items.First(); !items.Eof(); items.Next())
        names[toLowerAscii(items.Fields(0).AsString())] = items.Fields(1).AsString();

    std::map<std::string, std::vector<db::Value>> held;  // lower-case TY_No → the target's amounts
    db::TADOQuery t(target_);
    t.SetSQL("select " + list + " from T_fee");
    t.Open();
    for (t.First(); !t.Eof(); t.Next()) {
        auto [at, added] = held.try_emplace(toLowerAscii(t.Fields(0).AsString()));
        if (!added) continue;
        for (size_t i = 0; i < columns.size(); ++i)
            at->second.push_back(t.Fields(static_cast<int>(i + 2)).AsVariant());
    }
    t.Close();

    std::vector<FeeDifferences> differences;
    db::TADOQuery s(source_);
    s.SetSQL("select " + list + " from T_fee");
    s.Open();
    for (s.First(); !s.Eof(); s.Next()) {
        auto it = held.find(toLowerAscii(s.Fields(0).AsString()));
        if (it == held.end()) continue;
        FeeDifferences row{s.Fields(0).AsString(), s.Fields(1).AsString(), {}};
        for (size_t i = 0; i < columns.size(); ++i) {
            const db::Value mine = s.Fields(static_cast<int>(i + 2)).AsVariant();
            if (cents(mine) == cents(it->second[i])) continue;
            auto name = names.find(toLowerAscii(columns[i]));
            row.fees.push_back({columns[i], name == names.end() ? std::string() : name->second,
                                db::valueToString(mine), db::valueToString(it->second[i])});
        }
        // The source's first row of a key is the one compared; a later one of the same key was not
        // copied either.
        held.erase(it);
        if (!row.fees.empty()) differences.push_back(std::move(row));
    }
    return differences;
}

}  // namespace ca::migrate
