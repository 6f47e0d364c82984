// customs-assistant-cli user / password: the administrator's way to list and add users and to set a
// password (the first "超级用户" of a new office is made this way), and the password cipher itself.
// The same operations as the user administration window.
#include <iostream>
#include <optional>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include "CliCommand.h"
#include "CliRegistry.h"
#include "ca/db/TDM.h"
#include "ca/db/Transaction.h"
#include "ca/users/Cipher.h"
#include "ca/users/PasswordChange.h"
#include "ca/users/PasswordRule.h"
#include "ca/users/UserAdministration.h"
#include "ca/users/UserCategory.h"
#include "ca/util/NameRule.h"
#include "ca/util/TabText.h"

namespace {

using namespace ca::users;

int fail(const std::string& message) {
    std::cerr << "错误：" << ca::escapeControls(message) << "\n";
    return 1;
}

// Nobody answers a question here: the administrator asked for the action by running the command.
class CliPrompts : public ca::Prompts {
public:
    void info(const std::string& text, const std::string&) override {
        std::cout << ca::escapeControls(text) << "\n";
    }
    void warning(const std::string& text, const std::string&) override { fail(text); }
    ca::Button question(const std::string&, const std::string&) override { return ca::Button::Yes; }
    void plainMessage(const std::string& text) override { std::cerr << ca::escapeControls(text) << "\n"; }
    void errorBox(const std::string& text) override { fail(text); }
    std::string openFile(const std::string&, const std::string&) override { return {}; }
    std::string saveFile(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

bool stdinIsTerminal() {
#ifdef _WIN32
    return _isatty(0) != 0;
#else
    return isatty(0) != 0;
#endif
}

// One line of standard input; on a terminal the prompt goes to standard error and nothing typed is
// echoed. nullopt at the end of the input.
std::optional<std::string> readSecretLine(const std::string& prompt) {
    const bool terminal = stdinIsTerminal();
    if (terminal) std::cerr << prompt << std::flush;
#ifdef _WIN32
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (terminal) {
        GetConsoleMode(in, &mode);
        SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
#else
    termios saved{};
    if (terminal && tcgetattr(0, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(0, TCSAFLUSH, &quiet);
    }
#endif
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
#ifdef _WIN32
    if (terminal) SetConsoleMode(in, mode);
#else
    if (terminal) tcsetattr(0, TCSAFLUSH, &saved);
#endif
    if (terminal) std::cerr << "\n";
    if (!got) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The new password: once from a pipe, twice (and the same) on a terminal. Empty is refused.
std::optional<std::string> readNewPassword() {
    std::optional<std::string> password = readSecretLine("密码：");
    if (!password || password->empty()) {
        fail("请输入密码！");
        return std::nullopt;
    }
    if (auto why = newPasswordRefusal(*password)) {
        fail(*why);
        return std::nullopt;
    }
    if (stdinIsTerminal()) {
        std::optional<std::string> again = readSecretLine("密码确认：");
        if (!again || *again != *password) {
            fail("您两次输入的密码不一致！");
            return std::nullopt;
        }
    }
    return password;
}

std::string categoryText(int category) {
    for (const UserCategoryItem& c : kUserCategories)
        if (c.value == std::to_string(category)) return std::string(c.shown);
    return std::to_string(category);
}

int listUsers(ca::cli::Invocation& in) {
    ca::db::TDM& dm = in.database();
    std::cout << "编码\t姓名\t部门\t用户类别\n";
    for (const UserListing& u : UserStore(dm).allUsers())
        std::cout << u.id << "\t" << ca::escapeTabText(u.name) << "\t" << ca::escapeTabText(u.departmentName)
                  << "\t" << categoryText(u.category) << "\n";
    return 0;
}

int addUser(ca::cli::Invocation& in) {
    const std::string name = in.value("--name"), departmentName = in.value("--department"),
                      category = in.value("--category", "0");
    if (name.empty()) return fail("请输入用户名称！（--name）");
    if (ca::trimName(departmentName).empty()) return fail("请选择所属部门！（--department）");
    if (category != "0" && category != "1" && category != "2")
        return fail("用户类别只能是 0（普通用户）、1（超级用户）或 2（QP用户）");
    const std::optional<std::string> password = readNewPassword();
    if (!password) return 1;

    ca::db::TDM& dm = in.database();
    CliPrompts prompts;
    UserAdministration admin(dm, prompts);
    ca::db::Transaction all(dm);  // a refusal at any step leaves neither department nor user behind
    std::optional<Department> department = admin.store().departmentNamed(departmentName);
    if (!department) department = admin.store().addDepartment(departmentName);
    if (!department) return fail("最多只能建立100个部门");
    const std::optional<UserNode> user = admin.addUser(department->id);
    if (!user) return 1;
    UserForm form;
    form.id = std::to_string(user->id);
    form.name = name;
    form.departmentId = std::to_string(department->id);
    form.sex = "男";
    form.password = form.confirmation = *password;
    form.category = category;
    if (!admin.saveUser(form)) return 1;
    all.commit();
    std::cout << "已新增用户 " << user->id << "：" << ca::escapeControls(name) << "（"
              << ca::escapeControls(department->name) << "，" << categoryText(std::stoi(category)) << "）\n";
    return 0;
}

int setPassword(ca::cli::Invocation& in) {
    const std::string name = in.value("--name");
    if (name.empty()) return fail("请输入用户名称！（--name）");
    ca::db::TDM& dm = in.database();  // a database that is not there is said before the password is asked
    const std::optional<std::string> password = readNewPassword();
    if (!password) return 1;
    if (storePassword(dm, name, *password) == 0) return fail("用户不存在：" + name);
    std::cout << "恭喜，密码修改成功！\n";
    return 0;
}

int encrypt(ca::cli::Invocation& in) {
    if (auto why = gbkPasswordRefusal(in.argument(0))) return fail(*why);
    std::cout << EncryptToHex(in.argument(0), in.value("--key", PasswordKey)) << "\n";
    return 0;
}

int decrypt(ca::cli::Invocation& in) {
    const std::string& hex = in.argument(0);
    if (hex.empty() || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        return fail("'" + hex + "' 不是有效的密文（只能由十六进制数字组成）");
    // The plain text may hold anything, terminal control sequences too: shown escaped.
    std::cout << ca::escapeControls(DecryptFromHex(hex, in.value("--key", PasswordKey))) << "\n";
    return 0;
}

using ca::cli::DatabaseUse;
const ca::cli::Option kName{"--name", "姓名", true};
const ca::cli::Option kKey{"--key", "密钥"};

const ca::cli::Registrar listReg{
    {"user list", {}, {}, DatabaseUse::Existing, "列出用户（编码、姓名、部门、用户类别）", listUsers}};
const ca::cli::Registrar addReg{
    {"user add",
     {kName, {"--department", "部门", true}, {"--category", "0|1|2"}},
     {},
     DatabaseUse::MayCreate,
     "新增用户（部门不存在时新建；用户类别 0 普通用户，1 超级用户，2 QP用户；新的办公室没有数据库时新建）；"
     "密码从标准输入读取，在终端上输入时不显示",
     addUser}};
const ca::cli::Registrar passwdReg{
    {"user passwd", {kName}, {}, DatabaseUse::Changes, "修改用户的密码，读取方式同上", setPassword}};
const ca::cli::Registrar encryptReg{{"password encrypt",
                                     {kKey},
                                     {{"密码"}},
                                     DatabaseUse::None,
                                     "把密码转换为数据库中保存的密文（不给 --key 时用程序自己的密钥）",
                                     encrypt}};
const ca::cli::Registrar decryptReg{
    {"password decrypt", {kKey}, {{"密文"}}, DatabaseUse::None, "把密文还原为密码", decrypt}};

}  // namespace
