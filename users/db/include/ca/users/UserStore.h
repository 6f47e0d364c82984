#pragma once
// The statements of the user administration: departments (DEP), users (employee) and their fee
// permissions (limit), each operation running its statements in a fixed order on the program's one
// connection. Every typed name is joined into the statements through the quoting helper, so a name
// with an apostrophe is stored as typed; an action of several statements runs as one transaction.
// Database errors propagate as db::DbError.
#include <optional>
#include <string>
#include <vector>

#include "ca/db/TDM.h"

namespace ca::users {

inline constexpr int kMaxDepartments = 100;
inline constexpr int kMaxUsers = 200;

struct Department {
    int id = 0;
    std::string name;
    bool operator==(const Department&) const = default;
};

struct UserNode {
    int id = 0;
    std::string name;
    bool operator==(const UserNode&) const = default;
};

// A department with its users, both in the order the database returned them.
struct DepartmentBranch {
    Department department;
    std::vector<UserNode> users;
    bool operator==(const DepartmentBranch&) const = default;
};

// One user's row with the name of his department, every value as text (Null as empty text).
struct UserRecord {
    std::string id, name, sex, departmentName, category, mobile, position, storedPassword, address1, address2;
};

// One row of the permission grid: fee item name, allowed flag ("0" or "1"), fee item code.
struct PermissionRow {
    std::string name, flag, code;
    bool operator==(const PermissionRow&) const = default;
};

// The values of the user fields to store. Texts as typed; ids as the window holds them.
struct UserUpdate {
    std::string id;            // the user's id (digits)
    std::string name;          // E_name
    std::string departmentId;  // E_dep
    std::string sex;           // E_sex
    std::string position;      // E_pos
    std::string cipherText;    // E_pwd, already enciphered
    std::string mobile;        // e_mobile
    std::string category;      // E_isSup ("0", "1" or "2")
    std::string address1, address2;
};

// A user as the command line lists it.
struct UserListing {
    int id = 0;
    std::string name, departmentName;
    int category = 0;
};

class UserStore {
public:
    explicit UserStore(db::TDM& dm) : dm_(dm) {}

    // Every department with its users; nullopt when DEP has no row (the tree then stays as it was).
    std::optional<std::vector<DepartmentBranch>> departmentTree();
    // The departments for the department box, in the order returned.
    std::vector<Department> departments();
    // The first department other than `exceptId` whose name is the same name by the rule of
    // NameRule.h (blanks around, letter case and letter width do not count), if any.
    std::optional<Department> departmentNamed(const std::string& name, int exceptId = 0);

    // The user with his department's name; nullopt when he is gone.
    std::optional<UserRecord> user(int id);
    // His permission rows, in the order returned.
    std::vector<PermissionRow> permissions(int id);

    // Adds a department named `name` (blanks around it dropped) with the highest id + 1 (1 in an
    // empty table); nullopt when kMaxDepartments already exist.
    std::optional<Department> addDepartment(const std::string& name);
    void renameDepartment(int id, const std::string& name);
    // Deletes the permissions of the department's users, its users, then the department.
    void deleteDepartment(int id);

    // Adds "新增用户<id>" to the department with the highest id + 1 and one not-allowed permission
    // per fee item (addMissingPermissions); nullopt when the user would be number kMaxUsers + 1.
    std::optional<UserNode> addUser(int departmentId);
    // Deletes the user's permissions, then the user.
    void deleteUser(int id);

    // True when a user other than `exceptId` has the same name by the rule of NameRule.h.
    bool nameTakenByOther(const std::string& name, const std::string& exceptId);
    void updateUser(const UserUpdate& u);
    // Stores the flags, each row matched by its fee item name, all or none.
    void updatePermissions(const std::string& userId, const std::vector<PermissionRow>& rows);

    // Gives every user a not-allowed permission row for each fee item he has none for, so that
    // every user has a row for every fee item after any change (a user or a fee item added, a
    // database merged). The number of rows added.
    int addMissingPermissions();

    // Every user with his department, by id (the command line's list).
    std::vector<UserListing> allUsers();

private:
    db::TDM& dm_;
};

}  // namespace ca::users
