#pragma once
// Moves a desk's database into another one (a database server shared by several desks, or another
// file): every table of the program, with the fee item columns the desk added, through the bulk copy
// of the database layer (a server takes the rows with COPY), so any pair of engines works.
//
// Rows are matched by their keys (LoadData.TY_No, subData (Pid, SP_No), the fee tables' ty_no,
// func_desc.Fd_func_code, employee.E_ID, DEP.ID, limit (L_pers_id, L_func_code)); a row whose key the
// target already holds is left as the target has it, so a copy never overwrites what other desks
// entered on the server (fees above all), and running it again changes nothing; the declarations
// whose fee amounts differ between the two are reported. Everything is written in one transaction:
// a copy that fails leaves the target as it was. A connection lost in the middle fails the copy
// (the server undoes the transaction); it is never taken for the fault of a row.
#include <stdexcept>
#include <string>
#include <vector>

#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace ca::migrate {

// A copy refused before anything was written: the source is not a database of this program, the
// target already holds declarations and merging was not asked for, or the two databases name the
// same user, department or fee item differently. The text says which and why.
class MigrationRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The target holds declarations and merging was not asked for.
class TargetHoldsDeclarations : public MigrationRefused {
public:
    explicit TargetHoldsDeclarations(int count);
    int count() const { return count_; }

private:
    int count_;
};

struct TableCount {
    std::string table;
    int sourceRows = 0;
    int added = 0;  // rows written into the target
    int kept = 0;   // rows whose key the target held already, left as they are
};

// A fee amount the target kept although the source holds another one.
struct FeeDifference {
    std::string column;  // as the source spells it, e.g. "bgf"
    std::string name;    // the fee item's name (func_desc), empty when it has none
    std::string source;  // the amounts as shown: "500", "0", empty for Null
    std::string target;
};

// A declaration whose fee row the target held already with other amounts than the source's.
struct FeeDifferences {
    std::string declaration;    // TY_No as the source spells it
    std::string customsNumber;  // its bgno
    std::vector<FeeDifference> fees;
};

struct MigrationResult {
    std::vector<TableCount> tables;              // in copying order
    std::vector<std::string> addedColumns;       // "T_fee.code", "T_fee1.code", in that order per item
    std::vector<FeeDifferences> feeDifferences;  // in the source's order of declarations
    // After the commit: the statistics of the tables that changed. Empty when they were
    // refreshed; otherwise why not (the copy itself is kept all the same).
    std::string statisticsProblem;
    std::vector<std::string> analysedTables;
    double statisticsSeconds = 0;  // time the refresh took
};

class DatabaseMigration {
public:
    DatabaseMigration(db::TDM& source, db::TDM& target) : source_(source), target_(target) {}

    // Copies everything. merge: a target that already holds declarations is merged into instead
    // of refused. Throws MigrationRefused (nothing written) or db::DbError (a statement failed;
    // the transaction is undone, the text names the table and the row's key, or says the
    // connection was lost). Once the copy is committed nothing throws: a failure to refresh the
    // statistics afterwards is reported in the result.
    MigrationResult run(bool merge);

private:
    void checkSource();
    void checkTargetColumns();
    void checkIdentities();
    std::vector<std::string> addFeeColumns();
    TableCount copyTable(const std::string& table, const std::vector<std::string>& key);
    // The rows `wanted` marks, one statement each; a failure names the row. The rows written.
    int copyRowByRow(const std::string& table, db::TADOQuery& rows, const std::vector<std::string>& columns,
                     const std::vector<bool>& wanted, const std::vector<std::string>& key);
    void lockDeclarations();
    std::vector<FeeDifferences> compareFees();
    void refreshStatistics(MigrationResult& result);

    db::TDM& source_;
    db::TDM& target_;
};

}  // namespace ca::migrate
