#pragma once
// The actions of the user administration window without the window: each asks what it must ask,
// checks what it must check in a fixed order, shows its refusals and questions through Prompts and
// runs the store's statements. The window reads its controls into these calls and shows the results.
#include <optional>
#include <string>
#include <vector>

#include "ca/users/UserStore.h"
#include "ca/util/Prompts.h"

namespace ca::users {

// The user fields as the window holds them. A combo box without a choice is nullopt.
struct UserForm {
    std::string id;                           // Edit1, the shown user's id; empty when none is shown
    std::string name;                         // Edit2
    std::optional<std::string> departmentId;  // id of the department chosen in ComboBox2
    std::optional<std::string> sex;           // ComboBox1
    std::string mobile;                       // Edit4
    std::string position;                     // Edit5
    std::string password;                     // Edit6
    std::string confirmation;                 // Edit7
    std::string address1, address2;           // Edit8, Edit9
    std::optional<std::string> category;      // value of the category chosen in ComboBox3
};

// A user as the fields show him: his row, his password deciphered, his permissions.
struct ShownUser {
    UserRecord record;
    std::string password;  // empty when none is stored
    std::vector<PermissionRow> permissions;
};

class UserAdministration {
public:
    UserAdministration(db::TDM& dm, Prompts& prompts) : store_(dm), prompts_(prompts) {}

    UserStore& store() { return store_; }

    // The user of a tree node; warns and gives nullopt when his row is gone.
    std::optional<ShownUser> showUser(int id);
    // Asks for a name and adds the department; nullopt when cancelled, empty or refused (blanks
    // only, or the same name as another department by the rule of NameRule.h).
    std::optional<Department> addDepartment();
    // Asks for the new name and renames; the name as stored (trimmed), or nullopt when cancelled,
    // empty or refused as above.
    std::optional<std::string> renameDepartment(int id);
    // Asks, then deletes the department with its users; false when the answer is No.
    bool deleteDepartment(int id);
    // Adds a new user to the department; nullopt when the user limit is reached.
    std::optional<UserNode> addUser(int departmentId);
    // Deletes the user of a node; a node shown as "管理员" is refused. False when refused.
    bool deleteUser(int id, const std::string& nodeText);
    // Checks the fields in order, asks, and stores them (the name trimmed; a name of blanks only is
    // no name, and one that is the same name as another user's is refused). False when refused or
    // answered No.
    bool saveUser(const UserForm& form);
    // Asks, checks every flag, and stores all rows of the grid. False when refused or answered No.
    bool savePermissions(const std::string& userId, const std::vector<PermissionRow>& rows);

private:
    bool userShown(const std::string& id);
    std::optional<std::string> departmentName(const std::optional<std::string>& typed, int exceptId);

    UserStore store_;
    Prompts& prompts_;
};

}  // namespace ca::users
