#include "ca/users/UserStore.h"

#include "ca/db/Quoting.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/Transaction.h"
#include "ca/util/Convert.h"
#include "ca/util/NameRule.h"

namespace ca::users {

using db::EscapeQuotes;
using db::TADOQuery;

namespace {

int integerOf(const TADOQuery& q, const char* field) {
    return static_cast<int>(q.FieldByName(field).AsInteger());
}
std::string textOf(const TADOQuery& q, const char* field) {
    return q.FieldByName(field).AsString();
}

// A number joined bare into a statement: only digits pass, so nothing else can reach the statement.
const std::string& digitsOnly(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        throw ConversionError("“" + text + "”不是有效的整数值");
    return text;
}

// Highest id + 1 (1 when there is none) and the number of rows, from a COUNT/MAX query.
struct NextId {
    int id;
    int count;
};
NextId nextId(db::TDM& dm, const std::string& statement, const char* countField) {
    TADOQuery q(dm);
    q.SetSQL(statement);
    q.Open();
    const db::TField maxId = q.FieldByName("MAXID");
    return {maxId.IsNull() ? 1 : static_cast<int>(maxId.AsInteger()) + 1, integerOf(q, countField)};
}

}  // namespace

std::optional<std::vector<DepartmentBranch>> UserStore::departmentTree() {
    TADOQuery deps(dm_);
    deps.SetSQL("select * from DEP");
    deps.Open();
    if (deps.IsEmpty()) return std::nullopt;
    std::vector<DepartmentBranch> tree;
    TADOQuery users(dm_);
    for (deps.First(); !deps.Eof(); deps.Next()) {
        DepartmentBranch branch{{integerOf(deps, "ID"), textOf(deps, "DEP_Name")}, {}};
        users.SetSQL(
            "select employee.*,DEP.DEP_Name from employee,DEP where DEP.ID=employee.E_DEP AND E_dep=" +
            std::to_string(branch.department.id));
        users.Open();
        for (users.First(); !users.Eof(); users.Next())
            branch.users.push_back({integerOf(users, "E_ID"), textOf(users, "E_name")});
        tree.push_back(std::move(branch));
    }
    return tree;
}

std::vector<Department> UserStore::departments() {
    TADOQuery q(dm_);
    q.SetSQL("select * from dep");
    q.Open();
    std::vector<Department> list;
    for (q.First(); !q.Eof(); q.Next())
        list.push_back({integerOf(q, "id"), textOf(q, "DEP_Name")});
    return list;
}

std::optional<Department> UserStore::departmentNamed(const std::string& name, int exceptId) {
    const std::string key = nameKey(name);
    for (const Department& d : departments())
        if (d.id != exceptId && nameKey(d.name) == key) return d;
    return std::nullopt;
}

std::optional<UserRecord> UserStore::user(int id) {
    TADOQuery q(dm_);
    q.SetSQL("select employee.*,DEP.* from DEP,employee where DEP.ID=employee.E_DEP AND e_ID=" +
             std::to_string(id));
    q.Open();
    if (q.IsEmpty()) return std::nullopt;
    UserRecord r;
    r.id = textOf(q, "E_id");
    r.name = textOf(q, "E_Name");
    r.sex = textOf(q, "E_sex");
    r.departmentName = textOf(q, "DEP_NAME");
    r.category = textOf(q, "E_isSup");
    r.mobile = textOf(q, "e_mobile");
    r.position = textOf(q, "E_pos");
    r.storedPassword = textOf(q, "E_pwd");
    r.address1 = textOf(q, "e_add1");
    r.address2 = textOf(q, "e_add2");
    return r;
}

std::vector<PermissionRow> UserStore::permissions(int id) {
    TADOQuery q(dm_);
    q.SetSQL("select * from limit where L_pers_id=" + std::to_string(id));
    q.Open();
    std::vector<PermissionRow> rows;
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back({textOf(q, "L_func_name"), textOf(q, "L_have_Limit"), textOf(q, "L_func_code")});
    return rows;
}

std::optional<Department> UserStore::addDepartment(const std::string& name) {
    db::Transaction t(dm_);
    const NextId next = nextId(dm_, "SELECT COUNT(ID)as COUNTID, MAX(ID) AS MAXID FROM DEP", "COUNTID");
    if (next.count >= kMaxDepartments) return std::nullopt;
    TADOQuery q(dm_);
    const std::string trimmed = trimName(name);
    q.SetSQL("insert into DEP (id,DEP_name)values(" + std::to_string(next.id) + ",'" + EscapeQuotes(trimmed) +
             "')");
    q.ExecSQL();
    t.commit();
    return Department{next.id, trimmed};
}

void UserStore::renameDepartment(int id, const std::string& name) {
    TADOQuery q(dm_);
    q.SetSQL("update DEP SET DEP_Name  ='" + EscapeQuotes(trimName(name)) +
             "' where ID=" + std::to_string(id));
    q.ExecSQL();
}

void UserStore::deleteDepartment(int id) {
    const std::string key = std::to_string(id);
    db::Transaction t(dm_);
    TADOQuery q(dm_);
    for (const std::string& statement :
         {"delete from limit where L_pers_ID in (select e_id from employee where e_dep =" + key + ")",
          "delete from employee where E_dep=" + key, "delete from dep where id=" + key}) {
        q.SetSQL(statement);
        q.ExecSQL();
    }
    t.commit();
}

std::optional<UserNode> UserStore::addUser(int departmentId) {
    db::Transaction t(dm_);
    const NextId next =
        nextId(dm_, "SELECT count(e_id)as countID ,MAX(E_ID) AS MAXID FROM employee", "countID");
    if (next.count + 1 > kMaxUsers) return std::nullopt;
    const std::string id = std::to_string(next.id);
    const UserNode node{next.id, "新增用户" + id};
    TADOQuery q(dm_);
    q.SetSQL(
        "insert into employee (e_id,E_name,E_dep,e_Sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2)values(" +
        id + ",'" + node.name + "'," + std::to_string(departmentId) + ",'男','','','',0,'','')");
    q.ExecSQL();
    addMissingPermissions();
    t.commit();
    return node;
}

int UserStore::addMissingPermissions() {
    db::Transaction t(dm_);
    TADOQuery users(dm_);
    users.SetSQL("select E_ID from employee");
    users.Open();
    TADOQuery missing(dm_);
    TADOQuery insert(dm_);
    int added = 0;
    for (users.First(); !users.Eof(); users.Next()) {
        const std::string id = std::to_string(users.FieldByName("E_ID").AsInteger());
        missing.SetSQL(
            "select Fd_func_code,Fd_func_name from func_desc where Fd_func_code not in (select L_func_code "
            "from limit where L_pers_ID=" +
            id + ")");
        missing.Open();
        for (missing.First(); !missing.Eof(); missing.Next()) {
            insert.SetSQL("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit)values(" + id +
                          ",'" + EscapeQuotes(textOf(missing, "Fd_func_code")) + "','" +
                          EscapeQuotes(textOf(missing, "Fd_func_name")) + "',0 )");
            insert.ExecSQL();
            ++added;
        }
    }
    t.commit();
    return added;
}

void UserStore::deleteUser(int id) {
    const std::string key = std::to_string(id);
    db::Transaction t(dm_);
    TADOQuery q(dm_);
    q.SetSQL("delete from limit where L_pers_ID=" + key);
    q.ExecSQL();
    q.SetSQL("delete from employee where E_ID=" + key);
    q.ExecSQL();
    t.commit();
}

bool UserStore::nameTakenByOther(const std::string& name, const std::string& exceptId) {
    // Compared here rather than in the statement: the engine cannot fold letter widths.
    TADOQuery q(dm_);
    q.SetSQL("SELECT E_ID,E_NAME FROM employee WHERE e_ID<>" + digitsOnly(exceptId));
    q.Open();
    const std::string key = nameKey(name);
    for (q.First(); !q.Eof(); q.Next())
        if (nameKey(textOf(q, "E_NAME")) == key) return true;
    return false;
}

void UserStore::updateUser(const UserUpdate& u) {
    TADOQuery q(dm_);
    q.SetSQL("update employee set E_name='" + EscapeQuotes(u.name) + "',E_dep='" +
             digitsOnly(u.departmentId) + "',E_sex='" + EscapeQuotes(u.sex) + "',E_pos='" +
             EscapeQuotes(u.position) + "',E_pwd='" + EscapeQuotes(u.cipherText) + "',e_mobile='" +
             EscapeQuotes(u.mobile) + "',E_isSup=" + digitsOnly(u.category) + ",e_add1='" +
             EscapeQuotes(u.address1) + "',e_add2='" + EscapeQuotes(u.address2) +
             "' where e_id=" + digitsOnly(u.id));
    q.ExecSQL();
}

void UserStore::updatePermissions(const std::string& userId, const std::vector<PermissionRow>& rows) {
    db::Transaction t(dm_);
    TADOQuery q(dm_);
    for (const PermissionRow& row : rows) {
        q.SetSQL("update limit set L_have_Limit=" + digitsOnly(row.flag) + " where L_func_name='" +
                 EscapeQuotes(row.name) + "' and L_pers_ID=" + digitsOnly(userId));
        q.ExecSQL();
    }
    t.commit();
}

std::vector<UserListing> UserStore::allUsers() {
    TADOQuery q(dm_);
    q.SetSQL(
        "select employee.E_ID,employee.E_name,DEP.DEP_Name,employee.E_isSup from employee left join DEP on "
        "DEP.ID=employee.E_DEP order by employee.E_ID");
    q.Open();
    std::vector<UserListing> list;
    for (q.First(); !q.Eof(); q.Next())
        list.push_back(
            {integerOf(q, "E_ID"), textOf(q, "E_name"), textOf(q, "DEP_Name"), integerOf(q, "E_isSup")});
    return list;
}

}  // namespace ca::users
