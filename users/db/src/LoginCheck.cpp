#include "ca/users/LoginCheck.h"

#include "ca/db/Quoting.h"
#include "ca/db/TADOQuery.h"
#include "ca/users/Cipher.h"

namespace ca::users {

std::optional<LoginUser> checkLogin(db::TDM& dm, const std::string& name, const std::string& password) {
    if (name.empty()) return std::nullopt;
    db::TADOQuery q(dm);
    q.SetSQL("select * from employee where e_name='" + db::EscapeQuotes(name) + "'");
    q.Open();
    const std::string cipherText = EncryptToHex(password, PasswordKey);
    for (q.First(); !q.Eof(); q.Next()) {
        if (q.FieldByName("E_pwd").AsString() == cipherText)
            return LoginUser{q.FieldByName("E_name").AsString(),
                             static_cast<int>(q.FieldByName("E_isSup").AsInteger())};
    }
    return std::nullopt;
}

bool logIn(db::TDM& dm, CurrentUser& current, const std::string& name, const std::string& password) {
    std::optional<LoginUser> user = checkLogin(dm, name, password);
    if (!user) return false;
    current.logIn(user->name, user->category);
    return true;
}

}  // namespace ca::users
