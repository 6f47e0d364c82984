#include "ca/users/UserAdministration.h"

#include <charconv>

#include "ca/users/Cipher.h"
#include "ca/users/PasswordRule.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/NameRule.h"

namespace ca::users {

namespace {

constexpr const char* kUserDeletedText = "此帐户已经被删除，请刷新树列表！";

}  // namespace

std::optional<ShownUser> UserAdministration::showUser(int id) {
    std::optional<UserRecord> record = store_.user(id);
    if (!record) {
        warningBox(prompts_, kUserDeletedText);
        return std::nullopt;
    }
    ShownUser shown{*record, {}, {}};
    if (!record->storedPassword.empty()) shown.password = DecryptFromHex(record->storedPassword, PasswordKey);
    shown.permissions = store_.permissions(id);
    return shown;
}

// The typed department name, trimmed, or nullopt when nothing was typed (the action ends quietly)
// or when the name is refused: blanks only, or the same name as another department's.
std::optional<std::string> UserAdministration::departmentName(const std::optional<std::string>& typed,
                                                              int exceptId) {
    if (!typed || typed->empty()) return std::nullopt;
    std::string name = trimName(*typed);
    if (name.empty()) {
        warningBox(prompts_, "部门名称不能只有空格！");
        return std::nullopt;
    }
    if (hasControlCharacter(name)) {
        warningBox(prompts_, "部门名称中不能有控制字符（制表符、换行符等）！");
        return std::nullopt;
    }
    if (store_.departmentNamed(name, exceptId)) {
        warningBox(prompts_, "已经存在相同的部门名称！");
        return std::nullopt;
    }
    return name;
}

std::optional<Department> UserAdministration::addDepartment() {
    const std::optional<std::string> name =
        departmentName(prompts_.input("新增部门", "请输入新部门名称", ""), 0);
    if (!name) return std::nullopt;
    std::optional<Department> added = store_.addDepartment(*name);
    if (!added) warningBox(prompts_, "最多只能建立100个部门");
    return added;
}

std::optional<std::string> UserAdministration::renameDepartment(int id) {
    const std::optional<std::string> name =
        departmentName(prompts_.input("修改部门名称", "请输入部门名称", ""), id);
    if (!name) return std::nullopt;
    store_.renameDepartment(id, *name);
    return name;
}

bool UserAdministration::deleteDepartment(int id) {
    if (questionBox(prompts_, "您确定要删除部门吗？删除部门同时会删除部门下的所有用户！") != Button::Yes)
        return false;
    store_.deleteDepartment(id);
    return true;
}

std::optional<UserNode> UserAdministration::addUser(int departmentId) {
    std::optional<UserNode> added = store_.addUser(departmentId);
    if (!added) warningBox(prompts_, "最多只能建立200个用户");
    return added;
}

bool UserAdministration::deleteUser(int id, const std::string& nodeText) {
    if (nodeText == "管理员") {
        plainMessage(prompts_, "管理员 用户不能删除！");
        return false;
    }
    store_.deleteUser(id);
    return true;
}

// The fields and the grid belong to the user last shown; with none shown there is nothing to store,
// and a user deleted since (here or at another desk) is not written back.
bool UserAdministration::userShown(const std::string& id) {
    if (id.empty()) {
        warningBox(prompts_, "请先在左边的列表中选择一个用户！");
        return false;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
    if (error != std::errc{} || end != id.data() + id.size() || !store_.user(number)) {
        warningBox(prompts_, kUserDeletedText);
        return false;
    }
    return true;
}

bool UserAdministration::saveUser(const UserForm& f) {
    if (!userShown(f.id)) return false;
    const std::string name = trimName(f.name);
    std::string refusal;
    if (!f.departmentId)
        refusal = "请选择所属部门！";
    else if (name.empty())
        refusal = "请输入用户名称！";
    else if (hasControlCharacter(name))
        refusal = "用户名称中不能有控制字符（制表符、换行符等）！";
    else if (store_.nameTakenByOther(name, f.id))
        refusal = "已经存在相同的用户名称！";
    else if (f.password.empty())
        refusal = "请输入密码！";
    else if (f.confirmation.empty())
        refusal = "请输入确认密码！";
    else if (f.password != f.confirmation)
        refusal = "您两次输入的密码不一致！";
    else if (auto why = newPasswordRefusal(f.password))
        refusal = *why;
    else if (!f.sex)
        refusal = "请选择性别！";
    else if (!f.category)
        refusal = "请选择用户类别！";
    if (!refusal.empty()) {
        warningBox(prompts_, refusal);
        return false;
    }
    if (questionBox(prompts_, "您确定要保存用户信息吗？") != Button::Yes) return false;
    store_.updateUser({f.id, name, *f.departmentId, *f.sex, f.position,
                       EncryptToHex(f.confirmation, PasswordKey), f.mobile, *f.category, f.address1,
                       f.address2});
    return true;
}

bool UserAdministration::savePermissions(const std::string& userId, const std::vector<PermissionRow>& rows) {
    if (!userShown(userId)) return false;
    if (questionBox(prompts_, "您确定要保存用户权限吗？") != Button::Yes) return false;
    for (const PermissionRow& row : rows) {
        if (row.flag != "0" && row.flag != "1") {
            warningBox(prompts_, row.name + "输入错误，只允许输入0和1 \r\n0=不允许操作 ；1=允许操作");
            return false;
        }
    }
    store_.updatePermissions(userId, rows);
    return true;
}

}  // namespace ca::users
