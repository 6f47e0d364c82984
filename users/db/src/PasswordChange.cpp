#include "ca/users/PasswordChange.h"

#include "ca/db/Quoting.h"
#include "ca/db/TADOQuery.h"
#include "ca/users/Cipher.h"
#include "ca/users/PasswordRule.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/NameRule.h"

#include <cstdint>
#include <vector>

namespace ca::users {

bool changePassword(db::TDM& dm, Prompts& prompts, const std::string& userName,
                    const PasswordChangeForm& form) {
    if (questionBox(prompts, "您确定要修改密码吗？") != Button::Yes) return false;
    auto refuse = [&prompts](const std::string& text) {
        warningBox(prompts, text);
        return false;
    };
    if (form.oldPassword.empty()) return refuse("请输入原密码！");
    db::TADOQuery q(dm);
    q.SetSQL("select * from employee where e_name='" + db::EscapeQuotes(userName) + "'");
    q.Open();
    if (q.IsEmpty()) return refuse("用户已经被删除！");
    q.First();
    const db::TField stored = q.FieldByName("E_pwd");
    if (stored.IsNull() || EncryptToHex(form.oldPassword, PasswordKey) != stored.AsString())
        return refuse("原密码错误！");
    if (form.newPassword.empty()) return refuse("请输入新密码！");
    if (form.confirmation.empty()) return refuse("请输入密码确认！");
    if (form.newPassword != form.confirmation) return refuse("您两次输入的密码不一致！");
    if (auto why = newPasswordRefusal(form.newPassword)) return refuse(*why);
    storePassword(dm, userName, form.newPassword);
    infoBox(prompts, "恭喜，密码修改成功！");
    return true;
}

int storePassword(db::TDM& dm, const std::string& userName, const std::string& password) {
    // The user the name means by the one name rule: the user of exactly this name, else the one user
    // whose name is the same by the rule ("ＡＤＭＩＮ" for "Admin", as adding a user sees them).
    db::TADOQuery q(dm);
    q.SetSQL("select E_ID,E_name from employee");
    q.Open();
    std::vector<std::int64_t> exact, same;
    const std::string key = nameKey(userName);
    for (q.First(); !q.Eof(); q.Next()) {
        const std::string name = q.FieldByName("E_name").AsString();
        if (name == userName) exact.push_back(q.FieldByName("E_ID").AsInteger());
        if (nameKey(name) == key) same.push_back(q.FieldByName("E_ID").AsInteger());
    }
    const std::vector<std::int64_t>& ids = exact.empty() ? same : exact;
    if (ids.size() != 1) return 0;
    db::TADOQuery update(dm);
    update.SetSQL("update employee set E_pwd='" + EncryptToHex(password, PasswordKey) +
                  "' where e_id=" + std::to_string(ids.front()));
    return update.ExecSQL();
}

}  // namespace ca::users
